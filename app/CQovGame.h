// This game's object: assets, configuration, the gameplay fields tasks share, and the task pools.
#pragma once
#include <cstdint>
#include <list>
#include <string>

#include "app/CGame.h"
#include "gfx/CDXFont.h"

class CAnimMesh;
class CBgmPlayer;
class CBitmapFont;
class CMesh;
class CSound;
class CSoundPlayer;
class CSprite;
class CTexture;
class TaskPool;
struct PadState;

constexpr int SCENE_TITLE = 0;
constexpr int SCENE_GAME_OVER = 2;
constexpr int SCENE_STAGE1 = 4;
constexpr int SCENE_STAGE2 = 5;
// Scenes above this one are stages, those below it menus; 3 itself is never a scene.
constexpr int SCENE_STAGE_THRESHOLD = 3;

// GetIs keys: logical buttons 0 … 9 through the pad button map, then the four directions.
constexpr int KEY_SLOW = 0;
constexpr int KEY_SHOT = 2;  // also decides in menus
constexpr int KEY_PAUSE = 9;
constexpr int KEY_RIGHT = 10;
constexpr int KEY_LEFT = 11;
constexpr int KEY_UP = 12;
constexpr int KEY_DOWN = 13;

class CQovGame final : public CGame {
public:
    CQovGame();
    ~CQovGame();

    void Update() override;
    void Draw() override;
    void OnResetDevice() override;

    // One of the KEY_ values: logical buttons 0 … 9 through joyButtonMap, then right, left, up, down.
    bool GetIs(int player, int key);
    void AddScore(int points) { score += points; }
    void PlaySE(CSound* sound);
    void PlayBGM(const std::string& fileName);
    void DrawNumber(int value, int x, int y);

    CTexture* LoadTexture(const std::string& fileName);
    CSound* LoadSound(const std::string& fileName);
    CMesh* LoadModel(const std::string& name);
    CAnimMesh* LoadAnimModel(const std::string& name);
    CBitmapFont* LoadFont(const std::string& fileName, const std::string& charset, int cellWidth, int cellHeight,
                          int textureWidth, int textureHeight);

    // Resources, in load order.
    std::list<CMesh*> meshes;
    std::list<CAnimMesh*> animMeshes;
    CBitmapFont* fontSample = nullptr;
    CBitmapFont* fontMain = nullptr;
    CSprite* sprite = nullptr;
    CDXFont dxFont;
    std::int32_t joyButtonMap[10][1] = {};
    CMesh* modelSample = nullptr;
    CTexture* texPlayer = nullptr;
    CTexture* texBullet = nullptr;
    CTexture* texBulletS = nullptr;
    CTexture* texTitle = nullptr;
    CTexture* texPointer = nullptr;
    CTexture* texGameStart = nullptr;
    CTexture* texOption = nullptr;
    CTexture* texGameEnd = nullptr;
    CTexture* texBlack = nullptr;
    CTexture* texGameOver = nullptr;
    CTexture* texRestart = nullptr;
    CTexture* texSky1 = nullptr;
    CTexture* texSky2 = nullptr;
    CTexture* texPhenix = nullptr;
    CTexture* texGargoyle = nullptr;
    CTexture* texAmphisbaena = nullptr;
    CTexture* texEnemyBullet = nullptr;
    CTexture* texBossDragon = nullptr;
    CTexture* texBossDragon2 = nullptr;
    CTexture* texBossFinal = nullptr;
    CTexture* texHP = nullptr;
    CSoundPlayer* soundPlayer = nullptr;
    CSound* seSample = nullptr;
    CSound* seSelect = nullptr;
    CSound* seDecide = nullptr;
    CSound* seBullet = nullptr;
    CSound* seEnemyBullet = nullptr;
    CSound* seHit = nullptr;
    CBgmPlayer* bgmPlayer = nullptr;
    std::int32_t cfgBgmVolume = 0;
    std::int32_t cfgSeVolume = 0;

    PadState* playerPad[1] = {};

    // Gameplay fields the tasks share.
    int sceneState = SCENE_TITLE;
    int score = 0;
    int energyStock = 0;
    bool playerAlive = false;
    float playerX = 0.0f;
    float playerY = 0.0f;
    bool paused = false;
    std::int32_t spawnFrame = 0;
    bool readNextRow = false;
    bool bossActive = true;
    float bossX = 0.0f;
    float bossY = 0.0f;

    // One pool per task class, created in this order.
    TaskPool* poolPlayer = nullptr;
    TaskPool* poolBullet = nullptr;
    TaskPool* poolBulletS = nullptr;
    TaskPool* poolEffect = nullptr;
    TaskPool* poolPause = nullptr;
    TaskPool* poolStage = nullptr;
    TaskPool* poolEnemyZako = nullptr;
    TaskPool* poolEnemyShot = nullptr;
    TaskPool* poolEnemyStrong = nullptr;
    TaskPool* poolEnemyBullet = nullptr;
    TaskPool* poolBoss1 = nullptr;
    TaskPool* poolBoss2 = nullptr;
    TaskPool* poolBossF = nullptr;
    TaskPool* poolEControl = nullptr;
    TaskPool* poolBackGround = nullptr;

private:
    void LoadResources();
    void ReleaseMeshes();
    void CreatePools();
};

// The one game object; null until it is completely built.
extern CQovGame* g_game;
