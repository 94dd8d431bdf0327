// A test scene of the game's own pictures and both kinds of text, saved as a PNG to look at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "gfx/CBitmapFont.h"
#include "gfx/CDXFont.h"
#include "gfx/CSprite.h"
#include "gfx/CTexture.h"
#include "gfx/DrawUtil.h"
#include "platform/graphics/ImageFile.h"
#include "tests/platform/GlFixture.h"

namespace {

using gltest::Data;

using SceneShotTest = gltest::GlTest;

TEST_F(SceneShotTest, SpritesScrolledSkyAndTextSaveAsPng)
{
    const std::string charset = gltest::FontCharset();

    CTexture sky(g, Data("Texture/sky.png"));
    CTexture player(g, Data("Texture/p_dragon.png"));
    CTexture enemy(g, Data("Texture/phenix.png"));
    CTexture bullet(g, Data("Texture/bullet.png"));
    CTexture boss(g, Data("Texture/boss_dragon.png"));
    CBitmapFont font(g, Data("Font/Font.png"), charset, 13.0f / 208, 21.0f / 126, 13, 21, 2, 2);
    CDXFont dx;
    ASSERT_FALSE(dx.Create(g, "MS ゴシック", 18, false));
    CSprite sprite(g);
    ASSERT_GT(sky.GetWidth(), 0);

    GameState();
    g->Clear(0xFF000000, 1.0f);
    Viewport field{0, 0, 600, 600, 0, 1}, panel{600, 0, 200, 600, 0, 1};
    g->SetViewport(field);
    scrollOffsetX = scrollOffsetY = 0;
    for (int i = 0; i < 40; ++i) DrawBG_Scroll(&sky, 2, 1);
    boss.Draw(300.0f - boss.GetWidth() / 2.0f, 40, 0xFFFFFFFF);
    for (int i = 0; i < 4; ++i) enemy.Draw(60.0f + 130 * i, 250, 0xFFFFFFFF);
    for (int i = 0; i < 12; ++i) bullet.Draw(280.0f + (i % 2) * 30, 480.0f - 25 * i, 0xFFFFFFFF);
    player.Draw(300.0f - player.GetWidth() / 2.0f, 500, 0xFFFFFFFF);
    player.Draw(500, 500, 0x80FFFFFF);  // half transparent
    g->SetViewport(panel);
    font.DrawText("SCORE", 610, 20, 0xFFFFFFFF);
    font.DrawText("0001234", 610, 45, 0xFFFFFFFF);
    font.DrawTextShadow("Energy 3", 610, 80, 0xFFFFFF00, 0xFF000000);
    font.DrawTextScaled("Big", 610, 120, 2.0f, 2.0f, 0xFF80C0FF);
    dx.DrawText(&sprite, 610, 200, 0xFFFFFFFF, "日本語テキスト\n二行目です");
    dx.DrawFormat(&sprite, 700, 550, 0xFFFFFFFF, "ver%d.%02d clipped text", 1, 0);
    g->EndScene();
    g->Present();

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
    const char* env = std::getenv("ZENTHAR_SCENE_PNG");
    const std::string path =
        env ? env : (std::filesystem::path(::testing::TempDir()) / "zenthar_scene.png").string();
    ASSERT_TRUE(SaveImagePNG(path, shot));
    std::printf("scene written to %s\n", path.c_str());

    // The sky covers the play field; the panel behind the text stays black.
    int black = 0;
    for (int y = 0; y < 600; y += 7)
        for (int x = 0; x < 600; x += 7) black += At(x, y) == 0;
    EXPECT_EQ(black, 0);
    EXPECT_EQ(At(790, 10), 0u);
}

}  // namespace
