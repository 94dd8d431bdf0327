// Static meshes on the recording back end: world matrices, loading, materials, blending.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "gfx/CMesh.h"
#include "gfx/CMeshBuffer.h"
#include "platform/HeadlessPlatform.h"
#include "platform/WinTypes.h"

namespace {

// Paths in the game's backslash form, as the loader builds them.
std::string GamePath(std::string path)
{
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

const std::string kMeshDir = GamePath(std::string(ZENTHAR_TEST_DATA) + "/mesh/");
const float kPi = 3.14159265358979f;

// Row-vector matrices written out by hand, independent of the game's helpers.
using M4 = std::array<std::array<double, 4>, 4>;

M4 Mul(const M4& a, const M4& b)
{
    M4 r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            for (int k = 0; k < 4; ++k) r[i][j] += a[i][k] * b[k][j];
    return r;
}

M4 Rot(char axis, double a)
{
    const double c = std::cos(a), s = std::sin(a);
    if (axis == 'x') return M4{{{1, 0, 0, 0}, {0, c, s, 0}, {0, -s, c, 0}, {0, 0, 0, 1}}};
    if (axis == 'y') return M4{{{c, 0, -s, 0}, {0, 1, 0, 0}, {s, 0, c, 0}, {0, 0, 0, 1}}};
    return M4{{{c, s, 0, 0}, {-s, c, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};
}

void ExpectMatrixNear(const Matrix& got, const M4& want)
{
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(got.m[i][j], want[i][j], 1e-5) << "row " << i << " col " << j;
}

Vec3 Apply(const Matrix& m, Vec3 v)
{
    return TransformCoord(v, m);
}

TEST(MeshWorldTest, EveryOrderIsScaleThenItsRotationsThenTranslation)
{
    const char* orders[16] = {"",   "x",  "y",  "z",   "xy",  "xz",  "yx",  "yz",
                              "zx", "zy", "xyz", "xzy", "yxz", "yzx", "zxy", "zyx"};
    const double rx = 0.3, ry = -1.1, rz = 2.2;
    const M4 scale{{{2, 0, 0, 0}, {0, 3, 0, 0}, {0, 0, 0.5, 0}, {0, 0, 0, 1}}};
    const M4 move{{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {4, -5, 6, 1}}};
    for (int order = 0; order <= 16; ++order) {
        SCOPED_TRACE(order);
        M4 want = scale;
        if (order >= 1 && order <= 15)
            for (const char* a = orders[order]; *a; ++a)
                want = Mul(want, Rot(*a, *a == 'x' ? rx : *a == 'y' ? ry : rz));
        want = Mul(want, move);
        ExpectMatrixNear(CMesh::WorldMatrix(4, -5, 6, 2, 3, 0.5f, rx, ry, rz, order), want);
    }
    // Orders outside the table rotate nothing.
    EXPECT_EQ(CMesh::WorldMatrix(4, -5, 6, 2, 3, 0.5f, rx, ry, rz, 0),
              CMesh::WorldMatrix(4, -5, 6, 2, 3, 0.5f, 0, 0, 0, 1));
    EXPECT_EQ(CMesh::WorldMatrix(4, -5, 6, 2, 3, 0.5f, rx, ry, rz, 16),
              CMesh::WorldMatrix(4, -5, 6, 2, 3, 0.5f, rx, ry, rz, -3));
}

TEST(MeshWorldTest, XThenYDiffersFromYThenXAtRightAngles)
{
    const Matrix xy = CMesh::WorldMatrix(0, 0, 0, 1, 1, 1, kPi / 2, kPi / 2, 0, 4);
    const Matrix yx = CMesh::WorldMatrix(0, 0, 0, 1, 1, 1, kPi / 2, kPi / 2, 0, 6);
    // (0, 1, 0): x turns it to +z, then y turns +z to +x; the other way round y leaves it and x gives +z.
    const Vec3 a = Apply(xy, {0, 1, 0}), b = Apply(yx, {0, 1, 0});
    EXPECT_NEAR(a.x, 1, 1e-6);
    EXPECT_NEAR(a.z, 0, 1e-6);
    EXPECT_NEAR(b.x, 0, 1e-6);
    EXPECT_NEAR(b.z, 1, 1e-6);
}

class MeshTest : public ::testing::Test {
protected:
    void SetUp() override { h = &headless::Install(); }
    headless::HeadlessPlatform* h = nullptr;
};

TEST_F(MeshTest, LoadsOneSubsetPerMaterialWithAmbientFromDiffuseAndTexturesFoundAsWindowsWould)
{
    CMesh mesh(&h->graphics, kMeshDir + "cube.x", true);
    ASSERT_EQ(mesh.numMaterials, 3u);
    ASSERT_NE(mesh.mesh, nullptr);
    for (const MeshMaterial& m : mesh.materials) {
        EXPECT_EQ(m.ambient.r, m.diffuse.r);
        EXPECT_EQ(m.ambient.g, m.diffuse.g);
        EXPECT_EQ(m.ambient.b, m.diffuse.b);
        EXPECT_EQ(m.ambient.a, m.diffuse.a);
    }
    EXPECT_FLOAT_EQ(mesh.materials[1].diffuse.b, 1.0f);
    EXPECT_FLOAT_EQ(mesh.materials[1].diffuse.a, 0.75f);
    EXPECT_FLOAT_EQ(mesh.materials[1].specular.r, 0.2f);
    EXPECT_FLOAT_EQ(mesh.materials[1].emissive.r, 0.1f);
    EXPECT_FLOAT_EQ(mesh.materials[1].power, 4.0f);

    // "tex\CUBE.PNG" is Tex/cube.png on disk; "nowhere.png" does not exist; the empty name is not looked up.
    EXPECT_NE(mesh.textures[0], 0u);
    EXPECT_EQ(mesh.textures[1], 0u);
    EXPECT_EQ(mesh.textures[2], 0u);
    ASSERT_EQ(h->meshes.textureRequests.size(), 2u);
    EXPECT_EQ(h->meshes.textureRequests[0], kMeshDir + "tex\\CUBE.PNG");
    int w = 0, ht = 0;
    EXPECT_TRUE(h->graphics.TextureSize(mesh.textures[0], w, ht));
    EXPECT_EQ(w, 16);

    // Four quads, one quad and one quad per subset, as triangles.
    const MeshData& data = mesh.mesh->Data();
    ASSERT_EQ(data.subsets.size(), 3u);
    EXPECT_EQ(data.subsets[0].faceCount, 8u);
    EXPECT_EQ(data.subsets[1].faceCount, 2u);
    EXPECT_EQ(data.subsets[2].faceCount, 2u);
}

TEST_F(MeshTest, PositionsAndWindingStayAsWrittenInTheFile)
{
    CMesh mesh(&h->graphics, kMeshDir + "cube.x", true);
    mesh.DrawMesh(0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 1.0f, false);
    ASSERT_EQ(h->meshes.draws.size(), 3u);
    const auto& top = h->meshes.draws[0];
    ASSERT_EQ(top.positions.size(), 24u);
    // The first quad of the file, the top, split into (0, 1, 2) and (0, 2, 3).
    const Vec3 quad[4] = {{-0.25f, 0.25f, 0.25f}, {0.25f, 0.25f, 0.25f}, {0.25f, 0.25f, -0.25f}, {-0.25f, 0.25f, -0.25f}};
    const int corners[6] = {0, 1, 2, 0, 2, 3};
    for (int i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(top.positions[i].x, quad[corners[i]].x) << i;
        EXPECT_FLOAT_EQ(top.positions[i].y, quad[corners[i]].y) << i;
        EXPECT_FLOAT_EQ(top.positions[i].z, quad[corners[i]].z) << i;
    }
    // Every triangle winds clockwise seen from outside: the left-handed cross product points along the
    // outward normal the file gives.
    for (const auto& draw : h->meshes.draws) {
        for (std::size_t t = 0; t + 2 < draw.positions.size(); t += 3) {
            const Vec3 &a = draw.positions[t], &b = draw.positions[t + 1], &c = draw.positions[t + 2];
            const Vec3 e1{b.x - a.x, b.y - a.y, b.z - a.z}, e2{c.x - a.x, c.y - a.y, c.z - a.z};
            const Vec3 n{e1.y * e2.z - e1.z * e2.y, e1.z * e2.x - e1.x * e2.z, e1.x * e2.y - e1.y * e2.x};
            const Vec3& fileNormal = draw.normals[t];
            EXPECT_GT(n.x * fileNormal.x + n.y * fileNormal.y + n.z * fileNormal.z, 0.0f) << "triangle " << t / 3;
        }
    }
}

TEST_F(MeshTest, DrawTintsEveryMaterialAndSetsTheBlendAndWorld)
{
    CMesh mesh(&h->graphics, kMeshDir + "cube.x", true);
    mesh.DrawMesh(1, 2, 3, 1, 1, 1, 0.5f, 0, 0, 1, 0.5f, true);
    ASSERT_EQ(h->meshes.draws.size(), 3u);
    for (const auto& d : h->meshes.draws) {
        EXPECT_EQ(d.state.states[rs::ALPHABLENDENABLE], 1u);
        EXPECT_EQ(d.state.states[rs::SRCBLEND], rs::BLEND_SRCALPHA);
        EXPECT_EQ(d.state.states[rs::DESTBLEND], rs::BLEND_ONE);
        EXPECT_EQ(d.state.palette[0], CMesh::WorldMatrix(1, 2, 3, 1, 1, 1, 0.5f, 0, 0, 1));
    }
    EXPECT_FLOAT_EQ(h->meshes.draws[0].state.material.diffuse.a, 0.5f);
    EXPECT_FLOAT_EQ(h->meshes.draws[1].state.material.diffuse.a, 0.375f);
    EXPECT_FLOAT_EQ(h->meshes.draws[1].state.material.emissive.r, 0.1f);
    EXPECT_NE(h->meshes.draws[0].state.texture, 0u);
    EXPECT_EQ(h->meshes.draws[1].state.texture, 0u);
    EXPECT_EQ(h->meshes.draws[2].state.texture, 0u);
    // The states stay set after the draw, where quads see them too.
    EXPECT_EQ(h->graphics.GetRenderState().destBlend, BlendFactor::One);

    h->meshes.draws.clear();
    mesh.DrawMeshColour(0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0.5f, 0.25f, 2.0f, 1.0f, false);
    ASSERT_EQ(h->meshes.draws.size(), 3u);
    const MeshMaterial& m = h->meshes.draws[2].state.material;  // diffuse (0.25, 1, 0.25, 1)
    EXPECT_FLOAT_EQ(m.diffuse.r, 0.125f);
    EXPECT_FLOAT_EQ(m.diffuse.g, 0.25f);
    EXPECT_FLOAT_EQ(m.ambient.b, 0.5f);
    EXPECT_EQ(h->meshes.draws[2].state.states[rs::DESTBLEND], rs::BLEND_INVSRCALPHA);
}

TEST_F(MeshTest, AFailedQuietLoadIsAnEmptyMeshThatOnlySetsStates)
{
    CMesh missing(&h->graphics, kMeshDir + "none.x", false);
    CMesh broken(&h->graphics, kMeshDir + "broken.x", false);
    EXPECT_TRUE(h->messageBoxes.shown.empty());
    EXPECT_EQ(missing.numMaterials, 0u);
    EXPECT_EQ(broken.mesh, nullptr);
    missing.DrawMesh(1, 0, 0, 1, 1, 1, 0, 0, 0, 0, 1.0f, true);
    EXPECT_TRUE(h->meshes.draws.empty());
    EXPECT_EQ(h->graphics.GetRenderState().destBlend, BlendFactor::One);
    EXPECT_EQ(h->graphics.GetRenderState().world.m[3][0], 1.0f);
}

TEST_F(MeshTest, TheShippedSampleLoadsWithItsTexture)
{
    CMesh sample(&h->graphics, GamePath(std::string(ZENTHAR_SOURCE_DIR) + "/data/Model/sample.x"), true);
    ASSERT_EQ(sample.numMaterials, 1u);
    EXPECT_NE(sample.textures[0], 0u);
    EXPECT_GT(sample.mesh->GetNumFaces(), 0u);
}

TEST(MeshDeathTest, AFailedLoadWithShowErrorShowsTheBoxAndEndsWithCodeOne)
{
    EXPECT_EXIT(
        {
            headless::HeadlessPlatform& h = headless::Install();
            h.messageBoxes.echo = true;
            CMesh mesh(&h.graphics, kMeshDir + "broken.x", true);
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(1),
        "box owned=0 style=0 caption=\\[\\] text=\\[Xファイルが読み込めません\nファイル名およびパスを確認してください。\\]");
}

}  // namespace
