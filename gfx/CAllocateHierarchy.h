// Builds the frame and mesh-container records of an animated mesh while its hierarchy loads.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/mesh/IMeshRenderer.h"

struct AnimFrame;
struct AnimMeshContainer;
class CSkinInfo;

// A mesh as the file gives it: one attribute (material number) a face.
struct XMeshSource {
    std::vector<MeshVertex> vertices;
    std::vector<std::uint32_t> indices;
    std::vector<std::uint32_t> faceAttributes;
    bool hasNormals = false;
    bool hasColours = false;
};

struct XMaterial {
    MeshMaterial material;
    std::string textureFilename;
};

class CAllocateHierarchy {
public:
    virtual ~CAllocateHierarchy() = default;
    virtual int CreateFrame(const char* name, AnimFrame** newFrame);
    // Takes ownership of skinInfo (null for a rigid mesh).
    virtual int CreateMeshContainer(const char* name, const XMeshSource& meshData, const XMaterial* materials,
                                    std::uint32_t numMaterials, CSkinInfo* skinInfo,
                                    AnimMeshContainer** newContainer);
    virtual int DestroyFrame(AnimFrame* frame);
    virtual int DestroyMeshContainer(AnimMeshContainer* container);
};

// Smooth vertex normals: the normalised sum of the unit normals of the faces that use each vertex.
void ComputeNormals(std::vector<MeshVertex>& vertices, const std::vector<std::uint32_t>& indices);
