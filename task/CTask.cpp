#include "task/CTask.h"

#include "task/TaskPool.h"

CTask::CTask(TaskPool* pool_) : pool(pool_)
{
    CTask* head = pool_->liveHead;
    prev = head->prev;
    next = head;
    next->prev = this;
    prev->next = this;
}

CTask::~CTask()
{
    if (prev) prev->next = next;
    if (next) next->prev = prev;
}
