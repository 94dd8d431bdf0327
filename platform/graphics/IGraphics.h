// The render device the game's Direct3D-shaped code draws through.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class ITextFont;

enum class CoopLevel { Ok, DeviceLost, DeviceNotReset };

struct PresentParams {
    int backBufferWidth = 800;
    int backBufferHeight = 600;
    bool windowed = true;
    int fullScreenRefreshRate = 0;
    bool vsync = true;
    // The most frames a second the caller shows: a compositor that refreshes at least as often needs no wait.
    int framesPerSecond = 60;
};

// Moments of a present that swapped, on the clock service's performance counter.
struct SwapTimes {
    std::int64_t drawn = 0;     // the frame was complete (with WaitForDrawing; else its swap was asked for)
    std::int64_t returned = 0;  // the swap returned
};

// Viewport in back-buffer pixels, origin top-left.
struct Viewport {
    int x = 0, y = 0, width = 0, height = 0;
    float minZ = 0.0f, maxZ = 1.0f;
    bool operator==(const Viewport&) const = default;
};

// A pre-transformed vertex: back-buffer pixels from the top-left, z 0, rhw 1, ARGB diffuse, one uv pair.
struct QuadVertex {
    float x, y, z, rhw;
    std::uint32_t diffuse;
    float u, v;
};

enum class BlendFactor { Zero, One, SrcColor, InvSrcColor, SrcAlpha, InvSrcAlpha, DestAlpha, InvDestAlpha,
                         DestColor, InvDestColor };
enum class CompareFunc { Never, Less, Equal, LessEqual, Greater, NotEqual, GreaterEqual, Always };
// Which winding is culled, as on screen (y down): Ccw culls counter-clockwise triangles.
enum class CullMode { None, Cw, Ccw };
enum class TextureOp { Disable, SelectArg1, SelectArg2, Modulate };
enum class TextureArg { Diffuse, Current, Texture };
enum class TransformKind { World, View, Projection };

// Row-major 4 × 4 matrix with row vectors, as Direct3D multiplies them.
struct Matrix4 {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    bool operator==(const Matrix4&) const = default;
};

// Texture stage 0: how the texel and the diffuse colour combine.
struct TextureStage {
    TextureOp colorOp = TextureOp::Modulate;
    TextureArg colorArg1 = TextureArg::Texture;
    TextureArg colorArg2 = TextureArg::Current;
    TextureOp alphaOp = TextureOp::SelectArg1;
    TextureArg alphaArg1 = TextureArg::Texture;
    TextureArg alphaArg2 = TextureArg::Current;
    bool operator==(const TextureStage&) const = default;
};

// A fixed-function light; only directional lights are used by the game.
struct Light {
    bool enabled = false;
    float diffuse[4] = {1, 1, 1, 1};   // r, g, b, a
    float specular[4] = {0, 0, 0, 0};
    float ambient[4] = {0, 0, 0, 0};
    float direction[3] = {0, 0, 1};    // normalised
    float range = 0.0f;
    bool operator==(const Light&) const = default;
};

constexpr int kMaxLights = 8;

// The fixed-function state; the defaults are those a fresh Direct3D 9 device starts with.
struct RenderState {
    bool alphaBlendEnable = false;
    BlendFactor srcBlend = BlendFactor::One;
    BlendFactor destBlend = BlendFactor::Zero;
    bool alphaTestEnable = false;
    CompareFunc alphaFunc = CompareFunc::Always;
    std::uint32_t alphaRef = 0;  // 0 … 255
    CullMode cullMode = CullMode::Ccw;
    bool zEnable = true;
    bool zWriteEnable = true;
    CompareFunc zFunc = CompareFunc::LessEqual;
    bool ditherEnable = false;
    bool specularEnable = false;
    bool lighting = true;
    std::uint32_t ambient = 0;  // ARGB global ambient
    Light lights[kMaxLights];
    TextureStage stage0;
    Matrix4 world, view, projection;
    bool operator==(const RenderState&) const = default;
};

