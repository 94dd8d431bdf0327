/* Preloaded into the game, makes an X server without a display rate behave like a real display.
 * ZENTHAR_SIM_HZ: the refresh rate every display mode reports (0: none, as Xvfb).
 * ZENTHAR_SIM_VSYNC=1: a swap with a swap interval waits for the first simulated vertical blank after its
 * frame is drawn before it shows the frame; otherwise it returns at once (vsync off), though the interval
 * is granted all the same, as a driver with vsync forced off or one that queues swaps grants it.
 * ZENTHAR_SIM_REPORT names a file that gets, on exit, the number of swaps, counted independently of the
 * game, and the most that fell in any one second. */
#define _GNU_SOURCE
#include <SDL.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static int hz = -1;  /* -1 until the game first asks: other processes never do */
static int vsync;
static int interval;
static long long firstSwapNs = -1;
static unsigned long long swaps;
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
    hz = rate && atoi(rate) > 0 ? atoi(rate) : 0;
    vsync = sync && atoi(sync) != 0;
}

#define WRAP_MODE(name, Arg)                                                        \
    int name(Arg a, SDL_DisplayMode* mode)                                          \
    {                                                                               \
        static int (*real)(Arg, SDL_DisplayMode*);                                  \
        if (!real) real = (int (*)(Arg, SDL_DisplayMode*))dlsym(RTLD_NEXT, #name);  \
        const int rc = real(a, mode);                                               \
        Configure();                                                                \
        if (rc == 0 && mode) mode->refresh_rate = hz;                               \
        return rc;                                                                  \
    }
WRAP_MODE(SDL_GetCurrentDisplayMode, int)
WRAP_MODE(SDL_GetDesktopDisplayMode, int)
WRAP_MODE(SDL_GetWindowDisplayMode, SDL_Window*)

int SDL_GL_SetSwapInterval(int wanted)
{
    static int (*real)(int);
    if (!real) real = (int (*)(int))dlsym(RTLD_NEXT, "SDL_GL_SetSwapInterval");
    real(wanted);  /* Xvfb refuses it */
    interval = wanted;
    return 0;
}

int SDL_GL_GetSwapInterval(void)
{
    return interval;
}

void SDL_GL_SwapWindow(SDL_Window* window)
{
    static void (*real)(SDL_Window*);
    if (!real) real = (void (*)(SDL_Window*))dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    Configure();
    long long now = NowNs();
    if (firstSwapNs < 0) firstSwapNs = now;
    if (vsync && hz > 0 && interval != 0) {
        /* Blanks fall every 1/hz s from the first swap; a frame shows at the first one after it is drawn,
         * and the call returns then. */
        static void (*finish)(void);
        if (!finish) finish = (void (*)(void))SDL_GL_GetProcAddress("glFinish");
        if (finish) finish();
        now = NowNs();
        const long long period = 1000000000LL / hz;
        const long long blank = firstSwapNs + ((now - firstSwapNs) / period + 1) * period;
        struct timespec t = {(time_t)(blank / 1000000000LL), (long)(blank % 1000000000LL)};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &t, NULL) != 0) {
        }
        now = blank;
    }
    real(window);
    ++swaps;
    const long long second = (now - firstSwapNs) / 1000000000LL;
    if (second < (long long)(sizeof perSecond / sizeof perSecond[0])) ++perSecond[second];
}

__attribute__((destructor)) static void Report(void)
{
    const char* path = getenv("ZENTHAR_SIM_REPORT");
    FILE* f = path && *path && hz >= 0 ? fopen(path, "w") : NULL;
    if (!f) return;
    unsigned busiest = 0;
    for (size_t i = 0; i < sizeof perSecond / sizeof perSecond[0]; ++i) {
        if (perSecond[i] > busiest) busiest = perSecond[i];
    }
    fprintf(f, "swaps %llu\nbusiest_second %u\n", swaps, busiest);
    fclose(f);
}
