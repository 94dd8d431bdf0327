#include "app/CQovGame.h"

#include <cstdlib>
#include <ctime>

#include "app/CInput.h"
#include "app/CRenderDevice.h"
#include "platform/Platform.h"
#include "task/TaskPool.h"

CQovGame* g_game = nullptr;

CQovGame::CQovGame() : CGame("Zenthar")
{
    LoadResources();
    CreatePools();
}

CQovGame::~CQovGame()
{
    // Only meshes and the text font are released; pools and live tasks go with the process.
    ReleaseMeshes();
}

bool CQovGame::GetIs(int player, int key)
{
    PadState* pad = playerPad[player];
    if (key < 0 || key > KEY_DOWN) {
        Sys().messageBox->Show(false, "キーが不正です", "関数GetIs", win::MB_OK);
        return false;
    }
    if (!pad) return false;
    switch (key) {
    case KEY_RIGHT: return pad->right;
    case KEY_LEFT: return pad->left;
    case KEY_UP: return pad->up;
    case KEY_DOWN: return pad->down;
    default: break;
    }
    // A map entry from the configuration may name a button that does not exist: never held.
    const std::int32_t button = joyButtonMap[key][player];
    return button >= 0 && button < 128 && pad->buttons[button];
}

void CQovGame::Update()
{
    input->Update();
    UpdateTasks(poolPause);
    UpdateTasks(poolEffect);
    if (paused) return;
    UpdateTasks(poolStage);
    UpdateTasks(poolPlayer);
    UpdateTasks(poolBullet);
    UpdateTasks(poolBulletS);
    UpdateTasks(poolBackGround);
    UpdateTasks(poolEControl);
    UpdateTasks(poolEnemyZako);
    UpdateTasks(poolEnemyShot);
    UpdateTasks(poolEnemyStrong);
    UpdateTasks(poolEnemyBullet);
    UpdateTasks(poolBoss1);
    UpdateTasks(poolBoss2);
    UpdateTasks(poolBossF);
}

void CQovGame::Draw()
{
    const int w = renderDevice->GetWidth();
    const int h = renderDevice->GetHeight();
    renderDevice->SetViewport(0, 0, w, h, 0.0f, 1.0f);
    renderDevice->Clear(0x00000000u);

    renderDevice->SetViewport(0, 0, w - 200, h, 0.0f, 1.0f);
    DrawTasks(poolBackGround);
    DrawTasks(poolPlayer);
    DrawTasks(poolBullet);
    DrawTasks(poolBulletS);
    DrawTasks(poolEControl);
    DrawTasks(poolEnemyZako);
    DrawTasks(poolEnemyShot);
    DrawTasks(poolEnemyStrong);
    DrawTasks(poolEnemyBullet);
    DrawTasks(poolBoss1);
    DrawTasks(poolBoss2);
    DrawTasks(poolBossF);
    DrawTasks(poolEffect);

    renderDevice->SetViewport(w - 200, 0, 200, h, 0.0f, 1.0f);
    DrawTasks(poolStage);
}

void CQovGame::OnResetDevice()
{
    IGraphics* device = renderDevice->GetDevice();
    if (!device || !device->HasDevice()) return;
    RenderState s = device->GetRenderState();
    s.alphaBlendEnable = true;
    s.srcBlend = BlendFactor::SrcAlpha;
    s.destBlend = BlendFactor::InvSrcAlpha;
    s.ditherEnable = false;
    s.specularEnable = false;
    s.cullMode = CullMode::Ccw;
    s.lighting = true;
    s.zEnable = true;
    s.ambient = 0x006F6F6Fu;
    s.alphaRef = 1;
    s.alphaTestEnable = true;
    s.alphaFunc = CompareFunc::GreaterEqual;
    s.stage0.colorOp = TextureOp::Modulate;
    s.stage0.colorArg1 = TextureArg::Texture;
    s.stage0.colorArg2 = TextureArg::Diffuse;
    s.stage0.alphaOp = TextureOp::Modulate;
    s.stage0.alphaArg1 = TextureArg::Texture;
    s.stage0.alphaArg2 = TextureArg::Diffuse;
    s.world = Matrix4();
    device->SetRenderState(s);
    renderDevice->SetDirectionalLight(0, -1.0f, -200.0f, -1.0f, 1000.0f);
}
