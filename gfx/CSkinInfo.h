// Bones of a skinned mesh: names, offset matrices and vertex weights; converts meshes for indexed blending.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/mesh/IMeshRenderer.h"

// One group of faces drawn with one palette: BoneId[i] is the bone in palette slot i (0xFFFFFFFF unused).
struct BoneCombination {
    std::uint32_t AttribId = 0;
    std::uint32_t FaceStart = 0;
    std::uint32_t FaceCount = 0;
    std::uint32_t VertexStart = 0;
    std::uint32_t VertexCount = 0;
    std::vector<std::uint32_t> BoneId;
};

constexpr std::uint32_t kUnusedBone = 0xFFFFFFFF;

class CSkinInfo {
public:
    struct Bone {
        std::string name;
        Matrix offset;
        std::vector<std::uint32_t> vertices;
        std::vector<float> weights;
    };

    explicit CSkinInfo(std::vector<Bone> bones) : bones_(std::move(bones)) {}

    std::uint32_t GetNumBones() const { return static_cast<std::uint32_t>(bones_.size()); }
    const std::string& GetBoneName(std::uint32_t bone) const { return bones_[bone].name; }
    const Matrix& GetBoneOffsetMatrix(std::uint32_t bone) const { return bones_[bone].offset; }
    // Most bones that influence the vertices of any one face.
    std::uint32_t GetMaxFaceInfluences(const std::vector<std::uint32_t>& indices, std::uint32_t numVertices) const;

    // Splits the faces into groups of at most paletteSize bones, one attribute each; each group's vertices
    // carry palette indices and weights (heaviest first). The result's subsets are the group numbers.
    void ConvertToIndexedBlendedMesh(const MeshData& source, const std::vector<std::uint32_t>& faceAttributes,
                                     std::uint32_t paletteSize, std::uint32_t& maxVertexInfluences,
                                     std::uint32_t& numGroups, std::vector<BoneCombination>& combinations,
                                     MeshData& result) const;

private:
    // Per vertex, its (bone, weight) pairs, heaviest first, at most four.
    std::vector<std::vector<std::pair<std::uint32_t, float>>> Influences(std::uint32_t numVertices) const;

    std::vector<Bone> bones_;
};
