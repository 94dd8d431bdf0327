// One row of a spawn table: what enters, when, where, how fast and how it moves.
#pragma once
#include <cstdint>

struct SpawnRow {
    std::int32_t type = -1;  // nothing is held until the first row is read
    std::int32_t frame = -1;
    std::int32_t hp = 0;
    float x = 0.0f;
    float y = 0.0f;
    float speedX = 0.0f;
    float speedY = 0.0f;
    std::int32_t duration = 0;
    std::int32_t pattern = 0;
};
