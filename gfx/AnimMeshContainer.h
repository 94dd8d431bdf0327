// One mesh of a frame: its mesh, materials, textures and, when skinned, bones and blending groups.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "gfx/CSkinInfo.h"
#include "platform/mesh/IMeshRenderer.h"

class CMeshBuffer;

struct AnimMeshContainer {
    AnimMeshContainer() = default;
    ~AnimMeshContainer();
    AnimMeshContainer(const AnimMeshContainer&) = delete;
    AnimMeshContainer& operator=(const AnimMeshContainer&) = delete;

    // The loader's part: only Name and the link to the next container of the same frame are used.
    std::string Name;
    AnimMeshContainer* pNextMeshContainer = nullptr;

    IMeshRenderer* renderer = nullptr;  // owner of the textures
    CMeshBuffer* mesh = nullptr;
    std::uint32_t numMaterials = 0;
    std::vector<MeshMaterial> materials;
    std::vector<std::uint32_t> textures;
    CSkinInfo* skinInfo = nullptr;
    std::uint32_t numBones = 0;
    std::vector<Matrix> boneOffsets;
    std::vector<const Matrix*> boneMatrices;
    std::uint32_t paletteEntries = 0;
    std::uint32_t maxInfluences = 0;
    std::uint32_t numGroups = 0;
    std::vector<BoneCombination> boneCombinations;
    std::int32_t skinMode = 2;
};
