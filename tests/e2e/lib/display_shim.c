/* Preloaded into the game, makes an X server without a display rate behave like a real display.
 * ZENTHAR_SIM_HZ: the refresh rate every display mode reports (0: none, as Xvfb).
 * ZENTHAR_SIM_VSYNC=1: a swap waits for the next simulated vertical blank before it shows the frame;
 * otherwise it returns at once (vsync off). ZENTHAR_SIM_REPORT names a file that gets, on exit, the
 * number of swaps, counted independently of the game, and the most that fell in any one second. */
#define _GNU_SOURCE
#include <SDL.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static int hz = -1;
static int vsync;
static long long periodNs;
static long long firstBlankNs = -1;
static unsigned long long swaps;
static long long firstSwapNs = -1;
static unsigned perSecond[3600];

static long long NowNs(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}

static void Configure(void)
{
    if (hz >= 0) return;
    const char* rate = getenv("ZENTHAR_SIM_HZ");
    const char* sync = getenv("ZENTHAR_SIM_VSYNC");
    hz = rate ? atoi(rate) : 0;
    if (hz < 0) hz = 0;
    vsync = sync && atoi(sync) != 0;
    periodNs = hz > 0 ? 1000000000LL / hz : 0;
}

static void* Real(const char* name)
{
    void* f = dlsym(RTLD_NEXT, name);
    if (!f) {
        fprintf(stderr, "display shim: no %s to wrap\n", name);
        abort();
    }
    return f;
}

static int Patched(int rc, SDL_DisplayMode* mode)
{
    Configure();
    if (rc == 0 && mode) mode->refresh_rate = hz;
    return rc;
}

int SDL_GetCurrentDisplayMode(int display, SDL_DisplayMode* mode)
{
    static int (*real)(int, SDL_DisplayMode*);
    if (!real) real = (int (*)(int, SDL_DisplayMode*))Real("SDL_GetCurrentDisplayMode");
    return Patched(real(display, mode), mode);
}

int SDL_GetDesktopDisplayMode(int display, SDL_DisplayMode* mode)
{
    static int (*real)(int, SDL_DisplayMode*);
    if (!real) real = (int (*)(int, SDL_DisplayMode*))Real("SDL_GetDesktopDisplayMode");
    return Patched(real(display, mode), mode);
}

int SDL_GetWindowDisplayMode(SDL_Window* window, SDL_DisplayMode* mode)
{
    static int (*real)(SDL_Window*, SDL_DisplayMode*);
    if (!real) real = (int (*)(SDL_Window*, SDL_DisplayMode*))Real("SDL_GetWindowDisplayMode");
    return Patched(real(window, mode), mode);
}

void SDL_GL_SwapWindow(SDL_Window* window)
{
    static void (*real)(SDL_Window*);
    if (!real) real = (void (*)(SDL_Window*))Real("SDL_GL_SwapWindow");
    Configure();
    if (vsync && periodNs > 0) {
        /* The frame is shown at the first blank after the call, and the call returns then. */
        long long now = NowNs();
        if (firstBlankNs < 0) firstBlankNs = now;
        long long blank = firstBlankNs + ((now - firstBlankNs) / periodNs + 1) * periodNs;
        struct timespec t = {(time_t)(blank / 1000000000LL), (long)(blank % 1000000000LL)};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, NULL) != 0) {
        }
    }
    real(window);
    ++swaps;
    const long long now = NowNs();
    if (firstSwapNs < 0) firstSwapNs = now;
    const long long second = (now - firstSwapNs) / 1000000000LL;
    if (second < (long long)(sizeof perSecond / sizeof perSecond[0])) ++perSecond[second];
}

__attribute__((destructor)) static void Report(void)
{
    const char* path = getenv("ZENTHAR_SIM_REPORT");
    if (!path || !*path || hz < 0) return;  /* not the game: it never asked for a mode or a swap */
    FILE* f = fopen(path, "w");
    if (!f) return;
    unsigned busiest = 0;
    for (size_t i = 0; i < sizeof perSecond / sizeof perSecond[0]; ++i) {
        if (perSecond[i] > busiest) busiest = perSecond[i];
    }
    fprintf(f, "swaps %llu\nbusiest_second %u\n", swaps, busiest);
    fclose(f);
}
