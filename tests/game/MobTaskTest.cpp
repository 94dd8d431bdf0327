#include "game/CMobTask.h"

#include <gtest/gtest.h>

#include "task/TaskPool.h"

namespace {

struct Box : CMobTask {
    Box(TaskPool* pool, float x, float y, float l, float t, float r, float b) : CMobTask(pool, x, y, l, t, r, b) {}
};

// An enemy's 32 x 32 box from (100, 100) against a shot's 8 x 8 box, which sits 4 in from its corner.
TEST(MobTaskTest, BoxesOverlapStrictlyAndWhicheverAsks)
{
    TaskPool pool(sizeof(Box), 1);
    const Box enemy(&pool, 100.0f, 100.0f, 0.0f, 0.0f, 32.0f, 32.0f);
    const struct {
        float x, y;
        bool hit;
    } cases[] = {
        {128.0f, 110.0f, false}, {127.75f, 110.0f, true},  // at the right edge: touching, then a quarter in
        {88.0f, 110.0f, false},  {88.25f, 110.0f, true},   // left
        {110.0f, 128.0f, false}, {110.0f, 127.75f, true},  // bottom
        {110.0f, 88.0f, false},  {110.0f, 88.25f, true},   // top
        {110.0f, 110.0f, true},                            // wholly inside
    };
    for (const auto& c : cases) {
        const Box shot(&pool, c.x, c.y, 4.0f, 4.0f, 12.0f, 12.0f);
        EXPECT_EQ(enemy.HitTest(&shot), c.hit) << c.x << ", " << c.y;
        EXPECT_EQ(shot.HitTest(&enemy), c.hit) << c.x << ", " << c.y;
    }
}

}  // namespace
