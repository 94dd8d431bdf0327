// A busy frame of the game's own pictures must come out pixel for pixel as the renderer first drew it:
// batching, the texture bookkeeping and the choice of framebuffer may change the cost, never the picture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "gfx/CBitmapFont.h"
#include "gfx/CDXFont.h"
#include "gfx/CSprite.h"
#include "gfx/CTexture.h"
#include "gfx/DrawUtil.h"
#include "platform/graphics/ImageFile.h"
#include "platform/graphics/SdlGraphics.h"
#include "tests/platform/GlFixture.h"

namespace {

using gltest::Data;

const char* const kReference = ZENTHAR_TEST_DATA "/frame_reference.png";

class FrameReferenceTest : public gltest::GlTest {
protected:
    // Every kind of quad the game draws, at whole, half and arbitrary pixel positions: the scrolled sky
    // (repeat addressing), sprites tinted and half transparent, shots by the hundred, enemies with the one-texel
    // energy bar stretched between them, untextured quads, the fade picture, both kinds of text, both viewports.
    void DrawScene()
    {
        const std::string charset = gltest::FontCharset();
        CTexture sky(g, Data("Texture/sky.png"));
        CTexture player(g, Data("Texture/p_dragon.png"));
        CTexture phenix(g, Data("Texture/phenix.png"));
        CTexture gargoyle(g, Data("Texture/gargoyle.png"));
        CTexture bullet(g, Data("Texture/bullet.png"));
        CTexture boss(g, Data("Texture/boss_dragon.png"));
        CTexture hp(g, Data("Texture/HP.png"));
        CTexture black(g, Data("Texture/black.png"));
        CTexture pointer(g, Data("Texture/Pointer.png"));
        CBitmapFont font(g, Data("Font/Font.png"), charset, 13.0f / 208, 21.0f / 126, 13, 21, 2, 2);
        CDXFont dx;
        ASSERT_FALSE(dx.Create(g, "MS ゴシック", 18, false));
        CSprite sprite(g);
        ASSERT_GT(sky.GetWidth(), 0);
        ASSERT_EQ(hp.GetWidth(), 1);

        GameState();
        Viewport full{0, 0, 800, 600, 0, 1}, field{0, 0, 600, 600, 0, 1}, panel{600, 0, 200, 600, 0, 1};
        g->SetViewport(full);
        g->Clear(0x00000000, 1.0f);
        g->SetViewport(field);
        scrollOffsetX = scrollOffsetY = 0;
        for (int i = 0; i < 77; ++i) DrawBG_Scroll(&sky, 2, 1);
        std::mt19937 random(1234);
        std::uniform_real_distribution<float> pos(-20.0f, 600.0f);
        const float fractions[] = {0.0f, 0.5f, 0.25f, 0.75f, 0.125f};
        auto at = [&](int i) { return static_cast<float>(static_cast<int>(pos(random))) + fractions[i % 5]; };
        boss.Draw(at(0), at(1), 0xFFC88080u);
        for (int i = 0; i < 24; ++i) {
            CTexture& enemy = i % 3 ? phenix : gargoyle;
            const float x = at(i), y = at(i + 1);
            enemy.Draw(x, y, 0xFFFFFFFFu);
            hp.DrawEx(x, y, 1.0f, 5.0f, 0.0f, 0.0f, static_cast<float>(i % 7 + 1) * 3.0f, 1.0f, 0xFF80C880u);
        }
        for (int i = 0; i < 400; ++i) bullet.Draw(at(i), at(i + 2), i % 2 ? 0xFF0030FFu : 0xFFFFFFFFu);
        for (int i = 0; i < 40; ++i) bullet.Draw(at(i), at(i + 3), 0x80000000u);
        for (int i = 0; i < 12; ++i) {
            g->SetTexture(0);
            const float x = at(i), y = at(i + 4);
            const QuadVertex v[4] = {{x, y, 0, 1, 0x60FF8040u, 0, 0},
                                     {x + 9.5f, y, 0, 1, 0x60FF8040u, 1, 0},
                                     {x, y + 7.25f, 0, 1, 0x60FF8040u, 0, 1},
                                     {x + 9.5f, y + 7.25f, 0, 1, 0x60FF8040u, 1, 1}};
            g->DrawQuad(v);
            pointer.DrawEx(x, y + 10, 1.5f, 1.5f, 0.25f, 0.0f, 0.5f, 1.0f, 0xFFFFFFFFu);
        }
        player.Draw(284.5f, 500.0f, 0xFFFFFFFFu);
        player.Draw(400.25f, 480.75f, 0x80FFFFFFu);
        black.Draw(0.0f, 0.0f, 0x40FFFFFFu);
        g->SetViewport(panel);
        font.DrawText("Score:", 610, 0, 0xFFFFFFFF);
        font.DrawText("0001234", 650, 20, 0xFFFFFFFF);
        font.DrawTextShadow("Energy 3", 610.5f, 80, 0xFFFFFF00, 0xFF000000);
        font.DrawTextScaled("Big", 610, 120, 2.0f, 2.0f, 0xFF80C0FF);
        hp.DrawEx(620.0f, 300.0f, 1.0f, 15.0f, 0.0f, 0.0f, 120.0f, 1.0f, 0xFF80C880u);
        dx.DrawText(&sprite, 610, 200, 0xFFFFFFFF, "日本語テキスト\n二行目です");
        dx.DrawText(&sprite, 700, 550, 0xFFFFFFFF, "ver1.00");
        g->EndScene();
    }

