// The heaviest scene the pools allow, built straight into them and held there step after step.
#pragma once
#include <vector>

class CQovGame;
class TaskPool;

namespace bench {

class WorstCaseLoad {
public:
    static constexpr int kPlayerShots = 1000;
    static constexpr int kEnemyShots = 1000;
    static constexpr int kEnemiesPerKind = 20;

    // Stage 1 in play: a ship with its satellites, every pool filled, the first boss in its attack phase.
    explicit WorstCaseLoad(CQovGame* game);

    // Puts every shot back where it started and re-creates anything that died, so the next step meets the
    // same load. Shots are laid out where they hit nothing: every hit test is made and none ends early.
    void Restore();

    // Live tasks in the pools that make up the load.
    int PlayerShots() const;
    int EnemyShots() const;
    int Enemies() const;
    int Bosses() const;
    int Satellites() const;

private:
    struct Spot {
        float x, y;
    };
    void TopUpShots();
    void TopUpEnemies();

    CQovGame* game_;
    std::vector<Spot> playerShots_;
    std::vector<Spot> enemyShots_;
};

}  // namespace bench
