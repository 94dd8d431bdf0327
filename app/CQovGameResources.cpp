// The resource part of the game object: configuration, players, textures, sounds, mesh and fonts.
#include <cstdlib>
#include <ctime>
#include <new>
#include <vector>

#include "app/CInput.h"
#include "app/CQovGame.h"
#include "app/CRenderDevice.h"
#include "gfx/CAnimMesh.h"
#include "gfx/CBitmapFont.h"
#include "gfx/CMesh.h"
#include "gfx/CSprite.h"
#include "gfx/CTexture.h"
#include "platform/Platform.h"
#include "sound/CBgmPlayer.h"
#include "sound/CSound.h"
#include "sound/CSoundPlayer.h"
#include "util/StringUtil.h"

namespace {

const char kSampleCharset[] = "_|0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ=+-*/!?";

// 0x21 … 0x2F, a space, 0x30 … 0x5F, an apostrophe where the grave accent would be, 0x61 … 0x7E.
std::string MainCharset()
{
    std::string s;
    for (int c = 0x21; c <= 0x2F; ++c) s.push_back(static_cast<char>(c));
    s.push_back(' ');
    for (int c = 0x30; c <= 0x5F; ++c) s.push_back(static_cast<char>(c));
    s.push_back('\'');
    for (int c = 0x61; c <= 0x7E; ++c) s.push_back(static_cast<char>(c));
    return s;
}

}  // namespace

void CQovGame::LoadResources()
{
    IGraphics* device = renderDevice->GetDevice();

    dxFont.Create(device, "MS ゴシック", 18, false);
    sprite = nullptr;
    sprite = new CSprite(device);

    std::srand(static_cast<unsigned>(static_cast<std::uint32_t>(std::time(nullptr))));
    confirmExit = false;
    playerPad[0] = input->GetPad(0);
    for (int k = 0; k < 10; ++k) joyButtonMap[k][0] = k;
    bossActive = true;

    // Read twice: volumes from line 2, then the button map from line 1; a missing token is 0.
    std::vector<std::string> lines;
    ReadLines(baseDir + "..\\Config.ini", lines);
    const std::string volumes = lines.size() > 1 ? lines[1] : std::string();
    cfgBgmVolume = ToInt(Split(volumes, 0, " "));
    cfgSeVolume = ToInt(Split(volumes, 1, " "));

    ReadLines(baseDir + "..\\Config.ini", lines);
    const std::string buttons = lines.empty() ? std::string() : lines[0];
    for (int k = 0; k < 10; ++k) joyButtonMap[k][0] = ToInt(Split(buttons, k, " "));
    if (Sys().messageBox) Sys().messageBox->SetPadDecideButton(joyButtonMap[KEY_SHOT][0]);

    // The music player's volume is set before any file is open, which has no effect by design.
    bgmPlayer = new CBgmPlayer();
    bgmPlayer->SetVolume(cfgBgmVolume / 10.0f);
    soundPlayer = new CSoundPlayer(false, 1);
    soundPlayer->SetVolume(cfgSeVolume / 10.0f);

    texPlayer = LoadTexture("p_dragon.png");
    texBullet = LoadTexture("bullet.png");
    texBulletS = LoadTexture("bullet.png");
    texSky1 = LoadTexture("sky.png");
    texSky2 = LoadTexture("sky.png");
    texPointer = LoadTexture("Pointer.png");
    texTitle = LoadTexture("title.png");
    texBlack = LoadTexture("black.png");
    texGameStart = LoadTexture("Game_Start.png");
    texOption = LoadTexture("Option.png");
    texGameEnd = LoadTexture("Game_End.png");
    texGameOver = LoadTexture("Game_Over.png");
    texRestart = LoadTexture("Restart.png");
    texPhenix = LoadTexture("phenix.png");
    texGargoyle = LoadTexture("gargoyle.png");
    texAmphisbaena = LoadTexture("amphisbaena.png");
    texEnemyBullet = LoadTexture("bullet.png");
    texBossDragon = LoadTexture("boss_dragon.png");
    texBossDragon2 = LoadTexture("boss_dragon.png");
    texBossFinal = LoadTexture("boss_final.png");
    texHP = LoadTexture("HP.png");

    seSample = LoadSound("sample.wav");
    seSelect = LoadSound("select.wav");
    seDecide = LoadSound("decide.wav");
    seBullet = LoadSound("bullet.wav");
    seEnemyBullet = LoadSound("ebullet.wav");
    seHit = LoadSound("hit.wav");

    modelSample = LoadModel("sample");

    fontSample = LoadFont("FontSample.png", kSampleCharset, 16, 16, 256, 256);
    fontMain = LoadFont("Font.png", MainCharset(), 13, 21, 208, 126);
}

void CQovGame::ReleaseMeshes()
{
    for (CMesh* mesh : meshes) delete mesh;
    for (CAnimMesh* mesh : animMeshes) delete mesh;
    meshes.clear();
    animMeshes.clear();
}

// The loaders allocate without throwing: a failed allocation leaves the slot null, which its users
// check.
CTexture* CQovGame::LoadTexture(const std::string& fileName)
{
    return new (std::nothrow) CTexture(renderDevice->GetDevice(), baseDir + "..\\Texture\\" + fileName);
}

CSound* CQovGame::LoadSound(const std::string& fileName)
{
    CSound* sound = new (std::nothrow) CSound(baseDir + "..\\Sound\\" + fileName);
    if (sound) soundPlayer->Register(sound);
    return sound;
}

CMesh* CQovGame::LoadModel(const std::string& name)
{
    CMesh* mesh =
        new (std::nothrow) CMesh(renderDevice->GetDevice(), baseDir + "..\\Model\\" + name + ".x", true);
    if (mesh) meshes.push_back(mesh);
    return mesh;
}

CAnimMesh* CQovGame::LoadAnimModel(const std::string& name)
{
    const std::string path = baseDir + "..\\AnimModel\\" + name + "\\" + name + ".x";
    CAnimMesh* mesh = new (std::nothrow) CAnimMesh(renderDevice->GetDevice(), path);
    if (mesh) animMeshes.push_back(mesh);
    return mesh;
}

CBitmapFont* CQovGame::LoadFont(const std::string& fileName, const std::string& charset, int cellWidth,
                                int cellHeight, int textureWidth, int textureHeight)
{
    return new (std::nothrow)
        CBitmapFont(renderDevice->GetDevice(), baseDir + "..\\Font\\" + fileName, charset,
                    static_cast<float>(cellWidth) / static_cast<float>(textureWidth),
                    static_cast<float>(cellHeight) / static_cast<float>(textureHeight),
                    static_cast<float>(cellWidth), static_cast<float>(cellHeight), 2.0f, 2.0f);
}
