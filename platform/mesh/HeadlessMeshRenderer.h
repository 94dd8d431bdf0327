// Mesh side of the headless device: records every subset drawn with the state in force.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/mesh/MeshRendererBase.h"

namespace headless {

struct RecordedMeshDraw {
    std::uint32_t mesh = 0;
    std::uint32_t attribId = 0;
    std::uint32_t faces = 0;
    MeshRenderState state;        // everything in force at the draw
    std::vector<Vec3> positions;  // world-space positions of the subset's triangle corners, in index order
    std::vector<Vec3> normals;
};

class MeshRenderer : public MeshRendererBase {
public:
    explicit MeshRenderer(IGraphics* graphics) : MeshRendererBase(graphics) {}
    std::uint32_t CreateMesh(const MeshData& data) override;
    void ReleaseMesh(std::uint32_t mesh) override;
    std::uint32_t CreateTextureFromFile(const std::string& gamePath) override;
    void SetRenderState(int state, std::uint32_t value) override;
    void SetSoftwareVertexProcessing(bool enable) override;
    int GetMaxVertexBlendMatrixIndex() const override { return maxVertexBlendMatrixIndex; }
    void DrawSubset(std::uint32_t mesh, std::uint32_t attribId) override;

    std::vector<std::string> textureRequests;  // every path asked for, found or not
    std::map<std::uint32_t, MeshData> meshes;
    std::vector<RecordedMeshDraw> draws;
    std::vector<bool> softwareVertexProcessingCalls;
    std::vector<std::pair<int, std::uint32_t>> stateCalls;
    int maxVertexBlendMatrixIndex = 0;

private:
    std::uint32_t next_ = 1;
};

}  // namespace headless
