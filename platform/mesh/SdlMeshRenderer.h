// Mesh side of the OpenGL device: Direct3D's fixed-function vertex lighting in a shader of its own.
#pragma once
#include <map>
#include <vector>

#include "platform/mesh/MeshRendererBase.h"

namespace sdl {

class MeshRenderer : public MeshRendererBase {
public:
    explicit MeshRenderer(IGraphics* graphics) : MeshRendererBase(graphics) {}
    std::uint32_t CreateMesh(const MeshData& data) override;
    void ReleaseMesh(std::uint32_t mesh) override;
    int GetMaxVertexBlendMatrixIndex() const override { return 0; }
    void DrawSubset(std::uint32_t mesh, std::uint32_t attribId) override;

private:
    struct GpuVertex {
        float position[3];
        float normal[3];
        float uv[2];
        std::uint32_t colour;
    };
    struct Mesh {
        MeshData data;
        unsigned vao = 0, vbo = 0, ibo = 0;
    };

    bool EnsureProgram();
    bool Upload(Mesh& mesh);
    void Fill(const MeshData& data, const std::vector<Vec3>* positions, const std::vector<Vec3>* normals);
    void ApplyState(const MeshRenderState& state);
    void ReleaseGl(Mesh& mesh);

    std::map<std::uint32_t, Mesh> meshes_;
    std::uint32_t next_ = 1;
    unsigned program_ = 0;
    bool programFailed_ = false;
    std::vector<GpuVertex> scratch_;
    std::vector<Vec3> positions_, normals_;
};

}  // namespace sdl
