#include "enemy/CE_Control.h"

#include "enemy/CBoss.h"
#include "enemy/CBoss_1.h"
#include "enemy/CEnemy_shot.h"
#include "enemy/CEnemy_strong.h"
#include "enemy/CEnemy_zako.h"
#include "tests/enemy/EnemyFixture.h"

namespace enemytest {
namespace {

using SpawnControlTest = EnemyTest;

// A zako that never moves (pattern 16) centred on (x, 100), entering on the frame.
std::string Still(int type, int frame, int x)
{
    return std::to_string(type) + " " + std::to_string(frame) + " 1 " + std::to_string(x) + " 100 0 0 0 16\n";
}

TEST_F(SpawnControlTest, ARowFiresWhenTheFrameCounterEqualsItsFrameAndARepeatedFrameStallsTheTable)
{
    WriteTable(1, Still(0, 0, 100) + Still(0, 60, 200) + Still(0, 60, 300) + Still(0, 100, 400));
    CE_Control* control = StartWithController();
    Step();
    EXPECT_EQ(Live(game->poolEnemyZako), 1);  // frame 0: the controller's first update
    Step(59);
    EXPECT_EQ(Live(game->poolEnemyZako), 1);
    Step();
    EXPECT_EQ(Live(game->poolEnemyZako), 2);
    EXPECT_EQ(game->spawnFrame, 61);
    Step(200);
    EXPECT_EQ(Live(game->poolEnemyZako), 2);
    EXPECT_EQ(control->row.x, 300.0f);  // the third row is held, the fourth never read
    EXPECT_FALSE(game->readNextRow);
}

TEST_F(SpawnControlTest, AnUnlistedTypeStopsTheTableForGood)
{
    WriteTable(1, Still(5, 0, 100) + Still(0, 1, 200) + Still(0, 2, 300));
    CE_Control* control = StartWithController();
    Step(100);
    EXPECT_EQ(Live(game->poolEnemyZako), 0);
    EXPECT_EQ(control->row.type, 5);
}

TEST_F(SpawnControlTest, AFullPoolConsumesTheRowAndTheNextRowIsReadNormally)
{
    std::string rows;
    for (int f = 0; f <= 20; ++f) rows += Still(0, f, 20 + 25 * f);
    rows += Still(1, 21, 300);
    WriteTable(1, rows);
    StartWithController();
    Step(22);
    EXPECT_EQ(Live(game->poolEnemyZako), 20);
    EXPECT_EQ(Live(game->poolEnemyShot), 1);
}

TEST_F(SpawnControlTest, MissingTablesShowErrorOnceEachAndTheStagesHaveNoEnemies)
{
    StartWithController();
    ASSERT_EQ(h->messageBoxes.shown.size(), 2u);
    for (const auto& box : h->messageBoxes.shown) {
        EXPECT_EQ(box.text, "error");
        EXPECT_EQ(box.caption, "");
        EXPECT_EQ(box.style, win::MB_OK);
        EXPECT_FALSE(box.owned);
    }
    Step(300);
    game->sceneState = SCENE_STAGE2;
    game->readNextRow = true;
    Step(300);
    EXPECT_EQ(Live(game->poolEnemyZako) + Live(game->poolEnemyShot) + Live(game->poolEnemyStrong) +
                  Live(game->poolBoss1) + Live(game->poolBoss2),
              0);
    EXPECT_EQ(h->messageBoxes.shown.size(), 2u);
}

TEST_F(SpawnControlTest, ABossRowHandsOverToTheSecondTableAtFrameZero)
{
    WriteTable(1, Still(0, 0, 100) + "100 5 1 300 50 0 1 0 0\n" + Still(0, 6, 500));
    WriteTable(2, Still(1, 0, 400) + Still(2, 3, 450));
    StartWithController();
    Step(6);
    CBoss_1* boss = First<CBoss_1>(game->poolBoss1);
    ASSERT_NE(boss, nullptr);
    boss->hp = 0;
    int updates = 0;
    while (game->sceneState == SCENE_STAGE1 && updates < 100) {
        Step();
        ++updates;
    }
    EXPECT_EQ(updates, 31);
    EXPECT_EQ(game->spawnFrame, 0);
    EXPECT_EQ(Live(game->poolEnemyZako), 1);  // the row after the boss row is never read
    Step();
    EXPECT_EQ(Live(game->poolEnemyShot), 1);
    EXPECT_EQ(game->spawnFrame, 1);
    Step(3);
    EXPECT_EQ(Live(game->poolEnemyStrong), 1);
}

TEST_F(SpawnControlTest, AnEmptySecondTableBringsNoBossBackAfterTheFirstDies)
{
    WriteTable(1, "100 0 1 300 50 0 1 0 0\n");
    WriteTable(2, " \n");
    StartWithController();
    ASSERT_EQ(h->messageBoxes.shown.size(), 0u);
    Step();
    First<CBoss_1>(game->poolBoss1)->hp = 0;
    Step(31);
    ASSERT_EQ(game->sceneState, SCENE_STAGE2);
    Step(200);
    EXPECT_EQ(Live(game->poolBoss1), 0);
}

// Played through the real menus: the title creates the controller, lost ships and beaten bosses
// lead back through the menus.
class NewGameTest : public EnemyTest {
protected:
    static constexpr int kDecide = 0x21;  // F: menu decide

