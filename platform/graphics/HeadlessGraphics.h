// Display-free render device: keeps the render state and records every quad and string drawn.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/clock/HeadlessClock.h"
#include "platform/graphics/IGraphics.h"
#include "platform/text/ITextFont.h"

namespace headless {

struct DeviceEvents {
    int resets = 0;
    int clears = 0;
    int scenes = 0;
    int presents = 0;
};

struct DrawnQuad {
    std::uint32_t texture;  // 0 = none
    int textureWidth;       // size of that texture, 0 × 0 for none
    int textureHeight;
    QuadVertex v[4];
    std::uint32_t colour;   // diffuse of the first vertex
    Viewport viewport;
    bool alphaBlend;
    CullMode cullMode;
};

struct DrawnText {
    std::string text;
    int x, y;
    std::uint32_t colour;
    Viewport viewport;
    size_t firstQuad;  // index in quads of the string's first glyph
};

// Block glyphs: characters below U+0080 are height/2 wide, others height wide; space is blank.
class TextFont : public ITextFont {
public:
    explicit TextFont(int height) : height_(height) {}
    int LineHeight() const override { return height_; }
    bool RenderGlyph(std::uint32_t codepoint, GlyphImage& out) override;

private:
    int height_;
};

class Graphics : public IGraphics {
public:
    bool Reset(const PresentParams& params) override;
    bool HasDevice() const override { return created; }
    void ReleaseDevice() override { created = false; }
    CoopLevel TestCooperativeLevel() override { return created ? coopLevel : CoopLevel::DeviceLost; }
    bool GetBackBufferSize(int& w, int& h) override;
    bool GetDisplayRefreshRate(int& hz) override;
    void SetViewport(const Viewport& v) override { viewport = v; }
    Viewport GetViewport() const override { return viewport; }
    void Clear(std::uint32_t argb, float depth) override;
    bool BeginScene() override;
    void EndScene() override { inScene = false; }
    bool Present() override;
    std::uint64_t ShownFrameCount() const override { return shownFrames; }
    bool SwapMayWait() const override { return vsyncClock && refreshRate > 0; }
    void WaitForDrawing(bool on) override { waitsForDrawing = on; }
    bool LastSwap(SwapTimes& times) const override;

    const RenderState& GetRenderState() const override { return state; }
    void SetRenderState(const RenderState& s) override { state = s; }
    void SetTextureStage(const TextureStage& stage) override { state.stage0 = stage; }

    TextureInfo CreateTextureFromFile(const std::string& gamePath) override;
    std::uint32_t CreateTexture(int width, int height, const std::uint8_t* rgba) override;
    void UpdateTexture(std::uint32_t handle, int x, int y, int width, int height,
                       const std::uint8_t* rgba) override;
    void DestroyTexture(std::uint32_t handle) override;
    void SetTexture(std::uint32_t handle) override { texture = handle; }
    std::uint32_t GetTexture() const override { return texture; }

    void DrawQuad(const QuadVertex vertices[4]) override;
    void Flush() override {}
    std::uint64_t DrawCallCount() const override { return drawCalls; }

    std::unique_ptr<ITextFont> CreateTextFont(const std::string& faceName, int height, bool italic) override;
    void NoteText(const std::string& utf8, int x, int y, std::uint32_t argb) override;
    bool ReadBackBuffer(std::vector<std::uint32_t>&, int&, int&) override { return false; }

    // Size of a live texture; false for 0 and for destroyed handles.
    bool TextureSize(std::uint32_t handle, int& w, int& h) const;
    // Forgets what was drawn; BeginScene does this too, so after a frame the records hold that frame.
    void ClearRecords();

    bool failCreate = false;
    bool failReset = false;
    bool failPresent = false;
    bool failFont = false;
    bool created = false;
    CoopLevel coopLevel = CoopLevel::Ok;
    int refreshRate = 0;  // what the display reports; 0 = unknown
    // A simulated display: with a clock given and a rate known, a present waits for the next vertical
    // blank (the clock moves to it), which falls blankPhase seconds after each whole 1/rate, and returns
    // swapCopy seconds after it; with queueSwaps it returns at once all the same, as a driver that queues
    // swaps does; with repeatFrames it succeeds without a swap, as for a picture already on show.
    Clock* vsyncClock = nullptr;
    double blankPhase = 0.0;
    double swapCopy = 0.0;
    bool queueSwaps = false;
    bool repeatFrames = false;
    bool waitsForDrawing = false;
    bool swappedLast = false;
    SwapTimes lastSwap;  // on vsyncClock
    std::uint64_t shownFrames = 0;
    PresentParams params;
    Viewport viewport;
    RenderState state;
    std::uint32_t texture = 0;
    bool inScene = false;
    std::uint32_t lastClearColour = 0;
    DeviceEvents events;
    std::uint64_t drawCalls = 0;
    std::vector<DrawnQuad> quads;
    std::vector<DrawnText> texts;
    std::string lastFontFace;

private:
    struct Texture {
        int width = 0, height = 0;
        bool alive = false;
    };
    std::vector<Texture> textures_;  // handle - 1
};

}  // namespace headless
