#include "platform/mesh/HeadlessMeshRenderer.h"

namespace headless {

std::uint32_t MeshRenderer::CreateMesh(const MeshData& data)
{
    const std::uint32_t id = next_++;
    meshes[id] = data;
    return id;
}

void MeshRenderer::ReleaseMesh(std::uint32_t mesh)
{
    meshes.erase(mesh);
}

std::uint32_t MeshRenderer::CreateTextureFromFile(const std::string& gamePath)
{
    textureRequests.push_back(gamePath);
    return MeshRendererBase::CreateTextureFromFile(gamePath);
}

void MeshRenderer::SetRenderState(int state, std::uint32_t value)
{
    stateCalls.emplace_back(state, value);
    MeshRendererBase::SetRenderState(state, value);
}

void MeshRenderer::SetSoftwareVertexProcessing(bool enable)
{
    softwareVertexProcessingCalls.push_back(enable);
    MeshRendererBase::SetSoftwareVertexProcessing(enable);
}

void MeshRenderer::DrawSubset(std::uint32_t mesh, std::uint32_t attribId)
{
    const auto it = meshes.find(mesh);
    if (it == meshes.end()) return;
    const MeshData& data = it->second;
    const MeshRenderState& state = Snapshot();
    std::vector<Vec3> positions, normals;
    TransformMeshVertices(data, state, positions, normals);
    for (const MeshSubset& subset : data.subsets) {
        if (subset.attribId != attribId || subset.faceCount == 0) continue;
        RecordedMeshDraw draw;
        draw.mesh = mesh;
        draw.attribId = attribId;
        draw.faces = subset.faceCount;
        draw.state = state;
        for (std::uint32_t i = 3 * subset.faceStart; i < 3 * (subset.faceStart + subset.faceCount); ++i) {
            draw.positions.push_back(positions[data.indices[i]]);
            draw.normals.push_back(normals[data.indices[i]]);
        }
        draws.push_back(std::move(draw));
    }
}

}  // namespace headless
