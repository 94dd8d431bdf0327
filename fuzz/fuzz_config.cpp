// The button-map and volume file read as the game reads it: lines, then tokens, then numbers.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "util/StringUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/dev/shm/zenthar_fuzz_config_" + std::to_string(getpid()) + ".ini";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    std::vector<std::string> lines;
    if (!ReadLines(path, lines)) __builtin_trap();
    for (const std::string& line : lines) {
        if (line.size() > 1023) __builtin_trap();
    }
    const std::string volumes = lines.size() > 1 ? lines[1] : std::string();
    (void)ToInt(Split(volumes, 0, " "));
    (void)ToInt(Split(volumes, 1, " "));
    const std::string buttons = lines.empty() ? std::string() : lines[0];
    for (int k = 0; k < 10; ++k) (void)ToInt(Split(buttons, k, " "));
    return 0;
}
