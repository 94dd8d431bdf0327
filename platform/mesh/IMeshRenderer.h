// The fixed-function mesh side of the render device: buffers, transforms, materials, light, blending.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/mesh/MeshMath.h"

struct ColourValue {
    float r = 0, g = 0, b = 0, a = 0;
};

struct MeshMaterial {
    ColourValue diffuse, ambient, specular, emissive;
    float power = 0;
};

struct MeshLight {
    ColourValue diffuse, specular, ambient;
    Vec3 direction{0, 0, 1};
    float range = 0;
};

// One vertex; blend weights and palette indices are read only by indexed blending.
struct MeshVertex {
    Vec3 position;
    Vec3 normal;
    float u = 0, v = 0;
    std::uint32_t colour = 0xFFFFFFFF;  // ARGB, used as the diffuse colour when the mesh has colours
    float weights[4] = {0, 0, 0, 0};
    std::uint8_t indices[4] = {0, 0, 0, 0};
};

// Triangles 3 × faceStart … of one attribute, drawn together by DrawSubset (attribId).
struct MeshSubset {
    std::uint32_t attribId = 0;
    std::uint32_t faceStart = 0;
    std::uint32_t faceCount = 0;
};

struct MeshData {
    std::vector<MeshVertex> vertices;
    std::vector<std::uint32_t> indices;  // three per face
    std::vector<MeshSubset> subsets;
    bool hasColours = false;
};

// Render-state numbers as Direct3D 9 numbers them.
namespace rs {
constexpr int ZENABLE = 7;
constexpr int ZWRITEENABLE = 14;
constexpr int ALPHATESTENABLE = 15;
constexpr int SRCBLEND = 19;
constexpr int DESTBLEND = 20;
constexpr int CULLMODE = 22;
constexpr int ZFUNC = 23;
constexpr int ALPHAREF = 24;
constexpr int ALPHAFUNC = 25;
constexpr int ALPHABLENDENABLE = 27;
constexpr int SPECULARENABLE = 29;
constexpr int LIGHTING = 137;
constexpr int AMBIENT = 139;
constexpr int COLORVERTEX = 141;
constexpr int NORMALIZENORMALS = 143;
constexpr int VERTEXBLEND = 151;
constexpr int INDEXEDVERTEXBLENDENABLE = 167;
constexpr int COUNT = 256;

constexpr std::uint32_t BLEND_ZERO = 1;
constexpr std::uint32_t BLEND_ONE = 2;
constexpr std::uint32_t BLEND_SRCALPHA = 5;
constexpr std::uint32_t BLEND_INVSRCALPHA = 6;
constexpr std::uint32_t CULL_NONE = 1;
constexpr std::uint32_t CULL_CW = 2;
constexpr std::uint32_t CULL_CCW = 3;
constexpr std::uint32_t CMP_LESSEQUAL = 4;
constexpr std::uint32_t CMP_GREATEREQUAL = 7;
constexpr std::uint32_t VBF_DISABLE = 0;
constexpr std::uint32_t VBF_0WEIGHTS = 256;
}  // namespace rs

// Transform slots: world matrix i of the blending palette is WORLDMATRIX(i); slot 0 is the world.
namespace ts {
constexpr int VIEW = 2;
constexpr int PROJECTION = 3;
constexpr int WORLD = 256;
constexpr int WORLDMATRIX(int i) { return 256 + i; }
constexpr int PALETTE_SIZE = 256;
}  // namespace ts

// Direct3D 9's defaults for every state the mesh side reads.
struct MeshRenderState {
    MeshRenderState();
    std::uint32_t states[rs::COUNT] = {};
    Matrix palette[ts::PALETTE_SIZE];
    Matrix view, projection;
    MeshMaterial material;
    MeshLight lights[8];
    bool lightEnabled[8] = {};
    std::uint32_t texture = 0;
    bool softwareVertexProcessing = false;

    void SetTransform(int slot, const Matrix& m);
};

class IMeshRenderer {
public:
    virtual ~IMeshRenderer() = default;

    // Copies the data into buffers of the back end; 0 when it cannot.
    virtual std::uint32_t CreateMesh(const MeshData& data) = 0;
    virtual void ReleaseMesh(std::uint32_t mesh) = 0;
    // A picture file (game path, matched as Windows would) as a texture; 0 when it cannot be read.
    virtual std::uint32_t CreateTextureFromFile(const std::string& gamePath) = 0;
    virtual void ReleaseTexture(std::uint32_t texture) = 0;

    virtual void SetRenderState(int state, std::uint32_t value) = 0;
    virtual std::uint32_t GetRenderState(int state) const = 0;
    virtual void SetTransform(int slot, const Matrix& m) = 0;
    virtual void SetMaterial(const MeshMaterial& material) = 0;
    // Stage 0 only; 0 unbinds.
    virtual void SetTexture(int stage, std::uint32_t texture) = 0;
    virtual void SetLight(int index, const MeshLight& light) = 0;
    virtual void LightEnable(int index, bool enable) = 0;
    virtual void SetSoftwareVertexProcessing(bool enable) = 0;
    // Largest palette index indexed blending can reach in hardware; 0 when there is no palette.
    virtual int GetMaxVertexBlendMatrixIndex() const = 0;

    // Draws the triangles of the attribute with the current state.
    virtual void DrawSubset(std::uint32_t mesh, std::uint32_t attribId) = 0;
};

// Where each vertex of the data ends up under the state: world transform, or indexed blending over the
// palette when the state enables it (weights as VERTEXBLEND says, the last one 1 − the others).
void TransformMeshVertices(const MeshData& data, const MeshRenderState& state, std::vector<Vec3>& positions,
                           std::vector<Vec3>& normals);
bool IndexedBlendingActive(const MeshRenderState& state);
