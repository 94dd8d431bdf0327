// The window-mode settings file with arbitrary contents.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/files/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = "/dev/shm/zenthar_fuzz_setting_" + std::to_string(getpid()) + ".ini";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    (void)GetPrivateProfileInt("ウィンドウモード", "FullScreen", 0, path);
    return 0;
}