    // Decide for one update on the menu's first item (Game_Start, Restart); play starts 30 updates later.
    void Decide()
    {
        h->input.SetKey(kDecide, true);
        Step();
        h->input.SetKey(kDecide, false);
        Step(30);
        ASSERT_EQ(game->sceneState, SCENE_STAGE1);
    }
    void Lose()
    {
        First<CPlayer>(game->poolPlayer)->energy = 0;
        Step(31);
        ASSERT_EQ(game->sceneState, SCENE_GAME_OVER);
    }
    void Beat(TaskPool* bosses, int nextScene)
    {
        ASSERT_EQ(Live(bosses), 1);
        First<CBoss>(bosses)->hp = 0;
        Step(31);
        ASSERT_EQ(game->sceneState, nextScene);
    }
    // Steps until the update that runs with spawnFrame at frame, then expects the pool to grow by one
    // in that update and not before.
    void ExpectFiresAt(TaskPool* pool, int frame)
    {
        const int before = Live(pool);
        while (game->spawnFrame < frame) {
            Step();
            ASSERT_EQ(Live(pool), before) << "at frame " << game->spawnFrame;
        }
        Step();
        EXPECT_EQ(Live(pool), before + 1) << "frame " << frame;
    }
    float ZakoX()
    {
        const CEnemy_zako* zako = First<CEnemy_zako>(game->poolEnemyZako);
        return zako ? zako->drawX : -1.0f;
    }
};

TEST_F(NewGameTest, ARestartAfterLosingInStageOneFiresTheFirstRowOnItsFrame)
{
    WriteTable(1, Still(0, 10, 100) + Still(0, 300, 200) + Still(0, 400, 300));
    Step();
    Decide();
    EXPECT_EQ(h->messageBoxes.shown.size(), 1u);  // table 2 is missing
    ExpectFiresAt(game->poolEnemyZako, 10);
    ExpectFiresAt(game->poolEnemyZako, 300);
    Step(50);
    Lose();
    Step(20);
    EXPECT_EQ(game->spawnFrame, 0);
    Decide();
    EXPECT_EQ(Live(game->poolEnemyZako), 0);
    ExpectFiresAt(game->poolEnemyZako, 10);
    EXPECT_EQ(ZakoX(), 84.0f);
    EXPECT_EQ(h->messageBoxes.shown.size(), 1u) << "a missing table is reported once, at the first start";
}

TEST_F(NewGameTest, EveryGameReadsBothTablesFromTheTopAndKeepsTheScore)
{
    WriteTable(1, Still(0, 5, 100) + "100 20 1 300 50 0 1 0 0\n");
    WriteTable(2, Still(1, 5, 400) + Still(2, 60, 450) + "200 100 1 300 50 0 1 0 0\n");
    auto fromTheTop = [&] {
        ExpectFiresAt(game->poolEnemyZako, 5);
        EXPECT_EQ(ZakoX(), 84.0f);
        ExpectFiresAt(game->poolBoss1, 20);
        Beat(game->poolBoss1, SCENE_STAGE2);
        EXPECT_EQ(game->spawnFrame, 0);
        ExpectFiresAt(game->poolEnemyShot, 5);
    };
    Step();
    Decide();
    fromTheTop();
    Step(10);  // holding the strong enemy's row when the ship is lost
    Lose();
    const int score = game->score;
    EXPECT_GT(score, 0);

    Decide();  // Restart: a continue, back to stage 1
    EXPECT_EQ(game->score, score);
    EXPECT_TRUE(game->bossActive) << "enemy shots live as they did in the first game";
    fromTheTop();
    ExpectFiresAt(game->poolEnemyStrong, 60);
    ExpectFiresAt(game->poolBoss2, 100);
    Beat(game->poolBoss2, SCENE_TITLE);
    EXPECT_GT(game->score, score);

    const int won = game->score;
    Step();
    Decide();  // Game_Start: a new game, the score carried over
    fromTheTop();
    EXPECT_GT(game->score, won);
    EXPECT_EQ(h->messageBoxes.shown.size(), 0u);
    EXPECT_EQ(Live(game->poolEControl), 1);
}

// Whatever a table holds, the controller neither crashes nor reads past a bad token.
TEST_F(SpawnControlTest, HostileTablesStallWhereTheyGoBad)
{
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 37) & 0xFF);
    WriteTable(1, Still(0, 0, 400) + "0 0 99999999999 nan - " + std::string(2 * 1024 * 1024, '9') + binary);
    WriteTable(2, "0 0 1 nan 100 0 0 0 16\n" + Still(0, 1, 200));
    CE_Control* control = StartWithController();
    Step(100);
    EXPECT_EQ(Live(game->poolEnemyZako), 1);
    EXPECT_EQ(control->row.frame, 0);  // converted before the huge number; already passed, so it never fires
    EXPECT_TRUE(control->table1.IsBlocked());

    game->sceneState = SCENE_STAGE2;
    game->spawnFrame = 0;
    game->readNextRow = true;
    Step(100);
    EXPECT_EQ(Live(game->poolEnemyZako), 2);  // the partial row fires with the old position
    TaskIter it(game->poolEnemyZako);
    while (it.HasNext()) EXPECT_EQ(static_cast<CEnemy_zako*>(it.Next())->drawX, 384.0f);
    EXPECT_TRUE(control->table2.IsBlocked());
}

}  // namespace
}  // namespace enemytest
