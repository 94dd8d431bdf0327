// The fifteen task pools, each node sized by its class.
#include "app/CQovGame.h"
#include "enemy/CBoss_1.h"
#include "enemy/CBoss_2.h"
#include "enemy/CBoss_F.h"
#include "enemy/CE_Control.h"
#include "enemy/CEnemy_bullet.h"
#include "enemy/CEnemy_shot.h"
#include "enemy/CEnemy_strong.h"
#include "enemy/CEnemy_zako.h"
#include "game/CBackGround.h"
#include "game/CBullet.h"
#include "game/CBullet_s.h"
#include "game/CEffect.h"
#include "game/CPause.h"
#include "game/CPlayer.h"
#include "game/CStage.h"
#include "task/TaskPool.h"

void CQovGame::CreatePools()
{
    poolPlayer = new TaskPool(sizeof(CPlayer), 2);
    poolBullet = new TaskPool(sizeof(CBullet), 1000);
    poolBulletS = new TaskPool(sizeof(CBullet_s), 2);
    // Fade-out and fade-in share this pool; their headers check they fit.
    poolEffect = new TaskPool(kEffectPoolElementSize, 10);
    poolPause = new TaskPool(sizeof(CPause), 2);
    poolStage = new TaskPool(sizeof(CStage), 2);
    poolEnemyZako = new TaskPool(sizeof(CEnemy_zako), 20);
    poolEnemyShot = new TaskPool(sizeof(CEnemy_shot), 20);
    poolEnemyStrong = new TaskPool(sizeof(CEnemy_strong), 20);
    poolEnemyBullet = new TaskPool(sizeof(CEnemy_bullet), 1000);
    poolBoss1 = new TaskPool(sizeof(CBoss_1), 2);
    poolBoss2 = new TaskPool(sizeof(CBoss_2), 2);
    poolBossF = new TaskPool(sizeof(CBoss_F), 2);
    poolEControl = new TaskPool(sizeof(CE_Control), 2);
    poolBackGround = new TaskPool(sizeof(CBackGround), 2);
}
