// One static model from an X file with its materials and textures, drawn with a built world transform.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/mesh/IMeshRenderer.h"

class CMeshBuffer;
class IGraphics;

class CMesh {
public:
    CMesh(IGraphics* device, const std::string& path, bool showError);
    ~CMesh();
    CMesh(const CMesh&) = delete;
    CMesh& operator=(const CMesh&) = delete;

    void DrawMesh(float posX, float posY, float posZ, float scaleX, float scaleY, float scaleZ, float rotX,
                  float rotY, float rotZ, int order, float alpha, bool additive);
    void DrawMeshColour(float posX, float posY, float posZ, float scaleX, float scaleY, float scaleZ, float rotX,
                        float rotY, float rotZ, int order, float red, float green, float blue, float alpha,
                        bool additive);
    void SetBlend(bool additive);
    void SetWorld(float posX, float posY, float posZ, float scaleX, float scaleY, float scaleZ, float rotX,
                  float rotY, float rotZ, int order);
    void DrawSubsets();

    // Scale, then the rotations of the order (1 … 15; others rotate nothing), then translation.
    static Matrix WorldMatrix(float posX, float posY, float posZ, float scaleX, float scaleY, float scaleZ,
                              float rotX, float rotY, float rotZ, int order);
    // The blend states every mesh draw sets: source alpha over inverse source alpha, or additive.
    static void SetBlendStates(IMeshRenderer* renderer, bool additive);

    IGraphics* device;
    CMeshBuffer* mesh = nullptr;
    std::uint32_t numMaterials = 0;
    std::vector<MeshMaterial> materials;
    std::vector<std::uint32_t> textures;  // renderer texture handles, 0 where none
    float colourScale[4] = {1, 1, 1, 1};
    float colourOffset[4] = {0, 0, 0, 0};

private:
    IMeshRenderer* renderer_;
};

// The fatal box for a mesh file that cannot be read.
[[noreturn]] void ShowMeshLoadError(const std::string& text);
