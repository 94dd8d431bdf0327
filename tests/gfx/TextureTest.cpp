// Textures, quads and the scrolling background on the recording back end.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/CQovGame.h"
#include "app/Entry.h"
#include "gfx/CTexture.h"
#include "gfx/DrawUtil.h"
#include "platform/HeadlessPlatform.h"
#include "platform/graphics/ImageFile.h"
#include "tests/support/GameTestSupport.h"

namespace {

// A texture record of a given size without a file behind it.
struct SizedTexture : CTexture {
    SizedTexture(IGraphics* device, int w, int h) : CTexture(device, "no such file")
    {
        width = w;
        height = h;
        texture = 7;
    }
};

void ExpectQuad(const headless::DrawnQuad& q, float x, float y, float w, float h, float u0, float v0, float u1,
                float v1)
{
    const float xs[4] = {x, x + w, x, x + w}, ys[4] = {y, y, y + h, y + h};
    const float us[4] = {u0, u1, u0, u1}, vs[4] = {v0, v0, v1, v1};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(q.v[i].x, xs[i]);
        EXPECT_FLOAT_EQ(q.v[i].y, ys[i]);
        EXPECT_FLOAT_EQ(q.v[i].u, us[i]);
        EXPECT_FLOAT_EQ(q.v[i].v, vs[i]);
        EXPECT_EQ(q.v[i].z, 0.0f);
        EXPECT_EQ(q.v[i].rhw, 1.0f);
    }
}

class TextureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        h = &headless::Install();
        h->graphics.Reset(PresentParams());
        scrollOffsetX = scrollOffsetY = 0;
    }
    headless::HeadlessPlatform* h = nullptr;
};

TEST_F(TextureTest, LoadsTheFilePixelSizeAndRecordsPowerOfTwoSurface)
{
    ImageRGBA image;
    image.width = 200;
    image.height = 100;
    image.pixels.assign(200 * 100 * 4, 0x80);
    const std::string path = (std::filesystem::path(::testing::TempDir()) / "tex200x100.png").string();
    ASSERT_TRUE(SaveImagePNG(path, image));

    CTexture t(&h->graphics, path);
    EXPECT_NE(t.texture, 0u);
    EXPECT_EQ(t.GetWidth(), 200);
    EXPECT_EQ(t.GetHeight(), 100);
    EXPECT_EQ(t.surfaceWidth, 256u);
    EXPECT_EQ(t.surfaceHeight, 128u);

    CTexture missing(&h->graphics, "..\\Texture\\nothing.png");
    EXPECT_EQ(missing.texture, 0u);
    EXPECT_EQ(missing.GetWidth() + missing.GetHeight() + int(missing.surfaceWidth + missing.surfaceHeight), 0);
    missing.Draw(5, 5, 0xFFFFFFFF);  // a zero-size quad: nothing to see
    ASSERT_EQ(h->graphics.quads.size(), 1u);
    EXPECT_EQ(h->graphics.quads[0].v[3].x, 5.0f);
    EXPECT_EQ(h->graphics.quads[0].texture, 0u);
}

TEST_F(TextureTest, DrawAndDrawExBuildTheQuadsOfTheImageAndItsParts)
{
    SizedTexture image(&h->graphics, 100, 50);
    image.Draw(10, 20, 0xFFFFFFFF);
    SizedTexture strip(&h->graphics, 128, 32);
    strip.DrawEx(0, 0, 2.0f, 2.0f, 0.5f, 0.0f, 0.25f, 1.0f, 0x80FFFFFF);

    ASSERT_EQ(h->graphics.quads.size(), 2u);
    ExpectQuad(h->graphics.quads[0], 10, 20, 100, 50, 0, 0, 1, 1);
    EXPECT_EQ(h->graphics.quads[0].texture, 7u);
    EXPECT_EQ(h->graphics.quads[0].colour, 0xFFFFFFFFu);
    ExpectQuad(h->graphics.quads[1], 0, 0, 64, 64, 0.5f, 0.0f, 0.75f, 1.0f);
    for (const QuadVertex& v : h->graphics.quads[1].v) EXPECT_EQ(v.diffuse, 0x80FFFFFFu);

    // Every quad modulates texture and diffuse, colour and alpha alike.
    const TextureStage& s = h->graphics.state.stage0;
    EXPECT_EQ(s.colorOp, TextureOp::Modulate);
    EXPECT_EQ(s.colorArg2, TextureArg::Diffuse);
    EXPECT_EQ(s.alphaOp, TextureOp::Modulate);
    EXPECT_EQ(s.alphaArg1, TextureArg::Texture);
}

TEST_F(TextureTest, ScrollDownWrapsOnTheCallThatReachesTheTileHeight)
{
    SizedTexture sky(&h->graphics, 256, 256);
    DrawBG_Scroll(&sky, 2, 1);
    ASSERT_EQ(h->graphics.quads.size(), 1u);
    // 800 / 256 = 3 and 600 / 256 = 2 tiles, four more each way.
    ExpectQuad(h->graphics.quads[0], -256, -255, 1792, 1536, 0, 0, 7, 6);
    EXPECT_EQ(h->graphics.quads[0].colour, 0xFFFFFFFFu);

    for (int call = 2; call <= 255; ++call) DrawBG_Scroll(&sky, 2, 1);
    EXPECT_EQ(scrollOffsetY, 255);
    DrawBG_Scroll(&sky, 2, 1);
    EXPECT_EQ(scrollOffsetX, 0);
    EXPECT_EQ(scrollOffsetY, 0);
    EXPECT_FLOAT_EQ(h->graphics.quads.back().v[0].y, -256.0f);
}