struct TextureInfo {
    std::uint32_t handle = 0;  // 0 = no texture
    int width = 0;             // the image's own pixel size
    int height = 0;
    std::uint32_t surfaceWidth = 0;  // power-of-two sizes the image would occupy
    std::uint32_t surfaceHeight = 0;
};

class IGraphics {
public:
    virtual ~IGraphics() = default;

    // Creates the device the first time, resets it afterwards.
    virtual bool Reset(const PresentParams& params) = 0;
    virtual bool HasDevice() const = 0;
    virtual void ReleaseDevice() = 0;
    virtual CoopLevel TestCooperativeLevel() = 0;
    // False when the back buffer cannot be had (the caller then records 0 × 0).
    virtual bool GetBackBufferSize(int& width, int& height) = 0;
    // Refresh rate of the current display mode in hertz; false when it cannot be read.
    virtual bool GetDisplayRefreshRate(int& hertz) = 0;

    virtual void SetViewport(const Viewport& viewport) = 0;
    virtual Viewport GetViewport() const = 0;
    // Clears colour and depth inside the current viewport.
    virtual void Clear(std::uint32_t argb, float depth) = 0;
    virtual bool BeginScene() = 0;
    virtual void EndScene() = 0;
    virtual bool Present() = 0;
    // Frames that reached the window (swapped); a repeated frame that was not drawn does not count.
    virtual std::uint64_t ShownFrameCount() const = 0;
    // Whether a swap may wait for the display's vertical blank: vertical sync asked for and granted.
    virtual bool SwapMayWait() const = 0;
    // On: a present waits until its frame is drawn before it swaps, so that its drawn moment is the frame's own.
    virtual void WaitForDrawing(bool on) = 0;
    // The moments of the last present; false when it swapped nothing.
    virtual bool LastSwap(SwapTimes& times) const = 0;

    // Fixed-function state. Setting a state equal to the current one costs nothing.
    virtual const RenderState& GetRenderState() const = 0;
    virtual void SetRenderState(const RenderState& state) = 0;
    virtual void SetTextureStage(const TextureStage& stage) = 0;

    // Textures. Pixels are RGBA bytes, rows top to bottom. Handle 0 means "no texture".
    // A file that cannot be read gives a zero TextureInfo.
    virtual TextureInfo CreateTextureFromFile(const std::string& gamePath) = 0;
    virtual std::uint32_t CreateTexture(int width, int height, const std::uint8_t* rgba) = 0;
    virtual void UpdateTexture(std::uint32_t handle, int x, int y, int width, int height,
                               const std::uint8_t* rgba) = 0;
    virtual void DestroyTexture(std::uint32_t handle) = 0;
    virtual void SetTexture(std::uint32_t handle) = 0;
    virtual std::uint32_t GetTexture() const = 0;

    // Two triangles (0, 1, 2) and (1, 3, 2), as a Direct3D triangle strip of the four vertices, with the
    // current texture and state. The device may batch; paint order and pixels stay those of one draw each.
    virtual void DrawQuad(const QuadVertex vertices[4]) = 0;
    // Draws whatever is batched; anyone else drawing on the same context calls it first.
    virtual void Flush() = 0;
    // Draw calls issued to the hardware since the device was created.
    virtual std::uint64_t DrawCallCount() const = 0;

    // A TrueType face by family name and pixel height; null when none can be had.
    virtual std::unique_ptr<ITextFont> CreateTextFont(const std::string& faceName, int height, bool italic) = 0;
    // A string is about to be drawn with a text font; the test back end records it.
    virtual void NoteText(const std::string& utf8, int x, int y, std::uint32_t argb)
    {
        (void)utf8, (void)x, (void)y, (void)argb;
    }

    // The back buffer as ARGB pixels, rows from the top; false when it cannot be read.
    virtual bool ReadBackBuffer(std::vector<std::uint32_t>& argb, int& width, int& height) = 0;
};
