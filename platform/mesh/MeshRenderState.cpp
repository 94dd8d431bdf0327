#include "platform/mesh/IMeshRenderer.h"

MeshRenderState::MeshRenderState()
{
    states[rs::ZENABLE] = 1;
    states[rs::ZWRITEENABLE] = 1;
    states[rs::SRCBLEND] = rs::BLEND_ONE;
    states[rs::DESTBLEND] = rs::BLEND_ZERO;
    states[rs::CULLMODE] = rs::CULL_CCW;
    states[rs::ZFUNC] = rs::CMP_LESSEQUAL;
    states[rs::ALPHAFUNC] = 8;  // always
    states[rs::LIGHTING] = 1;
    states[rs::COLORVERTEX] = 1;
}

void MeshRenderState::SetTransform(int slot, const Matrix& m)
{
    if (slot == ts::VIEW) {
        view = m;
    } else if (slot == ts::PROJECTION) {
        projection = m;
    } else if (slot >= ts::WORLD && slot < ts::WORLD + ts::PALETTE_SIZE) {
        palette[slot - ts::WORLD] = m;
    }
}

bool IndexedBlendingActive(const MeshRenderState& state)
{
    return state.states[rs::INDEXEDVERTEXBLENDENABLE] != 0 && state.states[rs::VERTEXBLEND] != rs::VBF_DISABLE;
}

void TransformMeshVertices(const MeshData& data, const MeshRenderState& state, std::vector<Vec3>& positions,
                           std::vector<Vec3>& normals)
{
    positions.resize(data.vertices.size());
    normals.resize(data.vertices.size());
    if (!IndexedBlendingActive(state)) {
        const Matrix& world = state.palette[0];
        const Matrix normalMatrix = NormalMatrix(world);
        for (std::size_t i = 0; i < data.vertices.size(); ++i) {
            positions[i] = TransformCoord(data.vertices[i].position, world);
            normals[i] = TransformNormal(data.vertices[i].normal, normalMatrix);
        }
        return;
    }
    const std::uint32_t blend = state.states[rs::VERTEXBLEND];
    const int count = blend == rs::VBF_0WEIGHTS ? 1 : static_cast<int>(blend > 3 ? 4 : blend + 1);
    Matrix normalMatrices[ts::PALETTE_SIZE];
    bool haveNormalMatrix[ts::PALETTE_SIZE] = {};
    for (std::size_t i = 0; i < data.vertices.size(); ++i) {
        const MeshVertex& v = data.vertices[i];
        Vec3 p, n;
        float rest = 1.0f;
        for (int k = 0; k < count; ++k) {
            const float w = k + 1 < count ? v.weights[k] : rest;
            rest -= w;
            if (w == 0.0f) continue;
            const Matrix& m = state.palette[v.indices[k]];
            const Vec3 tp = TransformCoord(v.position, m);
            if (!haveNormalMatrix[v.indices[k]]) {
                normalMatrices[v.indices[k]] = NormalMatrix(m);
                haveNormalMatrix[v.indices[k]] = true;
            }
            const Vec3 tn = TransformNormal(v.normal, normalMatrices[v.indices[k]]);
            p.x += w * tp.x;
            p.y += w * tp.y;
            p.z += w * tp.z;
            n.x += w * tn.x;
            n.y += w * tn.y;
            n.z += w * tn.z;
        }
        positions[i] = p;
        normals[i] = n;
    }
}
