// X files through Assimp, turned back into Direct3D's conventions.
#pragma once
#include "platform/mesh/IMeshLoader.h"

class AssimpMeshLoader : public IMeshLoader {
public:
    bool LoadXFile(const std::string& gamePath, LoadedScene& scene) override;
};

// Per Animation block of a text X file, in file order: true when its keys are matrices.
// Empty for binary or compressed files.
std::vector<bool> ScanMatrixKeyedAnimations(const std::string& text);
