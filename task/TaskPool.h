// Fixed block of equal nodes: a free list and a ring of live tasks in creation order.
#pragma once
#include <cstddef>

#include "task/CTask.h"

class TaskPool {
public:
    TaskPool(int elementSize, int capacity);
    TaskPool(const TaskPool&) = delete;
    TaskPool& operator=(const TaskPool&) = delete;
    ~TaskPool();

    // A node, or null when the pool is full; the requested size must fit a node.
    void* Allocate(std::size_t size);
    // Gives a node back; the node given back last is handed out first.
    void Release(void* node);

    CTask* Node(int index) const;
    int LiveCount() const { return capacity - freeCount; }
    // Ring and free list agree with the counts; for tests and soak runs.
    bool CheckInvariants() const;

    CTask* liveHead;
    CTask* freeHead;
    int elementSize;
    int capacity;
    int freeCount;

private:
    unsigned char* block;
};

// Walks a pool from its first live task to its last.
class TaskIter {
public:
    explicit TaskIter(TaskPool* pool) : pool_(pool), current_(pool->liveHead) {}
    // Inline: the collision walks call these a hundred thousand times a step.
    bool HasNext() const { return current_->next != pool_->liveHead; }
    CTask* Next()
    {
        current_ = current_->next;
        return current_;
    }
    // Steps back, then destroys the task that was current.
    void DestroyCurrent();

private:
    TaskPool* pool_;
    CTask* current_;
};

void UpdateTasks(TaskPool* pool);
void DrawTasks(TaskPool* pool);
