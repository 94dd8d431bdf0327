// Base of every pooled game object: the live-ring links and the pool the node came from.
#pragma once
#include <cstddef>

class TaskPool;

class CTask {
public:
    explicit CTask(TaskPool* pool);
    virtual ~CTask();
    // True to stay alive; false asks the walker to destroy the task.
    virtual bool Update() { return true; }
    virtual void Draw() {}

    // Bare nodes (the sentinels) use only the links; the release of a plain CTask does nothing.
    static void operator delete(void*) {}

    TaskPool* pool;
    CTask* prev;
    CTask* next;

protected:
    CTask() = default;  // sentinels only
    friend class TaskPool;
};

// Class-specific allocation from the pool named by a CQovGame field. The allocation is
// non-throwing so that a full pool yields null and the constructor is skipped.
#define ZEN_TASK_ALLOCATION()                                   \
    static void* operator new(std::size_t size) noexcept;       \
    static void operator delete(void* node) noexcept

#define ZEN_TASK_ALLOCATION_IMPL(Class, poolField)                   \
    void* Class::operator new(std::size_t size) noexcept             \
    {                                                                \
        return g_game->poolField->Allocate(size);                    \
    }                                                                \
    void Class::operator delete(void* node) noexcept                 \
    {                                                                \
        g_game->poolField->Release(node);                            \
    }
