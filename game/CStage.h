// The information panel on the right of the screen; starts the music when created.
#pragma once
#include <string>

#include "task/CTask.h"

class CStage : public CTask {
public:
    ZEN_TASK_ALLOCATION();

    CStage();
    bool Update() override { return true; }
    void Draw() override;

    std::string scoreText;
    std::string energyText;
};
