#include "gfx/CAnimMesh.h"

#include <map>
#include <memory>
#include <vector>

#include "gfx/AnimFrame.h"
#include "gfx/AnimMeshContainer.h"
#include "gfx/CAllocateHierarchy.h"
#include "gfx/CAnimationController.h"
#include "gfx/CEffectFile.h"
#include "gfx/CMesh.h"
#include "gfx/CMeshBuffer.h"
#include "gfx/CSkinInfo.h"
#include "platform/Platform.h"
#include "platform/mesh/IMeshLoader.h"
#include "util/StringUtil.h"

IGraphics* CAnimMesh::sharedDevice = nullptr;
CAllocateHierarchy* CAnimMesh::sharedAllocator = nullptr;
CEffectFile* CAnimMesh::sharedEffect = nullptr;
std::string CAnimMesh::sharedTextureDirectory;

namespace {

const char* kLoadError = "アニメーション付きXファイルが読み込めません\nファイル名およびパスを確認してください";

// The meshes of one frame as containers: consecutive per-material pieces of one file mesh join again.
AnimMeshContainer* BuildContainers(CAllocateHierarchy* allocator, const LoadedScene& scene, const LoadedFrame& frame)
{
    AnimMeshContainer* first = nullptr;
    AnimMeshContainer** link = &first;
    std::size_t i = 0;
    while (i < frame.meshes.size()) {
        std::size_t end = i + 1;
        while (end < frame.meshes.size() && frame.meshes[end] < scene.meshes.size() &&
               frame.meshes[i] < scene.meshes.size() &&
               scene.meshes[frame.meshes[end]].name == scene.meshes[frame.meshes[i]].name)
            ++end;

        XMeshSource source;
        source.hasNormals = true;
        std::vector<XMaterial> materials;
        std::map<std::uint32_t, std::uint32_t> localMaterial;
        std::vector<CSkinInfo::Bone> bones;
        std::map<std::string, std::size_t> boneIndex;
        std::string name;
        for (std::size_t k = i; k < end; ++k) {
            if (frame.meshes[k] >= scene.meshes.size()) continue;
            const LoadedMesh& m = scene.meshes[frame.meshes[k]];
            name = m.name;
            const std::uint32_t base = static_cast<std::uint32_t>(source.vertices.size());
            if (!localMaterial.count(m.materialIndex)) {
                localMaterial[m.materialIndex] = static_cast<std::uint32_t>(materials.size());
                XMaterial xm;
                if (m.materialIndex < scene.materials.size()) {
                    const LoadedMaterial& lm = scene.materials[m.materialIndex];
                    xm.material.diffuse = lm.diffuse;
                    xm.material.specular = lm.specular;
                    xm.material.emissive = lm.emissive;
                    xm.material.power = lm.power;
                    xm.textureFilename = lm.textureFile;
                }
                materials.push_back(xm);
            }
            for (std::size_t v = 0; v < m.positions.size(); ++v) {
                MeshVertex out;
                out.position = m.positions[v];
                if (!m.normals.empty()) out.normal = m.normals[v];
                if (!m.uvs.empty()) {
                    out.u = m.uvs[2 * v];
                    out.v = m.uvs[2 * v + 1];
                }
                if (!m.colours.empty()) out.colour = m.colours[v];
                source.vertices.push_back(out);
            }
            source.hasNormals = source.hasNormals && !m.normals.empty();
            source.hasColours = source.hasColours || !m.colours.empty();
            for (std::uint32_t index : m.indices) source.indices.push_back(base + index);
            source.faceAttributes.insert(source.faceAttributes.end(), m.indices.size() / 3,
                                         localMaterial[m.materialIndex]);
            for (const LoadedBone& b : m.bones) {
                auto it = boneIndex.find(b.name);
                if (it == boneIndex.end()) {
                    it = boneIndex.emplace(b.name, bones.size()).first;
                    bones.push_back({b.name, b.offset, {}, {}});
                }
                CSkinInfo::Bone& bone = bones[it->second];
                for (std::size_t w = 0; w < b.vertices.size() && w < b.weights.size(); ++w) {
                    bone.vertices.push_back(base + b.vertices[w]);
                    bone.weights.push_back(b.weights[w]);
                }
            }
        }
        CSkinInfo* skin = bones.empty() ? nullptr : new CSkinInfo(std::move(bones));
        AnimMeshContainer* container = nullptr;
        allocator->CreateMeshContainer(name.empty() ? nullptr : name.c_str(), source, materials.data(),
                                       static_cast<std::uint32_t>(materials.size()), skin, &container);
        *link = container;
        if (container) link = &container->pNextMeshContainer;
        i = end;
    }
    return first;
}

AnimFrame* BuildFrame(CAllocateHierarchy* allocator, const LoadedScene& scene, const LoadedFrame& lf)
{
    AnimFrame* frame = nullptr;
    allocator->CreateFrame(lf.name.empty() ? nullptr : lf.name.c_str(), &frame);
    frame->TransformationMatrix = lf.transform;
    frame->pMeshContainer = BuildContainers(allocator, scene, lf);
    AnimFrame** link = &frame->pFrameFirstChild;
    for (const LoadedFrame& child : lf.children) {
        *link = BuildFrame(allocator, scene, child);
        link = &(*link)->pFrameSibling;
    }
    return frame;
}

void Link(AnimFrame* root, AnimFrame* frame)
{
    for (AnimFrame* f = frame; f; f = f->pFrameSibling) {
        f->meshContainer = f->pMeshContainer;
        f->sibling = f->pFrameSibling;
        f->child = f->pFrameFirstChild;
        AnimMeshContainer* c = f->meshContainer;
        if (c && c->skinInfo) {
            for (std::uint32_t b = 0; b < c->numBones; ++b)
                if (AnimFrame* bone = FrameFind(root, c->skinInfo->GetBoneName(b))) c->boneMatrices[b] = &bone->combined;
        }
        Link(root, f->pFrameFirstChild);
    }
}

}  // namespace

