#include "task/TaskPool.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "task/CTask.h"

namespace {

constexpr size_t kAlign = alignof(std::max_align_t);

// A free node holds the link to the next free node in its first bytes; a live node is a task.
CTask* FreeNext(CTask* node)
{
    CTask* next;
    std::memcpy(&next, static_cast<void*>(node), sizeof next);
    return next;
}

void SetFreeNext(CTask* node, CTask* next)
{
    std::memcpy(static_cast<void*>(node), &next, sizeof next);
}

}  // namespace

TaskPool::TaskPool(int elementSize_, int capacity_)
    : elementSize(elementSize_), capacity(capacity_), freeCount(capacity_)
{
    // Every node must also be able to hold a sentinel and keep the alignment of any task.
    if (static_cast<size_t>(elementSize) < sizeof(CTask)) elementSize = sizeof(CTask);
    elementSize = static_cast<int>((static_cast<size_t>(elementSize) + kAlign - 1) / kAlign * kAlign);
    block = static_cast<unsigned char*>(
        ::operator new(static_cast<size_t>(elementSize) * (capacity + 2), std::align_val_t(kAlign)));

    liveHead = ::new (static_cast<void*>(Node(0))) CTask();
    liveHead->pool = this;
    liveHead->prev = liveHead;
    liveHead->next = liveHead;

    freeHead = Node(1);
    for (int i = 1; i <= capacity; ++i) SetFreeNext(Node(i), Node(i + 1));
    SetFreeNext(Node(capacity + 1), freeHead);
}

TaskPool::~TaskPool()
{
    ::operator delete(block, std::align_val_t(kAlign));
}

CTask* TaskPool::Node(int index) const
{
    return reinterpret_cast<CTask*>(block + static_cast<size_t>(index) * elementSize);
}

void* TaskPool::Allocate(std::size_t size)
{
    if (freeCount <= 0) return nullptr;
    if (size > static_cast<size_t>(elementSize)) std::abort();  // a class outgrew its pool: a build fault
    CTask* node = FreeNext(freeHead);
    SetFreeNext(freeHead, FreeNext(node));
    --freeCount;
    return node;
}

void TaskPool::Release(void* node)
{
    CTask* n = static_cast<CTask*>(node);
    SetFreeNext(n, FreeNext(freeHead));
    SetFreeNext(freeHead, n);
    ++freeCount;
}

bool TaskPool::CheckInvariants() const
{
    int live = 0;
    const CTask* p = liveHead;
    while (p->next != liveHead) {
        const CTask* n = p->next;
        if (n->prev != p || n->pool != this) return false;
        if (++live > capacity) return false;
        p = n;
    }
    if (liveHead->prev != p) return false;
    int free = 0;
    for (CTask* f = FreeNext(freeHead); f != freeHead; f = FreeNext(f)) {
        if (++free > capacity) return false;
    }
    return free == freeCount && live + free == capacity;
}

void TaskIter::DestroyCurrent()
{
    CTask* victim = current_;
    current_ = current_->prev;
    if (victim != pool_->liveHead) delete victim;
}

void UpdateTasks(TaskPool* pool)
{
    TaskIter it(pool);
    while (it.HasNext()) {
        CTask* task = it.Next();
        if (!task->Update()) it.DestroyCurrent();
    }
}

void DrawTasks(TaskPool* pool)
{
    TaskIter it(pool);
    while (it.HasNext()) it.Next()->Draw();
}
