#include "enemy/EnemyContact.h"

#include <climits>

#include "app/CQovGame.h"
#include "game/CPlayer.h"
#include "task/TaskPool.h"

int CountShotHits(const CMobTask& target)
{
    int hits = 0;
    TaskIter it(g_game->poolBullet);
    while (it.HasNext()) {
        if (target.HitTest(static_cast<CMobTask*>(it.Next()))) ++hits;
    }
    return hits;
}

void HurtTouchingPlayers(const CMobTask& source, int amount)
{
    TaskIter it(g_game->poolPlayer);
    while (it.HasNext()) {
        CPlayer* player = static_cast<CPlayer*>(it.Next());
        if (source.HitTest(player) && player->energy > INT_MIN + amount) player->energy -= amount;
    }
}

int LoseHitPoints(int hp, int hits)
{
    return hp < INT_MIN + hits ? INT_MIN : hp - hits;
}