CAnimMesh::CAnimMesh(IGraphics* device_, const std::string& path) : device(device_)
{
    if (!sharedAllocator) sharedAllocator = new CAllocateHierarchy();
    if (!sharedEffect) sharedEffect = CEffectFile::CreateFromFile(GetModuleDirectory() + "..\\Effect\\AnimMesh.fx");
    Load(path);
}

CAnimMesh::~CAnimMesh()
{
    delete animController;
    delete frameRoot;
}

void CAnimMesh::Load(const std::string& path)
{
    sharedDevice = device;
    sharedTextureDirectory = GetDirectory(path);
    LoadedScene scene;
    if (!Sys().meshLoader || !Sys().meshLoader->LoadXFile(path, scene) || scene.frames.empty())
        ShowMeshLoadError(kLoadError);

    AnimFrame** link = &frameRoot;
    for (const LoadedFrame& top : scene.frames) {
        *link = BuildFrame(sharedAllocator, scene, top);
        link = &(*link)->pFrameSibling;
    }
    std::vector<std::unique_ptr<CAnimationSet>> sets;
    for (LoadedAnimation& a : scene.animations)
        sets.push_back(std::make_unique<CAnimationSet>(a.name, a.ticksPerSecond, std::move(a.channels)));
    animController = new CAnimationController(std::move(sets), frameRoot);
    Link(frameRoot, frameRoot);
}

double CAnimMesh::GetTime()
{
    return animController ? animController->GetTime() : 0.0;
}

void CAnimMesh::AdvanceTime(double seconds)
{
    if (animController) animController->AdvanceTime(seconds);
}

void CAnimMesh::SetAnimationSet(int track, int setIndex)
{
    if (!animController || setIndex < 0) return;
    animController->SetTrackAnimationSet(track, animController->GetAnimationSet(static_cast<std::size_t>(setIndex)));
}

void CAnimMesh::SetTrackEnable(int track, bool enable)
{
    if (animController) animController->SetTrackEnable(track, enable);
}

void CAnimMesh::ResetTime()
{
    if (animController) animController->ResetTime();
}

void CAnimMesh::SetTrackWeight(int track, float weight)
{
    if (animController) animController->SetTrackWeight(track, weight);
}

void CAnimMesh::SetTrackSpeed(int track, float speed)
{
    if (animController) animController->SetTrackSpeed(track, speed);
}

void CAnimMesh::SetTrackPosition(int track, double position)
{
    if (animController) animController->SetTrackPosition(track, position);
}

int CAnimMesh::GetMaxNumTracks()
{
    return animController ? animController->GetMaxNumTracks() : 0;
}

