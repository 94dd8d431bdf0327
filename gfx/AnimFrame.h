// One frame of an animated mesh's hierarchy: its matrix, its first mesh container and its links.
#pragma once
#include <string>

#include "platform/mesh/MeshMath.h"

struct AnimMeshContainer;

struct AnimFrame {
    AnimFrame() = default;
    // Takes its containers, sibling and child trees with it.
    ~AnimFrame();
    AnimFrame(const AnimFrame&) = delete;
    AnimFrame& operator=(const AnimFrame&) = delete;

    // As the loader builds it.
    std::string Name;
    Matrix TransformationMatrix;
    AnimMeshContainer* pMeshContainer = nullptr;
    AnimFrame* pFrameSibling = nullptr;
    AnimFrame* pFrameFirstChild = nullptr;

    // Copies of the links taken after loading, and the matrix combined with every parent.
    AnimMeshContainer* meshContainer = nullptr;
    AnimFrame* sibling = nullptr;
    AnimFrame* child = nullptr;
    alignas(16) Matrix combined;
};

// The frame of that name in the tree (siblings of the root included), or null.
AnimFrame* FrameFind(AnimFrame* root, const std::string& name);
