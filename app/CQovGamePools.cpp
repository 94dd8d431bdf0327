// The fifteen task pools, sized by their classes (a class not yet written gets a generous node).
#include "app/CQovGame.h"
#include "task/TaskPool.h"

#if __has_include("game/CPlayer.h")
#include "game/CPlayer.h"
#define SIZE_CPlayer sizeof(CPlayer)
#else
#define SIZE_CPlayer 256
#endif
#if __has_include("game/CBullet.h")
#include "game/CBullet.h"
#define SIZE_CBullet sizeof(CBullet)
#else
#define SIZE_CBullet 256
#endif
#if __has_include("game/CBullet_s.h")
#include "game/CBullet_s.h"
#define SIZE_CBullet_s sizeof(CBullet_s)
#else
#define SIZE_CBullet_s 256
#endif
#if __has_include("game/CEffect.h")
#include "game/CEffect.h"
#define SIZE_CEffect kEffectPoolElementSize
#else
#define SIZE_CEffect 256
#endif
#if __has_include("game/CPause.h")
#include "game/CPause.h"
#define SIZE_CPause sizeof(CPause)
#else
#define SIZE_CPause 256
#endif
#if __has_include("game/CStage.h")
#include "game/CStage.h"
#define SIZE_CStage sizeof(CStage)
#else
#define SIZE_CStage 256
#endif
#if __has_include("enemy/CEnemy_zako.h")
#include "enemy/CEnemy_zako.h"
#define SIZE_CEnemy_zako sizeof(CEnemy_zako)
#else
#define SIZE_CEnemy_zako 256
#endif
#if __has_include("enemy/CEnemy_shot.h")
#include "enemy/CEnemy_shot.h"
#define SIZE_CEnemy_shot sizeof(CEnemy_shot)
#else
#define SIZE_CEnemy_shot 256
#endif
#if __has_include("enemy/CEnemy_strong.h")
#include "enemy/CEnemy_strong.h"
#define SIZE_CEnemy_strong sizeof(CEnemy_strong)
#else
#define SIZE_CEnemy_strong 256
#endif
#if __has_include("enemy/CEnemy_bullet.h")
#include "enemy/CEnemy_bullet.h"
#define SIZE_CEnemy_bullet sizeof(CEnemy_bullet)
#else
#define SIZE_CEnemy_bullet 256
#endif
#if __has_include("enemy/CBoss_1.h")
#include "enemy/CBoss_1.h"
#define SIZE_CBoss_1 sizeof(CBoss_1)
#else
#define SIZE_CBoss_1 256
#endif
#if __has_include("enemy/CBoss_2.h")
#include "enemy/CBoss_2.h"
#define SIZE_CBoss_2 sizeof(CBoss_2)
#else
#define SIZE_CBoss_2 256
#endif
#if __has_include("enemy/CBoss_F.h")
#include "enemy/CBoss_F.h"
#define SIZE_CBoss_F sizeof(CBoss_F)
#else
#define SIZE_CBoss_F 256
#endif
#if __has_include("enemy/CE_Control.h")
#include "enemy/CE_Control.h"
#define SIZE_CE_Control sizeof(CE_Control)
#else
#define SIZE_CE_Control 256
#endif
#if __has_include("game/CBackGround.h")
#include "game/CBackGround.h"
#define SIZE_CBackGround sizeof(CBackGround)
#else
#define SIZE_CBackGround 256
#endif

void CQovGame::CreatePools()
{
    poolPlayer = new TaskPool(SIZE_CPlayer, 2);
    poolBullet = new TaskPool(SIZE_CBullet, 1000);
    poolBulletS = new TaskPool(SIZE_CBullet_s, 2);
    poolEffect = new TaskPool(SIZE_CEffect, 10);
    poolPause = new TaskPool(SIZE_CPause, 2);
    poolStage = new TaskPool(SIZE_CStage, 2);
    poolEnemyZako = new TaskPool(SIZE_CEnemy_zako, 20);
    poolEnemyShot = new TaskPool(SIZE_CEnemy_shot, 20);
    poolEnemyStrong = new TaskPool(SIZE_CEnemy_strong, 20);
    poolEnemyBullet = new TaskPool(SIZE_CEnemy_bullet, 1000);
    poolBoss1 = new TaskPool(SIZE_CBoss_1, 2);
    poolBoss2 = new TaskPool(SIZE_CBoss_2, 2);
    poolBossF = new TaskPool(SIZE_CBoss_F, 2);
    poolEControl = new TaskPool(SIZE_CE_Control, 2);
    poolBackGround = new TaskPool(SIZE_CBackGround, 2);
}
