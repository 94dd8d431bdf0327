// The spawn controller: turns the rows of the two spawn tables into enemies on their frames. It lives
// for the whole run; every game, from the title or the game-over menu, reads both tables from the top.
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
    void StartOver();
    void ReadRow(SpawnTable& table, int scene);
    void Spawn();

    int rowScene = 0;     // the stage whose table the held row came from; 0 when none is held
    bool inMenu = false;  // a menu has been seen since play last started
};
