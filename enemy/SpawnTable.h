// A spawn table file read as whitespace-separated numbers, nine to a row.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "enemy/SpawnRow.h"

class SpawnTable {
public:
    SpawnTable() = default;
    ~SpawnTable() { Close(); }
    SpawnTable(const SpawnTable&) = delete;
    SpawnTable& operator=(const SpawnTable&) = delete;

    // Opens the file (a native path) for reading; false when it cannot be opened.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return file != nullptr; }
    // Back to the first row, unblocked; a table that is not open stays empty.
    void Rewind();

    // Converts the next fields into row in column order and returns how many converted (0 to 9).
    // Fields after the first one that fails keep their values. A token that does not convert (or is
    // out of range, or not finite) blocks the table: every later read stops there. A table that is
    // not open reads as empty.
    int Read(SpawnRow& row);

    bool IsBlocked() const { return blocked; }

private:
    bool SkipSpace();
    bool ReadInt(std::int32_t& value);
    bool ReadFloat(float& value);

    std::FILE* file = nullptr;
    bool blocked = false;
};
