// Animated meshes on the recording back end: key frames, skinning, tracks, sharing and failure.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <tuple>

#include "gfx/AnimFrame.h"
#include "gfx/AnimMeshContainer.h"
#include "gfx/CAnimMesh.h"
#include "gfx/CEffectFile.h"
#include "gfx/CMeshBuffer.h"
#include "platform/HeadlessPlatform.h"
#include "platform/WinTypes.h"

namespace {

std::string GamePath(std::string path)
{
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

const std::string kMeshDir = GamePath(std::string(ZENTHAR_TEST_DATA) + "/mesh/");
const float r2 = 0.70710678f;

using Key = std::tuple<float, float, float>;
Key K(const Vec3& v)
{
    return {v.x, v.y, v.z};
}

class AnimMeshTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        h = &headless::Install();
        h->files.moduleFileName = GamePath(std::string(ZENTHAR_STAGE_DIR) + "/bin/zenthar");
    }

    AnimMeshContainer* Container(CAnimMesh& mesh, const char* frame)
    {
        AnimFrame* f = FrameFind(mesh.frameRoot, frame);
        return f ? f->meshContainer : nullptr;
    }

    // Where each vertex of the container's mesh, named by its bind-pose position, was last drawn.
    std::map<Key, Vec3> Drawn(AnimMeshContainer* c)
    {
        std::map<Key, Vec3> out;
        const MeshData& data = c->mesh->Data();
        for (const auto& d : h->meshes.draws) {
            if (d.mesh != c->mesh->Handle()) continue;
            const MeshSubset& s = data.subsets[d.attribId];
            for (std::size_t i = 0; i < d.positions.size(); ++i)
                out[K(data.vertices[data.indices[3 * s.faceStart + i]].position)] = d.positions[i];
        }
        return out;
    }

    void ExpectAt(const std::map<Key, Vec3>& drawn, Vec3 bind, Vec3 want)
    {
        const auto it = drawn.find(K(bind));
        ASSERT_NE(it, drawn.end()) << "vertex (" << bind.x << ", " << bind.y << ", " << bind.z << ") not drawn";
        EXPECT_NEAR(it->second.x, want.x, 1e-4) << "bind (" << bind.x << ", " << bind.y << ", " << bind.z << ")";
        EXPECT_NEAR(it->second.y, want.y, 1e-4) << "bind (" << bind.x << ", " << bind.y << ", " << bind.z << ")";
        EXPECT_NEAR(it->second.z, want.z, 1e-4) << "bind (" << bind.x << ", " << bind.y << ", " << bind.z << ")";
    }

    std::map<Key, Vec3> DrawBodyAt(CAnimMesh& mesh, double seconds)
    {
        mesh.SetTrackPosition(0, seconds);
        mesh.AdvanceTime(0);
        h->meshes.draws.clear();
        mesh.DrawAnim();
        return Drawn(Container(mesh, "Body"));
    }

    headless::HeadlessPlatform* h = nullptr;
};

// Expected poses are worked by hand with D3DX's rules: a frame is S × R(q) × T with R(q) the row-vector
// matrix of the file's quaternion (w, x, y, z), children times parents, skinned vertices v × offset × frame,
// the last weight one minus the others. Bone1 turns 90° about z by 1 s; Bone2's matrix key turns it 90° about
// x one unit above Bone1; from 1 s to 2 s Bone1 grows to scale 2 and moves to x = 3.
TEST_F(AnimMeshTest, SkinnedVerticesFollowTheKeysAtAndBetweenThem)
{
    CAnimMesh mesh(&h->graphics, kMeshDir + "skinned.x");
    AnimMeshContainer* body = Container(mesh, "Body");
    ASSERT_NE(body, nullptr);
    ASSERT_NE(body->skinInfo, nullptr);
    EXPECT_EQ(body->numBones, 2u);

    // At the key: the quaternion key turns +x to +y, so Assimp's conjugated key has been undone.
    auto at1 = DrawBodyAt(mesh, 1.0);
    ExpectAt(at1, {1, 0, 0}, {0, 1, 0});
    ExpectAt(at1, {0, 0, 0}, {0, 0, 0});
    ExpectAt(at1, {1, 1, 0}, {-1, 1, 0});
    ExpectAt(at1, {0, 2, 0}, {-1.5f, 0, 0.5f});

    // Halfway to the key: spherical interpolation gives 45° on both bones, for quaternion and matrix keys.
    auto at05 = DrawBodyAt(mesh, 0.5);
    ExpectAt(at05, {1, 0, 0}, {r2, r2, 0});
    ExpectAt(at05, {1, 1, 0}, {0, 2 * r2, 0});
    ExpectAt(at05, {0, 2, 0}, {-1.3106602f, 1.3106602f, 0.3535534f});

    // Between the last keys: scale 1.5 and x 1.5, scale applied before the turn and the move.
    auto at15 = DrawBodyAt(mesh, 1.5);
    ExpectAt(at15, {1, 0, 0}, {1.5f, 1.5f, 0});
    ExpectAt(at15, {0, 0, 0}, {1.5f, 0, 0});
    ExpectAt(at15, {1, 1, 0}, {0, 1.5f, 0});

    // The animation loops over its two seconds.
    auto looped = DrawBodyAt(mesh, 2.5);
    ExpectAt(looped, {1, 0, 0}, {r2, r2, 0});
}

