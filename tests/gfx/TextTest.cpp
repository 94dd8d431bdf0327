// Bitmap-font cells and TrueType text layout on the recording back end.
#include <gtest/gtest.h>

#include <memory>

#include "app/CQovGame.h"
#include "app/Entry.h"
#include "gfx/CBitmapFont.h"
#include "gfx/CDXFont.h"
#include "gfx/CSprite.h"
#include "gfx/CTexture.h"
#include "platform/HeadlessPlatform.h"
#include "tests/support/GameTestSupport.h"

namespace {

std::string MainCharset()
{
    std::string s;
    for (char c = 0x21; c <= 0x2F; ++c) s += c;
    s += ' ';
    for (char c = 0x30; c <= 0x5F; ++c) s += c;
    s += '\'';
    for (char c = 0x61; c <= 0x7E; ++c) s += c;
    return s;
}

const char* const kSampleCharset = "_|0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ=+-*/!?";

class TextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        h = &headless::Install();
        h->graphics.Reset(PresentParams());
    }
    std::unique_ptr<CBitmapFont> MainFont()
    {
        return std::make_unique<CBitmapFont>(&h->graphics, ZENTHAR_SOURCE_DIR "/data/Font/Font.png", MainCharset(),
                                             13.0f / 208.0f, 21.0f / 126.0f, 13.0f, 21.0f, 2.0f, 2.0f);
    }
    std::unique_ptr<CBitmapFont> SampleFont()
    {
        return std::make_unique<CBitmapFont>(&h->graphics, ZENTHAR_SOURCE_DIR "/data/Font/FontSample.png",
                                             kSampleCharset, 16.0f / 256.0f, 16.0f / 256.0f, 16.0f, 16.0f, 2.0f, 2.0f);
    }
    std::vector<headless::DrawnQuad>& Quads() { return h->graphics.quads; }
    headless::HeadlessPlatform* h = nullptr;
};

TEST_F(TextTest, MainFontCellsFollowTheCharsetWithTheLaterApostropheWinning)
{
    auto font = MainFont();
    ASSERT_EQ(font->texture->GetWidth(), 208);
    font->DrawText("A'", 50, 60, 0xFFFFFFFF);
    font->DrawText(" ", 0, 0, 0xFFFFFFFF);
    ASSERT_EQ(Quads().size(), 3u);

    const headless::DrawnQuad& a = Quads()[0];
    EXPECT_FLOAT_EQ(a.v[0].u, 0.0625f);
    EXPECT_FLOAT_EQ(a.v[0].v, 0.33333334f);
    EXPECT_FLOAT_EQ(a.v[3].u - a.v[0].u, 0.0625f);
    EXPECT_FLOAT_EQ(a.v[3].v - a.v[0].v, 0.16666667f);
    EXPECT_FLOAT_EQ(a.v[3].x - a.v[0].x, 13.0f);
    EXPECT_FLOAT_EQ(a.v[3].y - a.v[0].y, 21.0f);
    EXPECT_EQ(a.texture, font->texture->texture);

    const headless::DrawnQuad& apostrophe = Quads()[1];  // column 0 of row 4, not column 6 of row 0
    EXPECT_FLOAT_EQ(apostrophe.v[0].x, 63.0f);
    EXPECT_FLOAT_EQ(apostrophe.v[0].u, 0.0f);
    EXPECT_FLOAT_EQ(apostrophe.v[0].v, 4 * (21.0f / 126.0f));

    const headless::DrawnQuad& space = Quads()[2];  // column 15 of row 0
    EXPECT_FLOAT_EQ(space.v[0].u, 15 * 0.0625f);
    EXPECT_FLOAT_EQ(space.v[0].v, 0.0f);
}

TEST_F(TextTest, CharactersWithoutACellAdvanceThePenAndDrawNothing)
{
    auto font = MainFont();
    font->DrawText("A`B\n\x80" "C", 100, 10, 0xFFFFFFFF);
    ASSERT_EQ(Quads().size(), 3u);
    EXPECT_FLOAT_EQ(Quads()[0].v[0].x, 100.0f);
    EXPECT_FLOAT_EQ(Quads()[1].v[0].x, 126.0f);
    EXPECT_FLOAT_EQ(Quads()[2].v[0].x, 165.0f);  // the line feed and 0x80 are blanks on the same line
    EXPECT_FLOAT_EQ(Quads()[2].v[0].y, 10.0f);

    Quads().clear();
    auto sample = SampleFont();
    sample->DrawText("A a", 0, 0, 0xFFFFFFFF);  // no space and no small letters in this font
    ASSERT_EQ(Quads().size(), 1u);
    EXPECT_FLOAT_EQ(Quads()[0].v[0].u, 0.75f);
    EXPECT_FLOAT_EQ(Quads()[0].v[0].v, 0.0f);
    sample->DrawText(" A", 0, 0, 0xFFFFFFFF);
    EXPECT_FLOAT_EQ(Quads().back().v[0].x, 16.0f);
}

