#include "game/CBackGround.h"

#include <cstdint>

#include "app/CQovGame.h"
#include "enemy/CE_Control.h"
#include "game/CEffect_Fade.h"
#include "game/CPlayer.h"
#include "gfx/CTexture.h"
#include "gfx/DrawUtil.h"
#include "platform/Platform.h"
#include "platform/WinTypes.h"
#include "task/TaskPool.h"

ZEN_TASK_ALLOCATION_IMPL(CBackGround, poolBackGround)

namespace {

constexpr int kTitleStart = 30;
constexpr int kTitleOption = 190;
constexpr int kTitleEnd = 410;
constexpr int kOverRestart = 365;
constexpr int kOverEnd = 435;

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kHighlight = 0xFF8080C8u;

void DrawAt(CTexture* tex, float x, float y, std::uint32_t colour)
{
    if (tex) tex->Draw(x, y, colour);
}

}  // namespace

CBackGround::CBackGround() : CTask(g_game->poolBackGround)
{
    g_game->score = 0;
    g_game->energyStock = 3;
    g_game->sceneState = SCENE_TITLE;
}

bool CBackGround::Update()
{
    CQovGame* game = g_game;
    if (resetPointer) {
        if (game->sceneState == SCENE_TITLE) {
            pointerX = kTitleStart;
            pointerY = 512;
            resetPointer = false;
        } else if (game->sceneState == SCENE_GAME_OVER) {
            pointerX = 250;
            pointerY = kOverRestart;
            resetPointer = false;
        }
    }
    UpdateTitle();
    UpdateGameOver();
    return true;
}

void CBackGround::UpdateTitle()
{
    CQovGame* game = g_game;
    if (game->GetIs(0, KEY_SHOT) && game->sceneState == SCENE_TITLE) {
        switch (pointerX) {
        case kTitleStart:
            game->PlaySE(game->seDecide);
            ++countdown;
            new CEffect_Fade();
            break;
        case kTitleOption:
            game->PlaySE(game->seDecide);
            Sys().messageBox->Show(false, "未実装です", "オプション", win::MB_OK);
            break;
        case kTitleEnd:
            game->PlaySE(game->seDecide);
            ExitProcess(1);
        default:
            break;
        }
    }
    if (countdown > 0) ++countdown;
    if (countdown > 60 && game->sceneState == SCENE_TITLE) {
        // The score carries over from earlier games: only the program's start sets it.
        game->sceneState = SCENE_STAGE1;
        if (firstStart) {
            new CE_Control();
            firstStart = false;
        }
        new CPlayer(300.0f, 500.0f);
        resetPointer = true;
        countdown = 0;
    }
    if (!moveHeld) {
        if (game->GetIs(0, KEY_RIGHT) && game->sceneState == SCENE_TITLE) {
            game->PlaySE(game->seSelect);
            pointerX = pointerX == kTitleStart ? kTitleOption : pointerX == kTitleOption ? kTitleEnd : kTitleStart;
        } else if (game->GetIs(0, KEY_LEFT) && game->sceneState == SCENE_TITLE) {
            game->PlaySE(game->seSelect);
            pointerX = pointerX == kTitleStart ? kTitleEnd : pointerX == kTitleOption ? kTitleStart : kTitleOption;
        }
    }
    if (game->sceneState == SCENE_TITLE) moveHeld = game->GetIs(0, KEY_RIGHT) || game->GetIs(0, KEY_LEFT);
}

void CBackGround::UpdateGameOver()
{
    CQovGame* game = g_game;
    if (game->GetIs(0, KEY_SHOT) && game->sceneState == SCENE_GAME_OVER) {
        switch (pointerY) {
        case kOverRestart:
            game->PlaySE(game->seDecide);
            ++countdown;
            new CEffect_Fade();
            break;
        case kOverEnd:
            game->PlaySE(game->seDecide);
            ExitProcess(1);
        default:
            break;
        }
    }
    if (countdown > 0) ++countdown;
    if (countdown > 60 && game->sceneState == SCENE_GAME_OVER) {
        game->sceneState = SCENE_STAGE1;
        new CPlayer(300.0f, 500.0f);
        resetPointer = true;
        countdown = 0;
    }
    if (!moveHeld) {
        const bool toggle = (game->GetIs(0, KEY_DOWN) || game->GetIs(0, KEY_UP)) && game->sceneState == SCENE_GAME_OVER;
        if (toggle) {
            game->PlaySE(game->seSelect);
            pointerY = pointerY == kOverRestart ? kOverEnd : kOverRestart;
        }
    }
    if (game->sceneState == SCENE_GAME_OVER) moveHeld = game->GetIs(0, KEY_DOWN) || game->GetIs(0, KEY_UP);
}

void CBackGround::Draw()
{
    CQovGame* game = g_game;
    switch (game->sceneState) {
    case SCENE_STAGE1:
        if (game->texSky1) DrawBG_Scroll(game->texSky1, 2, 1);
        break;
    case SCENE_STAGE2:
        if (game->texSky2) DrawBG_Scroll(game->texSky2, 2, 1);
        break;
    case SCENE_TITLE:
        DrawTitle();
        break;
    case SCENE_GAME_OVER:
        DrawGameOver();
        break;
    default:
        break;
    }
}

void CBackGround::DrawTitle()
{
    CQovGame* game = g_game;
    DrawAt(game->texTitle, 0.0f, -50.0f, kWhite);
    DrawAt(game->texPointer, static_cast<float>(pointerX), static_cast<float>(pointerY), kWhite);
    DrawAt(game->texGameStart, 10.0f, 500.0f, pointerX == kTitleStart ? kHighlight : kWhite);
    DrawAt(game->texOption, 200.0f, 500.0f, pointerX == kTitleOption ? kHighlight : kWhite);
    DrawAt(game->texGameEnd, 390.0f, 500.0f, pointerX == kTitleEnd ? kHighlight : kWhite);
}

void CBackGround::DrawGameOver()
{
    CQovGame* game = g_game;
    DrawAt(game->texGameOver, 0.0f, 0.0f, kWhite);
    DrawAt(game->texPointer, static_cast<float>(pointerX), static_cast<float>(pointerY), kWhite);
    DrawAt(game->texRestart, 240.0f, 350.0f, kWhite);
    DrawAt(game->texGameEnd, 250.0f, 420.0f, kWhite);
}