TEST_F(AnimMeshTest, RigidMeshesDrawWithTheirFrameAndTheWorldIsTheParentOfEverything)
{
    CAnimMesh mesh(&h->graphics, kMeshDir + "skinned.x");
    mesh.SetTrackPosition(0, 1.0);
    mesh.AdvanceTime(0);
    mesh.DrawAnimAt(10, 0, 0, 1, 1, 1, 0, 0, 0, 0);
    AnimMeshContainer* hat = Container(mesh, "Bone2");
    ASSERT_NE(hat, nullptr);
    EXPECT_EQ(hat->skinInfo, nullptr);
    auto drawn = Drawn(hat);
    ExpectAt(drawn, {0.5f, 0, 0}, {9, 0.5f, 0});
    // The hat's normal (0, 0, -1) turns with the frame; it is used as loaded, not recomputed.
    for (const auto& d : h->meshes.draws)
        if (d.mesh == hat->mesh->Handle()) {
            EXPECT_NEAR(d.normals[0].x, -1, 1e-5);
            EXPECT_NEAR(d.normals[0].z, 0, 1e-5);
        }
    ExpectAt(Drawn(Container(mesh, "Body")), {1, 0, 0}, {10, 1, 0});
    // Its material names a missing texture: drawn untextured, with Ambient taken from Diffuse.
    EXPECT_EQ(hat->textures[0], 0u);
    EXPECT_FLOAT_EQ(hat->materials[0].ambient.r, 1.0f);
}

TEST_F(AnimMeshTest, TracksBlendByWeightAndMoveWithTheirSpeed)
{
    CAnimMesh mesh(&h->graphics, kMeshDir + "skinned.x");
    EXPECT_EQ(mesh.GetMaxNumTracks(), 2);
    mesh.AdvanceTime(0.25);
    mesh.AdvanceTime(0.25);
    EXPECT_DOUBLE_EQ(mesh.GetTime(), 0.5);
    mesh.ResetTime();
    EXPECT_DOUBLE_EQ(mesh.GetTime(), 0.0);

    // Double speed: a quarter second of time is half a second of animation.
    mesh.SetTrackPosition(0, 0);
    mesh.SetTrackSpeed(0, 2.0f);
    mesh.AdvanceTime(0.25);
    h->meshes.draws.clear();
    mesh.DrawAnim();
    ExpectAt(Drawn(Container(mesh, "Body")), {1, 0, 0}, {r2, r2, 0});

    // Walk at its key on track 0, Idle (no turn) on track 1, equal weights: half the turn.
    mesh.SetTrackSpeed(0, 1.0f);
    mesh.SetAnimationSet(1, 1);
    mesh.SetTrackEnable(1, true);
    mesh.SetTrackWeight(1, 1.0f);
    auto blended = DrawBodyAt(mesh, 1.0);
    ExpectAt(blended, {1, 0, 0}, {r2, r2, 0});

    // A disabled track no longer moves or poses anything.
    mesh.SetTrackEnable(1, false);
    mesh.SetTrackEnable(0, false);
    mesh.AdvanceTime(0.3);
    h->meshes.draws.clear();
    mesh.DrawAnim();
    ExpectAt(Drawn(Container(mesh, "Body")), {1, 0, 0}, {r2, r2, 0});
}