TEST_F(TextTest, ShadowFirstThenTextAndScaledCells)
{
    auto font = MainFont();
    font->DrawTextShadow("A", 100, 50, 0xFFFFFFFF, 0xFF000000);
    font->DrawCharShadow('B', 10, 10, 0xFF00FF00, 0x80000000);
    ASSERT_EQ(Quads().size(), 4u);
    EXPECT_FLOAT_EQ(Quads()[0].v[0].x, 102.0f);
    EXPECT_FLOAT_EQ(Quads()[0].v[0].y, 52.0f);
    EXPECT_EQ(Quads()[0].colour, 0xFF000000u);
    EXPECT_FLOAT_EQ(Quads()[1].v[0].x, 100.0f);
    EXPECT_EQ(Quads()[1].colour, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(Quads()[2].v[0].x, 12.0f);
    EXPECT_EQ(Quads()[3].colour, 0xFF00FF00u);

    Quads().clear();
    font->DrawTextScaled("AB", 0, 0, 2.0f, 3.0f, 0xFFFFFFFF);
    ASSERT_EQ(Quads().size(), 2u);
    EXPECT_FLOAT_EQ(Quads()[0].v[3].x, 26.0f);
    EXPECT_FLOAT_EQ(Quads()[0].v[3].y, 63.0f);
    EXPECT_FLOAT_EQ(Quads()[1].v[0].x, 26.0f);
}

TEST_F(TextTest, TrueTypeTextIsClippedToTheScreenCornerAndBreaksOnlyAtLineFeeds)
{
    CDXFont font;
    EXPECT_FALSE(font.Create(&h->graphics, "MS ゴシック", 18, false));
    EXPECT_EQ(h->graphics.lastFontFace, "MS ゴシック");
    CSprite sprite(&h->graphics);

    // Block glyphs of the test back end: ASCII 9 × 18, others 18 × 18.
    font.DrawText(&sprite, 700, 550, 0xFFFFFFFF, "0123456789ABCDEF\nxy\nzz\nww");
    ASSERT_EQ(h->graphics.texts.size(), 1u);
    EXPECT_EQ(h->graphics.texts[0].text, "0123456789ABCDEF\nxy\nzz\nww");
    float maxX = 0, maxY = 0;
    for (const auto& q : Quads()) {
        EXPECT_GE(q.v[0].x, 700.0f);
        EXPECT_GE(q.v[0].y, 550.0f);
        maxX = std::max(maxX, q.v[3].x);
        maxY = std::max(maxY, q.v[3].y);
    }
    EXPECT_EQ(maxX, 800.0f);
    EXPECT_EQ(maxY, 600.0f);
    // Line 1: 11 full glyphs and the twelfth cut at 800 (700 + 11 × 9 = 799); lines 2 and 3; line 3 cut at 600.
    ASSERT_EQ(Quads().size(), 12u + 2u + 2u);
    const headless::DrawnQuad& cut = Quads()[11];
    EXPECT_FLOAT_EQ(cut.v[0].x, 799.0f);
    EXPECT_FLOAT_EQ(cut.v[3].u - cut.v[0].u, 1.0f / CDXFont::kCacheSize);
    EXPECT_FLOAT_EQ(Quads()[12].v[0].x, 700.0f);
    EXPECT_FLOAT_EQ(Quads()[12].v[0].y, 568.0f);
    EXPECT_FLOAT_EQ(Quads()[14].v[3].y - Quads()[14].v[0].y, 14.0f);
    for (const auto& q : Quads()) EXPECT_TRUE(q.alphaBlend);

    // Japanese characters are one code point each, full width.
    Quads().clear();
    font.DrawText(&sprite, 0, 0, 0xFF00FF00, "日本語");
    ASSERT_EQ(Quads().size(), 3u);
    EXPECT_FLOAT_EQ(Quads()[2].v[0].x, 36.0f);
    EXPECT_EQ(Quads()[2].colour, 0xFF00FF00u);
}

TEST_F(TextTest, SpriteRestoresTheCallersStateAndTextNeedsFontAndSprite)
{
    CDXFont font;
    CSprite sprite(&h->graphics);
    font.DrawText(&sprite, 0, 0, 0xFFFFFFFF, "no font yet");
    EXPECT_TRUE(h->graphics.texts.empty());

    ASSERT_FALSE(font.Create(&h->graphics, "MS ゴシック", 18, false));
    font.DrawText(nullptr, 0, 0, 0xFFFFFFFF, "no sprite");
    EXPECT_TRUE(h->graphics.texts.empty());

    RenderState before = h->graphics.state;
    before.alphaBlendEnable = false;
    before.zEnable = true;
    h->graphics.SetRenderState(before);
    h->graphics.SetTexture(42);
    font.DrawFormat(&sprite, 5, 6, 0xFF123456, "%s=%d", "x", 12);
    EXPECT_EQ(h->graphics.texts.at(0).text, "x=12");
    EXPECT_TRUE(h->graphics.state == before);
    EXPECT_EQ(h->graphics.texture, 42u);

    std::string longText(1000, 'a');
    font.DrawFormat(&sprite, 0, 0, 0xFFFFFFFF, "%s!", longText.c_str());
    EXPECT_EQ(h->graphics.texts.at(1).text.size(), 1001u);

    h->graphics.failFont = true;
    EXPECT_TRUE(font.Create(&h->graphics, "MS ゴシック", 18, false));
    EXPECT_EQ(font.font, nullptr);
}

TEST(DrawNumberTest, DrawsTheValueInWhiteThroughTheGameFont)
{
    headless::HeadlessPlatform& h = testsupport::InstallStaged();
    CQovGame* game = CreateGame();
    ASSERT_NE(game, nullptr);
    if (!game->sprite) game->sprite = new CSprite(&h.graphics);
    if (!game->dxFont.font) game->dxFont.Create(&h.graphics, "MS ゴシック", 18, false);
    h.graphics.ClearRecords();
    game->DrawNumber(-7, 300, 200);
    ASSERT_EQ(h.graphics.texts.size(), 1u);
    EXPECT_EQ(h.graphics.texts[0].text, "-7");
    EXPECT_EQ(h.graphics.texts[0].x, 300);
    EXPECT_EQ(h.graphics.texts[0].colour, 0xFFFFFFFFu);
    EXPECT_EQ(h.graphics.quads.size(), 2u);
    delete game;
    g_game = nullptr;
}

}  // namespace
