// Meshes on real OpenGL: the fixed light, the texture, half-alpha and additive blending, read back.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "gfx/CAnimMesh.h"
#include "gfx/CMesh.h"
#include "platform/GlFixture.h"
#include "platform/mesh/IMeshRenderer.h"

namespace {

std::string GamePath(std::string path)
{
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

const std::string kMeshDir = GamePath(std::string(ZENTHAR_TEST_DATA) + "/mesh/");
const float kTiltX = -0.6f, kTurnY = 0.6f;

class MeshPixelTest : public gltest::GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (IsSkipped()) return;
        GameState();
        // What the game adds for meshes: the grey ambient and the white light from almost straight above.
        RenderState s = g->GetRenderState();
        s.lighting = true;
        s.ambient = 0x006F6F6F;
        Light& l = s.lights[0];
        l = Light();
        const float len = std::sqrt(1.0f + 40000.0f + 1.0f);
        l.direction[0] = -1 / len;
        l.direction[1] = -200 / len;
        l.direction[2] = -1 / len;
        l.range = 1000;
        l.enabled = true;
        g->SetRenderState(s);
    }

    // Pixel where a point of the cube drawn at z 0.5 with the test's tilt lands (identity view and projection).
    static void Project(Vec3 p, int& x, int& y)
    {
        const Vec3 c = TransformCoord(p, World());
        x = static_cast<int>((c.x + 1) * 400);
        y = static_cast<int>((1 - c.y) * 300);
    }
    static Matrix World() { return CMesh::WorldMatrix(0, 0, 0.5f, 1, 1, 1, kTiltX, kTurnY, 0, 4); }

    // The colour Direct3D gives a face of the white material: texel × min(1, ambient + N·L).
    static std::uint32_t Lit(Vec3 normal, int r, int gr, int b)
    {
        const Vec3 n = TransformNormal(normal, NormalMatrix(World()));
        const float len = std::sqrt(1.0f + 40000.0f + 1.0f);
        const float ndotl = std::max(0.0f, (n.x + 200 * n.y + n.z) / len);
        const float k = std::min(1.0f, 111.0f / 255.0f + ndotl);
        auto ch = [&](int t) { return static_cast<std::uint32_t>(std::lround(t * k)); };
        return (ch(r) << 16) | (ch(gr) << 8) | ch(b);
    }

    void SavePpm(const char* name)
    {
        const char* dir = std::getenv("ZENTHAR_SHOT_DIR");
        if (!dir) return;
        FILE* f = std::fopen((std::string(dir) + "/" + name).c_str(), "wb");
        if (!f) return;
        std::fprintf(f, "P6 800 600 255\n");
        for (std::uint32_t p : pixels) {
            const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                                          static_cast<unsigned char>(p)};
            std::fwrite(rgb, 1, 3, f);
        }
        std::fclose(f);
    }
};

TEST_F(MeshPixelTest, ALitTexturedCubeIsBrighterOnTopThanOnItsSides)
{
    g->Clear(0xFF000000, 1.0f);
    CMesh cube(g, kMeshDir + "cube.x", true);
    cube.DrawMesh(0, 0, 0.5f, 1, 1, 1, kTiltX, kTurnY, 0, 4, 1.0f, false);
    CAnimMesh skinned(g, kMeshDir + "skinned.x");
    skinned.SetTrackPosition(0, 0.5);
    skinned.AdvanceTime(0);
    skinned.DrawAnimAt(-0.6f, -0.4f, 0.5f, 0.2f, 0.2f, 0.2f, 0, 0, 0, 0);
    Read();
    SavePpm("mesh_cube.ppm");

    int x = 0, y = 0;
    Project({0, 0.25f, 0}, x, y);
    const std::uint32_t top = At(x, y);
    EXPECT_TRUE(gltest::Near(top, Lit({0, 1, 0}, 255, 200, 100)));
    Project({0, 0, -0.25f}, x, y);
    const std::uint32_t front = At(x, y);
    EXPECT_TRUE(gltest::Near(front, Lit({0, 0, -1}, 255, 200, 100)));
    // The side the tilt shows is lit by ambient alone, the top nearly fully.
    EXPECT_GT(top & 0xFF0000, (front & 0xFF0000) + 0x500000);
    // The texture's dark frame shows at the face's edge.
    Project({-0.245f, 0.25f, -0.245f}, x, y);
    EXPECT_LT(At(x, y) & 0xFF, 0x30u);
    // The back faces, culled, leave the background; the skinned figure draws beside the cube.
    EXPECT_EQ(At(5, 5), 0u);
    int figure = 0;
    for (int py = 300; py < 600; ++py)
        for (int px = 0; px < 300; ++px) figure += At(px, py) != 0;
    EXPECT_GT(figure, 100);
}

TEST_F(MeshPixelTest, HalfAlphaBlendsOverTheBackgroundAndAdditiveAddsToIt)
{
    CMesh cube(g, kMeshDir + "cube.x", true);
    int x = 0, y = 0;
    Project({0, 0, -0.25f}, x, y);
    auto frontAfter = [&](float alpha, bool additive) {
        g->Clear(0xFF000080, 1.0f);
        cube.DrawMesh(0, 0, 0.5f, 1, 1, 1, kTiltX, kTurnY, 0, 4, alpha, additive);
        Read();
        return At(x, y);
    };
    const std::uint32_t opaque = frontAfter(1.0f, false);
    const std::uint32_t half = frontAfter(0.5f, false);
    const std::uint32_t added = frontAfter(0.5f, true);
    auto channel = [](std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
    for (int shift : {16, 8, 0}) {
        SCOPED_TRACE(shift);
        const int c = channel(opaque, shift), bg = shift == 0 ? 0x80 : 0;
        EXPECT_NEAR(channel(half, shift), (c + bg) / 2.0, 1.5);
        EXPECT_NEAR(channel(added, shift), std::min(255.0, c / 2.0 + bg), 1.5);
    }
}

}  // namespace
