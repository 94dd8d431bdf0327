#include "gfx/CSkinInfo.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <set>

std::vector<std::vector<std::pair<std::uint32_t, float>>> CSkinInfo::Influences(std::uint32_t numVertices) const
{
    std::vector<std::vector<std::pair<std::uint32_t, float>>> out(numVertices);
    for (std::uint32_t b = 0; b < bones_.size(); ++b) {
        const Bone& bone = bones_[b];
        for (std::size_t k = 0; k < bone.vertices.size() && k < bone.weights.size(); ++k)
            if (bone.vertices[k] < numVertices && bone.weights[k] > 0.0f)
                out[bone.vertices[k]].emplace_back(b, bone.weights[k]);
    }
    for (auto& list : out) {
        std::stable_sort(list.begin(), list.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
        if (list.size() > 4) list.resize(4);  // indexed blending reaches four matrices a vertex
    }
    return out;
}

std::uint32_t CSkinInfo::GetMaxFaceInfluences(const std::vector<std::uint32_t>& indices,
                                              std::uint32_t numVertices) const
{
    const auto influences = Influences(numVertices);
    std::size_t most = 0;
    for (std::size_t f = 0; f + 2 < indices.size(); f += 3) {
        std::set<std::uint32_t> bones;
        for (int c = 0; c < 3; ++c)
            if (indices[f + c] < numVertices)
                for (const auto& [bone, w] : influences[indices[f + c]]) bones.insert(bone);
        most = std::max(most, bones.size());
    }
    return static_cast<std::uint32_t>(most);
}

void CSkinInfo::ConvertToIndexedBlendedMesh(const MeshData& source, const std::vector<std::uint32_t>& faceAttributes,
                                            std::uint32_t paletteSize, std::uint32_t& maxVertexInfluences,
                                            std::uint32_t& numGroups, std::vector<BoneCombination>& combinations,
                                            MeshData& result) const
{
    const std::uint32_t numVertices = static_cast<std::uint32_t>(source.vertices.size());
    const auto influences = Influences(numVertices);
    const std::size_t faces = source.indices.size() / 3;
    auto attrib = [&](std::size_t f) { return f < faceAttributes.size() ? faceAttributes[f] : 0u; };
    std::vector<std::uint32_t> order(faces);
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return attrib(a) < attrib(b); });

    result = MeshData();
    result.hasColours = source.hasColours;
    combinations.clear();
    maxVertexInfluences = 1;
    for (const auto& list : influences)
        maxVertexInfluences = std::max(maxVertexInfluences, static_cast<std::uint32_t>(list.size()));

    std::size_t next = 0;
    while (next < faces) {
        // Grow one group while its faces share an attribute and their bones fit in the palette.
        const std::uint32_t attribId = attrib(order[next]);
        std::vector<std::uint32_t> palette;
        std::map<std::uint32_t, std::uint32_t> slotOf;
        std::map<std::uint32_t, std::uint32_t> vertexOf;
        BoneCombination combo;
        combo.AttribId = attribId;
        combo.FaceStart = static_cast<std::uint32_t>(result.indices.size() / 3);
        combo.VertexStart = static_cast<std::uint32_t>(result.vertices.size());
        const std::uint32_t groupId = static_cast<std::uint32_t>(combinations.size());
        while (next < faces && attrib(order[next]) == attribId) {
            const std::uint32_t f = order[next];
            std::set<std::uint32_t> needed;
            for (int c = 0; c < 3; ++c)
                for (const auto& [bone, w] : influences[source.indices[3 * f + c]])
                    if (!slotOf.count(bone)) needed.insert(bone);
            if (combo.FaceCount > 0 && palette.size() + needed.size() > paletteSize) break;
            for (std::uint32_t bone : needed) {
                slotOf[bone] = static_cast<std::uint32_t>(palette.size());
                palette.push_back(bone);
            }
            for (int c = 0; c < 3; ++c) {
                const std::uint32_t original = source.indices[3 * f + c];
                auto it = vertexOf.find(original);
                if (it == vertexOf.end()) {
                    MeshVertex v = source.vertices[original];
                    const auto& list = influences[original];
                    for (int k = 0; k < 4; ++k) {
                        v.weights[k] = k < static_cast<int>(list.size()) ? list[k].second : 0.0f;
                        // Unused slots repeat the first bone so a leftover weight stays on the vertex's bone.
                        const std::uint32_t bone = k < static_cast<int>(list.size()) ? list[k].first
                                                   : list.empty()                    ? kUnusedBone
                                                                                     : list[0].first;
                        v.indices[k] = bone == kUnusedBone ? 0 : static_cast<std::uint8_t>(slotOf[bone]);
                    }
                    it = vertexOf.emplace(original, static_cast<std::uint32_t>(result.vertices.size())).first;
                    result.vertices.push_back(v);
                }
                result.indices.push_back(it->second);
            }
            ++combo.FaceCount;
            ++next;
        }
        combo.VertexCount = static_cast<std::uint32_t>(result.vertices.size()) - combo.VertexStart;
        combo.BoneId.assign(std::max<std::size_t>(paletteSize, palette.size()), kUnusedBone);
        for (std::size_t i = 0; i < palette.size(); ++i) combo.BoneId[i] = palette[i];
        result.subsets.push_back({groupId, combo.FaceStart, combo.FaceCount});
        combinations.push_back(std::move(combo));
    }
    numGroups = static_cast<std::uint32_t>(combinations.size());
}
