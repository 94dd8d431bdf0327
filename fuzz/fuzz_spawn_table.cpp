// Spawn tables with arbitrary contents, read row by row as the controller reads them.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "enemy/SpawnTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/dev/shm/zenthar_fuzz_table_" + std::to_string(getpid()) + ".txt";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    SpawnTable table;
    if (!table.Open(path)) __builtin_trap();
    SpawnRow row;
    // Each row needs at least nine bytes, so a table can hold no more rows than this.
    for (std::size_t i = 0; i <= size / 2 + 1; ++i) {
        const int converted = table.Read(row);
        if (converted < 0 || converted > 9) __builtin_trap();
        if (!std::isfinite(row.x) || !std::isfinite(row.y) || !std::isfinite(row.speedX) ||
            !std::isfinite(row.speedY)) {
            __builtin_trap();
        }
        if (converted < 9) {
            // The end or a blocking token: every later read converts nothing more.
            SpawnRow again = row;
            if (table.Read(again) != 0) __builtin_trap();
            return 0;
        }
    }
    __builtin_trap();  // more full rows than the bytes allow
}
