#include "game/CStage.h"

#include "app/CQovGame.h"
#include "gfx/CBitmapFont.h"
#include "task/TaskPool.h"
#include "util/StringUtil.h"

ZEN_TASK_ALLOCATION_IMPL(CStage, poolStage)

CStage::CStage() : CTask(g_game->poolStage)
{
    g_game->PlayBGM("all.mid");
}

void CStage::Draw()
{
    CQovGame* game = g_game;
    scoreText = IntToString(game->score);
    energyText = IntToString(game->energyStock);
    if (CBitmapFont* font = game->fontMain) {
        font->DrawText("Score:", 610.0f, 0.0f, 0xFFFFFFFFu);
        font->DrawText("Energy:", 610.0f, 40.0f, 0xFFFFFFFFu);
        font->DrawText("BulletPower:", 610.0f, 80.0f, 0xFFFFFFFFu);
        font->DrawText(scoreText, 650.0f, 20.0f, 0xFFFFFFFFu);
        font->DrawText(energyText, 650.0f, 60.0f, 0xFFFFFFFFu);
    }
    game->dxFont.DrawText(game->sprite, 700, 550, 0xFFFFFFFFu, "ver1.00");
}
