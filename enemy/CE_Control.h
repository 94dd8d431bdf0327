// The spawn controller: turns the rows of the two spawn tables into enemies on their frames.
#pragma once
#include "enemy/SpawnRow.h"
#include "enemy/SpawnTable.h"
#include "task/CTask.h"

class CE_Control : public CTask {
public:
    ZEN_TASK_ALLOCATION();

    CE_Control();
    ~CE_Control() override;
    bool Update() override;
    void Draw() override {}

    SpawnRow row;
    SpawnTable table1;
    SpawnTable table2;

private:
    void ReadRow(SpawnTable& table);
    void Spawn();
};
