// What the play-field tasks and the panel put on screen, read from the headless device's records.
#include <cstdint>
#include <string>
#include <vector>

#include "game/CBullet.h"
#include "game/CEffect_Fade.h"
#include "gfx/CBitmapFont.h"
#include "gfx/CTexture.h"
#include "platform/graphics/HeadlessGraphics.h"
#include "tests/game/GameFixture.h"

namespace gametest {
namespace {

struct Seen {
    std::uint32_t texture;
    float x, y, w, h;
    std::uint32_t colour;
    bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Seen& s)
{
    return os << "{tex " << s.texture << " at " << s.x << "," << s.y << " size " << s.w << "x" << s.h << " colour "
              << std::hex << s.colour << std::dec << "}";
}

class DrawTest : public GameTest {
protected:
    headless::Graphics& Device() { return *static_cast<headless::Graphics*>(Sys().graphics); }

    std::vector<Seen> Frame()
    {
        Device().ClearRecords();
        game->Draw();
        std::vector<Seen> out;
        for (const headless::DrawnQuad& q : Device().quads)
            out.push_back({q.texture, q.v[0].x, q.v[0].y, q.v[3].x - q.v[0].x, q.v[3].y - q.v[0].y, q.colour});
        return out;
    }
    static std::uint32_t Tex(const CTexture* t) { return t ? t->texture : 0; }
    static Seen At(const CTexture* t, float x, float y, std::uint32_t colour)
    {
        return {Tex(t), x, y, static_cast<float>(t->GetWidth()), static_cast<float>(t->GetHeight()), colour};
    }
    // The play-field quads: everything before the first glyph of the panel font.
    std::vector<Seen> PlayField()
    {
        std::vector<Seen> all = Frame();
        std::vector<Seen> out;
        for (const Seen& s : all) {
            if (game->fontMain && s.texture == Tex(game->fontMain->texture)) break;
            out.push_back(s);
        }
        return out;
    }
    void SetUp() override
    {
        GameTest::SetUp();
        ASSERT_NE(game->texTitle, nullptr) << "assets not loaded";
    }
};

TEST_F(DrawTest, MenuScreensWithTheTitleSelectionHighlighted)
{
    Step();
    Tap(kRight);
    std::vector<Seen> want = {At(game->texTitle, 0, -50, 0xFFFFFFFF), At(game->texPointer, 190, 512, 0xFFFFFFFF),
                              At(game->texGameStart, 10, 500, 0xFFFFFFFF), At(game->texOption, 200, 500, 0xFF8080C8),
                              At(game->texGameEnd, 390, 500, 0xFFFFFFFF)};
    EXPECT_EQ(PlayField(), want);

    Step();
    Tap(kLeft);
    StartStage();
    LoseGame();
    Step(100);  // the death fades are gone
    want = {At(game->texGameOver, 0, 0, 0xFFFFFFFF), At(game->texPointer, 250, 365, 0xFFFFFFFF),
            At(game->texRestart, 240, 350, 0xFFFFFFFF), At(game->texGameEnd, 250, 420, 0xFFFFFFFF)};
    EXPECT_EQ(PlayField(), want);
}

TEST_F(DrawTest, PlayDrawsSkyPlayerBarShotsSatellitesThenOverlayAlsoWhilePaused)
{
    StartStage();
    Step(100);
    game->AddScore(500);
    Step(2);  // both satellites
    Player()->energy = 61;  // a bar of 30 spans
    Tap(kDecide);
    Tap(kPause);
    ASSERT_TRUE(game->paused);
    new CEffect_Fade();
    Step();

    std::vector<Seen> seen = PlayField();
    ASSERT_GE(seen.size(), 1u);
    EXPECT_EQ(seen[0].texture, Tex(game->texSky1));
    seen.erase(seen.begin());
    const CTexture* hp = game->texHP;
    const CPlayer* p = Player();
    std::vector<Seen> want = {At(game->texPlayer, p->posX, p->posY, 0xFFFFFFFF),
                              {Tex(hp), p->x, p->y, hp->GetWidth() * 30.0f, hp->GetHeight() * 5.0f, 0xFF80C880}};
    TaskIter it(game->poolBullet);
    while (it.HasNext()) {
        const CBullet* b = static_cast<CBullet*>(it.Next());
        want.push_back(At(game->texBullet, b->x, b->y, 0xFFFFFFFF));
    }
    const float sx = p->posX + 8.0f, sy = p->posY + 8.0f;
    for (int i = 0; i < 2; ++i) {
        want.push_back(At(game->texBulletS, sx - 15.0f, sy + 25.0f, 0x80000000));
        want.push_back(At(game->texBulletS, sx + 15.0f, sy + 25.0f, 0x80000000));
    }
    want.push_back(At(game->texBlack, 0, 0, 0x0AFFFFFF));
    EXPECT_EQ(seen, want);
}

TEST_F(DrawTest, PanelShowsLabelsScoreEnergyAndVersion)
{
    ASSERT_NE(game->fontMain, nullptr);
    game->AddScore(123);
    Frame();
    const std::uint32_t glyphs = Tex(game->fontMain->texture);
    std::vector<std::pair<float, float>> digits;
    int quadsAt20 = 0;
    for (const headless::DrawnQuad& q : Device().quads) {
        if (q.texture != glyphs) continue;
        EXPECT_EQ(q.colour, 0xFFFFFFFFu);
        EXPECT_GE(q.v[0].x, 610.0f);
        if (q.v[0].y == 20.0f) {
            ++quadsAt20;
            digits.emplace_back(q.v[0].x, q.v[0].u);
        }
    }
    ASSERT_EQ(quadsAt20, 3);
    const float cw = game->fontMain->cellWidth;
    EXPECT_EQ(digits[0].first, 650.0f);
    EXPECT_EQ(digits[1].first, 650.0f + cw);
    EXPECT_EQ(digits[2].first, 650.0f + 2 * cw);
    EXPECT_EQ(digits[0].second, game->fontMain->glyphU['1']);
    EXPECT_EQ(digits[2].second, game->fontMain->glyphU['3']);
    // Nothing beside "BulletPower:" at y 80 beyond its own twelve letters.
    int quadsAt80 = 0;
    for (const headless::DrawnQuad& q : Device().quads)
        if (q.texture == glyphs && q.v[0].y == 80.0f) ++quadsAt80;
    EXPECT_EQ(quadsAt80, 12);

    ASSERT_EQ(Device().texts.size(), 1u);
    EXPECT_EQ(Device().texts[0].text, "ver1.00");
    EXPECT_EQ(Device().texts[0].x, 700);
    EXPECT_EQ(Device().texts[0].y, 550);
}

}  // namespace
}  // namespace gametest
