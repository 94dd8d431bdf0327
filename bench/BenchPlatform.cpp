#include "bench/BenchPlatform.h"

#include <unistd.h>

#include <cstdio>

#include "app/CQovGame.h"
#include "app/Entry.h"
#include "platform/HeadlessPlatform.h"
#include "platform/Platform.h"
#include "platform/graphics/SdlGraphics.h"

namespace bench {

namespace {

struct Installed {
    bool done = false;
    bool ok = false;
    Platform platform;
};

Installed& SdlInstall()
{
    static Installed sdl;
    return sdl;
}

// The real back end would take the program's own directory and the shell's; the benchmark runs elsewhere.
headless::FileSystem& StageFiles()
{
    static headless::FileSystem files;
    files.moduleFileName = StagePath("/bin/zenthar");
    files.currentDirectory = StagePath("");
    return files;
}

}  // namespace

std::string StagePath(const std::string& relative)
{
    std::string path = std::string(ZENTHAR_STAGE_DIR) + relative;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

headless::HeadlessPlatform& UseHeadless()
{
    static headless::HeadlessPlatform* h = nullptr;
    static Platform saved;
    if (!h) {
        h = &headless::Install();
        h->files = StageFiles();
        saved = Sys();
    }
    Sys() = saved;
    return *h;
}

headless::Input& SdlKeys()
{
    static headless::Input keys;
    return keys;
}

bool UseSdl()
{
    Installed& sdl = SdlInstall();
    if (!sdl.done) {
        sdl.done = true;
        sdl.ok = InstallSdlPlatform();
        Sys().files = &StageFiles();
        Sys().input = &SdlKeys();
        sdl.platform = Sys();
        // The benchmarks draw one frame over and over, which the window would otherwise show without drawing
        // it again: every frame is drawn for real.
        if (auto* gl = dynamic_cast<sdl::Graphics*>(Sys().graphics)) gl->AllowSkip(false);
    }
    Sys() = sdl.platform;
    return sdl.ok;
}

CQovGame* NewGame()
{
    CQovGame* game = CreateGame();
    // What MainLoop does before its first pass.
    game->OnResetDevice();
    return game;
}

void DeleteGame(CQovGame* game)
{
    delete game;
    g_game = nullptr;
}

void FinishFrame()
{
    if (auto* gl = dynamic_cast<sdl::Graphics*>(Sys().graphics)) gl->Finish();
}

long CurrentRssKb()
{
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return 0;
    long pages = 0, resident = 0;
    const int n = std::fscanf(f, "%ld %ld", &pages, &resident);
    std::fclose(f);
    return n == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

}  // namespace bench

namespace bench {

long PeakRssKb()
{
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    long kb = 0;
    while (std::fgets(line, sizeof line, f)) {
        if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
    }
    std::fclose(f);
    return kb;
}

}  // namespace bench