TEST_F(TextureTest, DiagonalsScaleByTheTileProportionsOtherDirectionsDoNot)
{
    SizedTexture wide(&h->graphics, 256, 128);
    DrawBG_Scroll(&wide, 3, 1);
    EXPECT_EQ(scrollOffsetX, 2);
    EXPECT_EQ(scrollOffsetY, 1);
    for (int call = 2; call < 128; ++call) DrawBG_Scroll(&wide, 3, 1);
    EXPECT_EQ(scrollOffsetX, 254);
    DrawBG_Scroll(&wide, 3, 1);  // both reach a full tile together
    EXPECT_EQ(scrollOffsetX, 0);
    EXPECT_EQ(scrollOffsetY, 0);

    DrawBG_Scroll(&wide, 7, 2);
    EXPECT_EQ(scrollOffsetX, -4);
    EXPECT_EQ(scrollOffsetY, -2);

    scrollOffsetX = scrollOffsetY = 0;
    DrawBG_Scroll(&wide, 0, 3);
    DrawBG_Scroll(&wide, 10, 3);
    EXPECT_EQ(scrollOffsetX, 6);  // as direction 3, but unscaled
    EXPECT_EQ(scrollOffsetY, 6);
    DrawBG_Scroll(&wide, 5, 3);
    EXPECT_EQ(scrollOffsetX, 6);
    EXPECT_EQ(scrollOffsetY, 6);
    EXPECT_EQ(h->graphics.quads.size(), 132u);  // still drawn every call

    // A speed that does not divide the tile passes it without wrapping.
    scrollOffsetX = scrollOffsetY = 0;
    SizedTexture square(&h->graphics, 100, 100);
    for (int call = 0; call < 40; ++call) DrawBG_Scroll(&square, 6, 3);
    EXPECT_EQ(scrollOffsetX, 120);
}

TEST(DrawUtilTest, GcdBySubtraction)
{
    EXPECT_EQ(Gcd(12, 18), 6);
    EXPECT_EQ(Gcd(256, 128), 128);
    EXPECT_EQ(Gcd(200, 150), 50);
    EXPECT_EQ(Gcd(7, 7), 7);
    EXPECT_EQ(Gcd(0, 5), 0);
    EXPECT_EQ(Gcd(5, 0), 0);
    EXPECT_EQ(Gcd(-12, 18), 6);  // must end rather than subtract forever
}

TEST(DrawUtilDeathTest, ZeroSizeTextureShowsTheBoxAndEndsWithCodeOne)
{
    EXPECT_EXIT(
        {
            headless::HeadlessPlatform& h = headless::Install();
            h.messageBoxes.echo = true;
            CTexture empty(&h.graphics, "missing.png");
            DrawBG_Scroll(&empty, 2, 1);
            std::_Exit(0);  // not reached when the scroll refuses
        },
        ::testing::ExitedWithCode(1),
        "box owned=0 style=0 caption=\\[DrawUtil\\] text=\\[関数DrawBG_Scroll \n テクスチャの幅が0以下\\]");
}

}  // namespace

namespace {

TEST(FixedStateTest, ResetDeviceSetsBlendingAlphaTestModulateAndTheDownwardLight)
{
    headless::HeadlessPlatform& h = testsupport::InstallStaged();
    CQovGame* game = CreateGame();
    game->OnResetDevice();
    const RenderState& s = h.graphics.state;
    EXPECT_TRUE(s.alphaBlendEnable);
    EXPECT_EQ(s.srcBlend, BlendFactor::SrcAlpha);
    EXPECT_EQ(s.destBlend, BlendFactor::InvSrcAlpha);
    EXPECT_TRUE(s.alphaTestEnable);
    EXPECT_EQ(s.alphaFunc, CompareFunc::GreaterEqual);
    EXPECT_EQ(s.alphaRef, 1u);
    EXPECT_EQ(s.cullMode, CullMode::Ccw);
    EXPECT_TRUE(s.zEnable && s.zWriteEnable && s.lighting);
    EXPECT_EQ(s.zFunc, CompareFunc::LessEqual);  // the device default the quads rely on
    EXPECT_EQ(s.ambient, 0x006F6F6Fu);
    EXPECT_EQ(s.stage0.alphaOp, TextureOp::Modulate);
    const Light& light = s.lights[0];
    EXPECT_TRUE(light.enabled);
    EXPECT_FLOAT_EQ(light.direction[1], -200.0f / std::sqrt(40002.0f));
    EXPECT_FLOAT_EQ(light.direction[0], -1.0f / std::sqrt(40002.0f));
    EXPECT_EQ(light.range, 1000.0f);
    EXPECT_EQ(light.diffuse[0] + light.diffuse[1] + light.diffuse[2], 3.0f);
    EXPECT_EQ(light.specular[0] + light.ambient[0], 0.0f);
    EXPECT_FALSE(s.lights[1].enabled);
    delete game;
    g_game = nullptr;
}

}  // namespace
