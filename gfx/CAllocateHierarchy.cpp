#include "gfx/CAllocateHierarchy.h"

#include <algorithm>
#include <cmath>

#include "gfx/AnimFrame.h"
#include "gfx/AnimMeshContainer.h"
#include "gfx/CAnimMesh.h"
#include "gfx/CMeshBuffer.h"
#include "gfx/CSkinInfo.h"
#include "platform/Platform.h"

void ComputeNormals(std::vector<MeshVertex>& vertices, const std::vector<std::uint32_t>& indices)
{
    for (MeshVertex& v : vertices) v.normal = Vec3();
    for (std::size_t f = 0; f + 2 < indices.size(); f += 3) {
        const std::uint32_t i0 = indices[f], i1 = indices[f + 1], i2 = indices[f + 2];
        if (i0 >= vertices.size() || i1 >= vertices.size() || i2 >= vertices.size()) continue;
        const Vec3 &a = vertices[i0].position, &b = vertices[i1].position, &c = vertices[i2].position;
        const Vec3 e1{b.x - a.x, b.y - a.y, b.z - a.z}, e2{c.x - a.x, c.y - a.y, c.z - a.z};
        // Clockwise faces of a left-handed system face the side this cross product points to.
        Vec3 n{e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
        const float len = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        if (len == 0.0f) continue;
        for (std::uint32_t i : {i0, i1, i2}) {
            vertices[i].normal.x += n.x / len;
            vertices[i].normal.y += n.y / len;
            vertices[i].normal.z += n.z / len;
        }
    }
    for (MeshVertex& v : vertices) {
        Vec3& n = v.normal;
        const float len = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        if (len > 0.0f) n = {n.x / len, n.y / len, n.z / len};
    }
}

int CAllocateHierarchy::CreateFrame(const char* name, AnimFrame** newFrame)
{
    AnimFrame* frame = new AnimFrame();
    frame->Name = name ? name : "";
    *newFrame = frame;
    return 0;
}

int CAllocateHierarchy::CreateMeshContainer(const char* name, const XMeshSource& meshData, const XMaterial* materials,
                                            std::uint32_t numMaterials, CSkinInfo* skinInfo,
                                            AnimMeshContainer** newContainer)
{
    IMeshRenderer* renderer = Sys().meshes;
    AnimMeshContainer* c = new AnimMeshContainer();
    c->Name = name ? name : "";
    c->renderer = renderer;
    c->numMaterials = numMaterials;
    c->skinInfo = skinInfo;
    c->skinMode = 2;

    std::vector<MeshVertex> vertices = meshData.vertices;
    if (!meshData.hasNormals) ComputeNormals(vertices, meshData.indices);

    c->materials.resize(numMaterials);
    c->textures.assign(numMaterials, 0);
    for (std::uint32_t i = 0; i < numMaterials; ++i) {
        c->materials[i] = materials[i].material;
        c->materials[i].ambient = c->materials[i].diffuse;
        if (!materials[i].textureFilename.empty() && renderer)
            c->textures[i] = renderer->CreateTextureFromFile(CAnimMesh::sharedTextureDirectory +
                                                             materials[i].textureFilename);
    }

    if (!skinInfo) {
        c->mesh = new CMeshBuffer(renderer, std::move(vertices), meshData.indices, meshData.faceAttributes,
                                  meshData.hasColours);
        *newContainer = c;
        return 0;
    }

    c->numBones = skinInfo->GetNumBones();
    c->boneMatrices.assign(c->numBones, nullptr);
    c->boneOffsets.resize(c->numBones);
    for (std::uint32_t b = 0; b < c->numBones; ++b) c->boneOffsets[b] = skinInfo->GetBoneOffsetMatrix(b);
    c->maxInfluences = std::min<std::uint32_t>(
        skinInfo->GetMaxFaceInfluences(meshData.indices, static_cast<std::uint32_t>(vertices.size())), 12);

    const int maxIndex = renderer ? renderer->GetMaxVertexBlendMatrixIndex() : 0;
    std::uint32_t palette = std::min<std::uint32_t>((static_cast<std::uint32_t>(maxIndex) + 1) / 2, c->numBones);
    // A palette that holds no matrix cannot draw anything: blend in software then.
    if (static_cast<std::uint32_t>(maxIndex) + 1 < c->maxInfluences || palette == 0) {
        c->paletteEntries = std::min<std::uint32_t>(c->numBones, 256);
        c->skinMode = 2;
    } else {
        c->paletteEntries = palette;
        c->skinMode = 1;
    }
    MeshData source;
    source.vertices = std::move(vertices);
    source.indices = meshData.indices;
    source.hasColours = meshData.hasColours;
    MeshData blended;
    skinInfo->ConvertToIndexedBlendedMesh(source, meshData.faceAttributes, std::max<std::uint32_t>(c->paletteEntries, 1),
                                          c->maxInfluences, c->numGroups, c->boneCombinations, blended);
    c->mesh = new CMeshBuffer(renderer, std::move(blended));
    *newContainer = c;
    return 0;
}

int CAllocateHierarchy::DestroyFrame(AnimFrame* frame)
{
    delete frame;
    return 0;
}

int CAllocateHierarchy::DestroyMeshContainer(AnimMeshContainer* container)
{
    delete container;
    return 0;
}
