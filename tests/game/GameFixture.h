// The whole game object on the headless back end, stepped one update at a time.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/CQovGame.h"
#include "app/Entry.h"
#include "game/CBackGround.h"
#include "game/CPlayer.h"
#include "platform/HeadlessPlatform.h"
#include "platform/audio/HeadlessAudio.h"
#include "task/TaskPool.h"

namespace gametest {

// Keyboard keys of pad 0 with the shipped button map.
constexpr int kUp = 0x1F;      // S
constexpr int kDown = 0x2D;    // X
constexpr int kLeft = 0x2C;    // Z
constexpr int kRight = 0x2E;   // C
constexpr int kSlow = 0x2F;    // V, logical 0
constexpr int kDecide = 0x21;  // F, logical 2: shot and menu decide
constexpr int kPause = 0x39;   // Space, logical 9

template <class T>
T* First(TaskPool* pool)
{
    TaskIter it(pool);
    return it.HasNext() ? static_cast<T*>(it.Next()) : nullptr;
}

class GameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        h = &headless::Install();
        h->files.moduleFileName = Backslashed(std::string(ZENTHAR_STAGE_DIR) + "/bin/zenthar");
        h->files.currentDirectory = Backslashed(QuietRoot());
        game = CreateGame();
    }
    void TearDown() override
    {
        delete game;
        g_game = nullptr;
    }

    // A working directory whose spawn tables are empty, so no enemy disturbs the play being measured.
    static std::string QuietRoot()
    {
        const std::filesystem::path root = std::filesystem::path(::testing::TempDir()) / "zenthar_quiet";
        std::filesystem::create_directories(root / "Table");
        std::ofstream(root / "Table" / "table1.txt");
        std::ofstream(root / "Table" / "table2.txt");
        return root.string();
    }

    static std::string Backslashed(std::string path)
    {
        for (char& c : path)
            if (c == '/') c = '\\';
        return path;
    }

    void Step(int n = 1)
    {
        for (int i = 0; i < n; ++i) game->Update();
    }
    void Hold(int dik, bool held = true) { h->input.SetKey(dik, held); }
    void Tap(int dik)
    {
        Hold(dik);
        Step();
        Hold(dik, false);
    }

    int Played(const char* fileName) const { return h->audio.PlayCount(fileName); }

    CBackGround* Menu() { return First<CBackGround>(game->poolBackGround); }
    CPlayer* Player() { return First<CPlayer>(game->poolPlayer); }

    // From the title into stage 1 with a one-frame decide.
    void StartStage()
    {
        Step();
        Tap(kDecide);
        Step(30);
        ASSERT_EQ(game->sceneState, SCENE_STAGE1);
    }
    // Runs the player's death sequence out.
    void LoseGame()
    {
        Player()->energy = 0;
        Step(31);
        ASSERT_EQ(game->sceneState, SCENE_GAME_OVER);
    }

    headless::HeadlessPlatform* h = nullptr;
    CQovGame* game = nullptr;
};

}  // namespace gametest
