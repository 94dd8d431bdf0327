#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "task/CTask.h"
#include "task/TaskPool.h"

namespace {

// Tasks of two pools, with a script of what each does on its update.
std::vector<int>* g_log = nullptr;

template <int Tag>
class ProbeTask : public CTask {
public:
    static TaskPool* pool;
    static void* operator new(std::size_t size) noexcept { return pool->Allocate(size); }
    static void operator delete(void* node) noexcept { pool->Release(node); }

    explicit ProbeTask(int id_, std::function<bool(ProbeTask*)> onUpdate_ = nullptr)
        : CTask(pool), id(id_), onUpdate(std::move(onUpdate_))
    {
    }
    bool Update() override
    {
        if (g_log) g_log->push_back(id);
        ++updates;
        return onUpdate ? onUpdate(this) : true;
    }
    void Draw() override
    {
        if (g_log) g_log->push_back(-id);
    }

    int id;
    int updates = 0;
    std::function<bool(ProbeTask*)> onUpdate;
};
template <int Tag>
TaskPool* ProbeTask<Tag>::pool = nullptr;

using TaskA = ProbeTask<0>;
using TaskB = ProbeTask<1>;

class TaskPoolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        poolA = new TaskPool(sizeof(TaskA), 4);
        poolB = new TaskPool(sizeof(TaskB), 4);
        TaskA::pool = poolA;
        TaskB::pool = poolB;
        g_log = &log;
    }
    void TearDown() override
    {
        g_log = nullptr;
        for (TaskPool* p : {poolA, poolB}) {
            TaskIter it(p);
            while (it.HasNext()) {
                it.Next();
                it.DestroyCurrent();
            }
            delete p;
        }
    }
    std::vector<int> Ids(TaskPool* p)
    {
        std::vector<int> ids;
        TaskIter it(p);
        while (it.HasNext()) ids.push_back(static_cast<TaskA*>(it.Next())->id);
        return ids;
    }

    TaskPool* poolA = nullptr;
    TaskPool* poolB = nullptr;
    std::vector<int> log;
};

TEST_F(TaskPoolTest, FullPoolYieldsNullWithoutConstructingAndReusesTheLastNodeGivenBack)
{
    TaskPool* small = new TaskPool(sizeof(TaskA), 2);
    TaskA::pool = small;
    TaskA* a = new TaskA(1);
    TaskA* b = new TaskA(2);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    int constructed = 0;
    TaskA* c = new TaskA(3, [&](TaskA*) { ++constructed; return true; });
    EXPECT_EQ(c, nullptr);
    EXPECT_EQ(small->freeCount, 0);
    EXPECT_TRUE(small->CheckInvariants());

    delete a;  // node goes back to the free list
    EXPECT_EQ(small->freeCount, 1);
    TaskA* d = new TaskA(4);
    EXPECT_EQ(static_cast<void*>(d), static_cast<void*>(a));
    EXPECT_EQ(Ids(small), (std::vector<int>{2, 4}));  // creation order, not node order
    delete b;
    delete d;
    EXPECT_EQ(small->freeCount, 2);
    EXPECT_TRUE(small->CheckInvariants());
    delete small;
}

TEST_F(TaskPoolTest, FreshPoolHandsOutNodesInAddressOrder)
{
    TaskA* a = new TaskA(1);
    TaskA* b = new TaskA(2);
    EXPECT_EQ(static_cast<void*>(a), static_cast<void*>(poolA->Node(2)));
    EXPECT_EQ(static_cast<void*>(b), static_cast<void*>(poolA->Node(3)));
}

TEST_F(TaskPoolTest, DestroyingFirstMiddleAndLastInOneWalkUpdatesEveryOtherTaskOnce)
{
    TaskPool* big = new TaskPool(sizeof(TaskA), 8);
    TaskA::pool = big;
    std::vector<TaskA*> tasks;
    for (int i = 1; i <= 7; ++i) {
        const bool dies = i == 1 || i == 4 || i == 7;
        tasks.push_back(new TaskA(i, [dies](TaskA*) { return !dies; }));
    }
    UpdateTasks(big);
    EXPECT_EQ(log, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(Ids(big), (std::vector<int>{2, 3, 5, 6}));
    EXPECT_TRUE(big->CheckInvariants());
    EXPECT_EQ(big->freeCount, 4);

    log.clear();
    UpdateTasks(big);
    EXPECT_EQ(log, (std::vector<int>{2, 3, 5, 6}));

    // All die: the pool is whole again.
    for (TaskA* t : {tasks[1], tasks[2], tasks[4], tasks[5]}) t->onUpdate = [](TaskA*) { return false; };
    UpdateTasks(big);
    EXPECT_EQ(big->freeCount, big->capacity);
    EXPECT_TRUE(Ids(big).empty());
    EXPECT_TRUE(big->CheckInvariants());
    delete big;
}

TEST_F(TaskPoolTest, TaskCreatedInThePoolBeingWalkedIsUpdatedInTheSamePass)
{
    new TaskA(1, [](TaskA* self) {
        if (self->updates == 1) new TaskA(2);
        return true;
    });
    UpdateTasks(poolA);
    EXPECT_EQ(log, (std::vector<int>{1, 2}));
}

TEST_F(TaskPoolTest, TaskCreatedInALaterPoolIsUpdatedThisStepAndInAnEarlierPoolNextStep)
{
    // A creates into B (walked after A); B creates into A (already walked).
    new TaskA(1, [](TaskA* self) {
        if (self->updates == 1) new TaskB(10);
        return true;
    });
    new TaskB(20, [](TaskB* self) {
        if (self->updates == 1) new TaskA(2);
        return true;
    });
    UpdateTasks(poolA);
    UpdateTasks(poolB);
    EXPECT_EQ(log, (std::vector<int>{1, 20, 10}));
    log.clear();
    UpdateTasks(poolA);
    EXPECT_EQ(log, (std::vector<int>{1, 2}));
}

TEST_F(TaskPoolTest, EmptyPoolWalksNothingAndDrawVisitsInCreationOrder)
{
    UpdateTasks(poolA);
    DrawTasks(poolA);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(poolA->CheckInvariants());
    new TaskA(5);
    new TaskA(6);
    DrawTasks(poolA);
    EXPECT_EQ(log, (std::vector<int>{-5, -6}));
}

TEST_F(TaskPoolTest, InvariantCheckNoticesABrokenRing)
{
    TaskA* a = new TaskA(1);
    new TaskA(2);
    ASSERT_TRUE(poolA->CheckInvariants());
    CTask* saved = a->next;
    a->next = a;  // ring cut
    EXPECT_FALSE(poolA->CheckInvariants());
    a->next = saved;
    EXPECT_TRUE(poolA->CheckInvariants());
}

}  // namespace
