#include "gfx/CMeshBuffer.h"

#include <algorithm>
#include <numeric>

CMeshBuffer::CMeshBuffer(IMeshRenderer* renderer, std::vector<MeshVertex> vertices,
                         const std::vector<std::uint32_t>& indices, const std::vector<std::uint32_t>& faceAttributes,
                         bool hasColours)
    : renderer_(renderer)
{
    data_.vertices = std::move(vertices);
    data_.hasColours = hasColours;
    const std::size_t faces = indices.size() / 3;
    std::vector<std::uint32_t> order(faces);
    std::iota(order.begin(), order.end(), 0u);
    auto attrib = [&](std::uint32_t f) { return f < faceAttributes.size() ? faceAttributes[f] : 0u; };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return attrib(a) < attrib(b); });
    data_.indices.reserve(faces * 3);
    for (std::size_t i = 0; i < faces; ++i) {
        const std::uint32_t f = order[i];
        data_.indices.insert(data_.indices.end(), indices.begin() + 3 * f, indices.begin() + 3 * f + 3);
        if (data_.subsets.empty() || data_.subsets.back().attribId != attrib(f))
            data_.subsets.push_back({attrib(f), static_cast<std::uint32_t>(i), 0});
        ++data_.subsets.back().faceCount;
    }
    if (renderer_) handle_ = renderer_->CreateMesh(data_);
}

CMeshBuffer::CMeshBuffer(IMeshRenderer* renderer, MeshData data) : renderer_(renderer), data_(std::move(data))
{
    if (renderer_) handle_ = renderer_->CreateMesh(data_);
}

CMeshBuffer::~CMeshBuffer()
{
    if (renderer_ && handle_) renderer_->ReleaseMesh(handle_);
}

void CMeshBuffer::DrawSubset(std::uint32_t attribId) const
{
    if (renderer_ && handle_) renderer_->DrawSubset(handle_, attribId);
}