void CAnimMesh::UpdateFrames(AnimFrame* frame, const Matrix* parent)
{
    for (AnimFrame* f = frame; f; f = f->sibling) {
        f->combined = parent ? f->TransformationMatrix * *parent : f->TransformationMatrix;
        UpdateFrames(f->child, &f->combined);
    }
}

void CAnimMesh::DrawFrame(AnimFrame* frame)
{
    // Each entry of the frame's list draws the first container: only that one was linked.
    for (AnimMeshContainer* c = frame->meshContainer; c; c = c->pNextMeshContainer) DrawContainer(frame, frame->meshContainer);
    if (frame->sibling) DrawFrame(frame->sibling);
    if (frame->child) DrawFrame(frame->child);
}

void CAnimMesh::DrawContainer(AnimFrame* frame, AnimMeshContainer* c)
{
    IMeshRenderer* r = Sys().meshes;
    if (!r || !c->mesh) return;
    if (!c->skinInfo) {
        r->SetTransform(ts::WORLD, frame->combined);
        for (std::uint32_t i = 0; i < c->numMaterials; ++i) {
            r->SetMaterial(c->materials[i]);
            r->SetTexture(0, c->textures[i]);
            c->mesh->DrawSubset(i);
        }
        return;
    }
    if (c->skinMode == 2) r->SetSoftwareVertexProcessing(true);
    r->SetRenderState(rs::VERTEXBLEND, c->maxInfluences <= 1 ? rs::VBF_0WEIGHTS : c->maxInfluences - 1);
    if (c->maxInfluences != 0) r->SetRenderState(rs::INDEXEDVERTEXBLENDENABLE, 1);
    for (std::uint32_t g = 0; g < c->numGroups; ++g) {
        const BoneCombination& combo = c->boneCombinations[g];
        // A face needing more bones than the palette holds makes its group's palette longer; set it all.
        for (std::uint32_t i = 0; i < combo.BoneId.size(); ++i) {
            const std::uint32_t bone = combo.BoneId[i];
            if (bone == kUnusedBone || bone >= c->numBones) continue;
            // A bone whose frame was not found has no frame matrix to follow; it keeps its offset alone.
            const Matrix* frameMatrix = c->boneMatrices[bone];
            r->SetTransform(ts::WORLDMATRIX(static_cast<int>(i)),
                            frameMatrix ? c->boneOffsets[bone] * *frameMatrix : c->boneOffsets[bone]);
        }
        if (combo.AttribId < c->numMaterials) {
            r->SetMaterial(c->materials[combo.AttribId]);
            r->SetTexture(0, c->textures[combo.AttribId]);
        }
        c->mesh->DrawSubset(g);
    }
    r->SetRenderState(rs::INDEXEDVERTEXBLENDENABLE, 0);
    r->SetRenderState(rs::VERTEXBLEND, rs::VBF_DISABLE);
    if (c->skinMode == 2) r->SetSoftwareVertexProcessing(false);
}

void CAnimMesh::Render(const Matrix* parent)
{
    sharedDevice = device;
    if (!frameRoot) return;
    UpdateFrames(frameRoot, parent);
    DrawFrame(frameRoot);
}

void CAnimMesh::DrawAnim()
{
    const Matrix identity;
    Render(&identity);
}

void CAnimMesh::DrawAnimAt(float posX, float posY, float posZ, float scaleX, float scaleY, float scaleZ, float rotX,
                           float rotY, float rotZ, int order)
{
    const Matrix world = CMesh::WorldMatrix(posX, posY, posZ, scaleX, scaleY, scaleZ, rotX, rotY, rotZ, order);
    if (IMeshRenderer* r = Sys().meshes) r->SetTransform(ts::WORLD, world);
    Render(&world);
}

void CAnimMesh::DrawAnimColour(float posX, float posY, float posZ, float scaleX, float scaleY, float scaleZ,
                               float rotX, float rotY, float rotZ, int order, float red, float green, float blue,
                               float alpha, bool additive)
{
    colourScale[0] = red;
    colourScale[1] = green;
    colourScale[2] = blue;
    colourScale[3] = alpha;
    CMesh::SetBlendStates(Sys().meshes, additive);
    DrawAnimAt(posX, posY, posZ, scaleX, scaleY, scaleZ, rotX, rotY, rotZ, order);
}
