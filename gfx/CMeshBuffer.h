// A mesh's vertices, faces and attribute table, kept in the renderer's buffers and drawn by subset.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/mesh/IMeshRenderer.h"

class CMeshBuffer {
public:
    // Faces are sorted by attribute (stable) so each attribute is one subset.
    CMeshBuffer(IMeshRenderer* renderer, std::vector<MeshVertex> vertices, const std::vector<std::uint32_t>& indices,
                const std::vector<std::uint32_t>& faceAttributes, bool hasColours);
    // Data already laid out in subsets.
    CMeshBuffer(IMeshRenderer* renderer, MeshData data);
    ~CMeshBuffer();
    CMeshBuffer(const CMeshBuffer&) = delete;
    CMeshBuffer& operator=(const CMeshBuffer&) = delete;

    void DrawSubset(std::uint32_t attribId) const;
    std::uint32_t GetNumFaces() const { return static_cast<std::uint32_t>(data_.indices.size() / 3); }
    const MeshData& Data() const { return data_; }
    std::uint32_t Handle() const { return handle_; }

private:
    IMeshRenderer* renderer_;
    MeshData data_;
    std::uint32_t handle_ = 0;
};