    ImageRGBA Frame()
    {
        Read();
        ImageRGBA shot;
        shot.width = 800;
        shot.height = 600;
        for (std::uint32_t p : pixels) {
            shot.pixels.push_back((p >> 16) & 0xFF);
            shot.pixels.push_back((p >> 8) & 0xFF);
            shot.pixels.push_back(p & 0xFF);
            shot.pixels.push_back(255);
        }
        return shot;
    }
};

TEST_F(FrameReferenceTest, BusyFrameMatchesTheReferenceOnBothPaths)
{
    if (const char* out = std::getenv("ZENTHAR_WRITE_FRAME_REFERENCE")) {
        DrawScene();
        ASSERT_TRUE(SaveImagePNG(out, Frame()));
        GTEST_SKIP() << "reference written to " << out;
    }
    ImageRGBA want;
    ASSERT_TRUE(LoadImageRGBA(kReference, want));
    ASSERT_EQ(want.width, 800);
    auto* gl = dynamic_cast<sdl::Graphics*>(g);
    ASSERT_NE(gl, nullptr);
    std::vector<std::uint8_t> window;
    for (bool direct : {true, false}) {
        gl->AllowDirect(direct);
        if (direct && !gl->DrawsDirect()) continue;  // this window's framebuffer cannot be the back buffer
        ASSERT_EQ(gl->DrawsDirect(), direct);
        DrawScene();
        const ImageRGBA got = Frame();
        if (direct) {
            window = got.pixels;
        } else if (!window.empty()) {
            EXPECT_TRUE(got.pixels == window) << "the offscreen buffer and the window's framebuffer disagree";
        }
        int differ = 0, first = -1;
        for (size_t i = 0; i < got.pixels.size(); i += 4) {
            if (got.pixels[i] != want.pixels[i] || got.pixels[i + 1] != want.pixels[i + 1] ||
                got.pixels[i + 2] != want.pixels[i + 2]) {
                if (first < 0) first = static_cast<int>(i / 4);
                ++differ;
            }
        }
        if (differ) {
            const auto path = std::filesystem::path(::testing::TempDir()) / "zenthar_frame_actual.png";
            SaveImagePNG(path.string(), got);
            ADD_FAILURE() << (direct ? "window" : "offscreen") << ": " << differ << " pixels differ, the first at ("
                          << first % 800 << ", " << first / 800 << "); frame saved to " << path;
        }
    }
    gl->AllowDirect(true);
}

}  // namespace
