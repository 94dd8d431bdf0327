// The game on the headless back end with spawn tables of the test's own, in a scratch working directory.
#pragma once
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/CQovGame.h"
#include "app/Entry.h"
#include "enemy/CE_Control.h"
#include "game/CPlayer.h"
#include "gfx/CTexture.h"
#include "platform/HeadlessPlatform.h"
#include "task/TaskPool.h"

namespace enemytest {

template <class T>
T* First(TaskPool* pool)
{
    TaskIter it(pool);
    return it.HasNext() ? static_cast<T*>(it.Next()) : nullptr;
}

inline int Live(TaskPool* pool)
{
    return pool->LiveCount();
}

inline std::string Backslashed(std::string path)
{
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

class EnemyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/zenthar-enemy-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        std::filesystem::create_directory(dir + "/Table");
        h = &headless::Install();
        h->files.moduleFileName = Backslashed(std::string(ZENTHAR_STAGE_DIR) + "/bin/zenthar");
        h->files.currentDirectory = Backslashed(dir);
        game = CreateGame();
    }
    void TearDown() override
    {
        delete game;
        g_game = nullptr;
        std::filesystem::remove_all(dir);
    }

    void WriteTable(int n, const std::string& text)
    {
        std::FILE* f = std::fopen((dir + "/Table/table" + std::to_string(n) + ".txt").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }

    // Stage 1 in play with a ship far from the action and a controller over the tables written so far.
    CE_Control* StartWithController()
    {
        game->sceneState = SCENE_STAGE1;
        PlaceShip(5.0f, 580.0f);
        return new CE_Control();
    }
    // A ship parked so that nothing of the test touches it.
    CPlayer* PlaceShip(float x, float y)
    {
        CPlayer* p = First<CPlayer>(game->poolPlayer);
        if (!p) p = new CPlayer(x + 16.0f, y + 16.0f);
        p->posX = p->x = x;
        p->posY = p->y = y;
        game->playerX = x;
        game->playerY = y;
        return p;
    }

    // A picture slot the resources left empty gets the staged file, so draws can be checked.
    void EnsureTexture(CTexture*& slot, const std::string& file)
    {
        if (!slot) slot = new CTexture(&h->graphics, Backslashed(std::string(ZENTHAR_STAGE_DIR) + "/Texture/" + file));
    }
    int QuadsColoured(std::uint32_t colour) const
    {
        int n = 0;
        for (const auto& q : h->graphics.quads) n += q.colour == colour;
        return n;
    }

    void Step(int n = 1)
    {
        for (int i = 0; i < n; ++i) game->Update();
    }

    std::string dir;
    headless::HeadlessPlatform* h = nullptr;
    CQovGame* game = nullptr;
};

}  // namespace enemytest