TEST_F(AnimMeshTest, MissingNormalsAreComputedFromTheFaces)
{
    CAnimMesh mesh(&h->graphics, kMeshDir + "nonormals.x");
    AnimMeshContainer* fold = Container(mesh, "Fold");
    ASSERT_NE(fold, nullptr);
    std::map<Key, Vec3> normals;
    for (const MeshVertex& v : fold->mesh->Data().vertices) normals[K(v.position)] = v.normal;
    // Face (0,1,0)-(1,0,0) faces -z, face (1,0,0)-(0,0,1) faces -y; the shared edge takes both.
    const std::pair<Vec3, Vec3> want[] = {{{0, 1, 0}, {0, 0, -1}},
                                          {{0, 0, 1}, {0, -1, 0}},
                                          {{0, 0, 0}, {0, -r2, -r2}},
                                          {{1, 0, 0}, {0, -r2, -r2}}};
    for (const auto& [position, normal] : want) {
        ASSERT_TRUE(normals.count(K(position)));
        const Vec3& n = normals[K(position)];
        EXPECT_NEAR(n.x, normal.x, 1e-5);
        EXPECT_NEAR(n.y, normal.y, 1e-5);
        EXPECT_NEAR(n.z, normal.z, 1e-5);
    }
}

TEST_F(AnimMeshTest, SkinningRunsInSoftwareUnlessTheDeviceHasAPalette)
{
    CAnimMesh soft(&h->graphics, kMeshDir + "skinned.x");
    AnimMeshContainer* body = Container(soft, "Body");
    EXPECT_EQ(body->skinMode, 2);
    EXPECT_EQ(body->paletteEntries, 2u);
    EXPECT_EQ(body->maxInfluences, 2u);
    soft.DrawAnim();
    EXPECT_EQ(h->meshes.softwareVertexProcessingCalls, (std::vector<bool>{true, false}));
    bool sawBlend = false;
    for (const auto& d : h->meshes.draws)
        if (d.mesh == body->mesh->Handle()) {
            EXPECT_EQ(d.state.states[rs::VERTEXBLEND], 1u);
            EXPECT_EQ(d.state.states[rs::INDEXEDVERTEXBLENDENABLE], 1u);
            sawBlend = true;
        }
    EXPECT_TRUE(sawBlend);
    EXPECT_EQ(h->meshes.GetRenderState(rs::VERTEXBLEND), rs::VBF_DISABLE);
    EXPECT_EQ(h->meshes.GetRenderState(rs::INDEXEDVERTEXBLENDENABLE), 0u);

    // A device that reports a 256-matrix palette gets hardware-style groups of min(128, bones).
    h->meshes.maxVertexBlendMatrixIndex = 255;
    CAnimMesh hard(&h->graphics, kMeshDir + "skinned.x");
    EXPECT_EQ(Container(hard, "Body")->skinMode, 1);
    EXPECT_EQ(Container(hard, "Body")->paletteEntries, 2u);
}

TEST_F(AnimMeshTest, MeshesShareOneAllocatorAndReadTheEffectOnce)
{
    const bool hadEffect = CAnimMesh::sharedEffect != nullptr;
    const int readsBefore = CEffectFile::filesRead;
    CAnimMesh first(&h->graphics, kMeshDir + "skinned.x");
    CAllocateHierarchy* allocator = CAnimMesh::sharedAllocator;
    CAnimMesh second(&h->graphics, kMeshDir + "nonormals.x");
    ASSERT_NE(allocator, nullptr);
    EXPECT_EQ(CAnimMesh::sharedAllocator, allocator);
    ASSERT_NE(CAnimMesh::sharedEffect, nullptr);
    EXPECT_EQ(CEffectFile::filesRead, readsBefore + (hadEffect ? 0 : 1));
    EXPECT_NE(CAnimMesh::sharedEffect->Source().find("technique"), std::string::npos);
    // The texture directory follows the last load.
    EXPECT_EQ(CAnimMesh::sharedTextureDirectory, kMeshDir);
}

TEST(AnimMeshDeathTest, AFailedLoadShowsTheBoxAndEndsWithCodeOne)
{
    EXPECT_EXIT(
        {
            headless::HeadlessPlatform& h = headless::Install();
            h.messageBoxes.echo = true;
            CAnimMesh mesh(&h.graphics, kMeshDir + "none.x");
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(1),
        "box owned=0 style=0 caption=\\[\\] "
        "text=\\[アニメーション付きXファイルが読み込めません\nファイル名およびパスを確認してください\\]");
}

}  // namespace
