/* Preloaded into the game, checks that one thread owns SDL's audio: every SDL audio and SDL_mixer call
 * the game itself makes comes from one thread, never the game's (main) thread, and no hint changes
 * between the first and the last of them. Calls SDL and SDL_mixer make of each other are theirs, so
 * only calls from the executable count. ZENTHAR_AUDIO_SHIM_REPORT names the file that gets, on exit:
 *   audio calls N, threads T, on the game's thread G (first: name)
 *   hints changed while the audio thread ran H (first: name) */
#define _GNU_SOURCE
#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>
#include <link.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/syscall.h>
#include <unistd.h>

static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static uintptr_t exeLo, exeHi;  /* the executable's mapped range */
static long seen[64];           /* threads that made audio calls */
static unsigned long calls, threads, onGame, meanwhile, pending;
static const char *firstOnGame, *firstHint, *firstPending;

static int FindExecutable(struct dl_phdr_info* info, size_t size, void* data)
{
    (void)size;
    (void)data;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)* p = &info->dlpi_phdr[i];
        if (p->p_type != PT_LOAD) continue;
        const uintptr_t lo = info->dlpi_addr + p->p_vaddr, hi = lo + p->p_memsz;
        if (!exeLo || lo < exeLo) exeLo = lo;
        if (hi > exeHi) exeHi = hi;
    }
    return 1; /* the first object is the executable */
}

static int FromGame(const void* caller)
{
    if (!exeHi) dl_iterate_phdr(FindExecutable, NULL);
    return (uintptr_t)caller >= exeLo && (uintptr_t)caller < exeHi;
}

static void Audio(const char* name, const void* caller)
{
    if (!FromGame(caller)) return;
    const long tid = syscall(SYS_gettid);
    pthread_mutex_lock(&lock);
    ++calls;
    if (tid == getpid() && !onGame++) firstOnGame = name;
    unsigned long i = 0;
    while (i < threads && seen[i] != tid) ++i;
    if (i == threads && threads < 64) seen[threads++] = tid;
    /* Hints set since the previous audio call were set while the thread ran. */
    if (pending && !firstHint) firstHint = firstPending;
    meanwhile += pending;
    pending = 0;
    pthread_mutex_unlock(&lock);
}

static void Hint(const char* name, const void* caller)
{
    if (!FromGame(caller)) return;
    pthread_mutex_lock(&lock);
    if (calls > 0 && !pending++) firstPending = name;
    pthread_mutex_unlock(&lock);
}

/* Hints set after the last audio call, with the thread gone, do not count. */
__attribute__((destructor)) static void Report(void)
{
    const char* path = getenv("ZENTHAR_AUDIO_SHIM_REPORT");
    if (!path || !calls) return;
    FILE* f = fopen(path, "w");
    if (!f) return;
    fprintf(f, "audio calls %lu, threads %lu, on the game's thread %lu (first: %s)\n", calls, threads, onGame,
            firstOnGame ? firstOnGame : "none");
    fprintf(f, "hints changed while the audio thread ran %lu (first: %s)\n", meanwhile, firstHint ? firstHint : "none");
    fclose(f);
}

#define REAL(name)                 \
    static __typeof__(&name) real; \
    if (!real) real = (__typeof__(&name))dlsym(RTLD_NEXT, #name)
#define WRAP(ret, name, params, args)                        \
    ret name params                                          \
    {                                                        \
        REAL(name);                           \
        Audio(#name, __builtin_return_address(0));           \
        return real args;                                    \
    }
#define WRAP_VOID(name, params, args)                        \
    void name params                                         \
    {                                                        \
        REAL(name);                          \
        Audio(#name, __builtin_return_address(0));           \
        real args;                                           \
    }
#define WRAP_HINT(ret, name, params, args)                   \
    ret name params                                          \
    {                                                        \
        REAL(name);                           \
        Hint(#name, __builtin_return_address(0));            \
        return real args;                                    \
    }

int SDL_InitSubSystem(Uint32 flags)
{
    REAL(SDL_InitSubSystem);
    if (flags & SDL_INIT_AUDIO) Audio("SDL_InitSubSystem", __builtin_return_address(0));
    return real(flags);
}
void SDL_QuitSubSystem(Uint32 flags)
{
    REAL(SDL_QuitSubSystem);
    if (flags & SDL_INIT_AUDIO) Audio("SDL_QuitSubSystem", __builtin_return_address(0));
    real(flags);
}

WRAP(int, SDL_AudioInit, (const char* d), (d))
WRAP_VOID(SDL_AudioQuit, (void), ())
WRAP(const char*, SDL_GetCurrentAudioDriver, (void), ())
WRAP(SDL_AudioDeviceID, SDL_OpenAudioDevice, (const char* d, int c, const SDL_AudioSpec* w, SDL_AudioSpec* o, int a),
     (d, c, w, o, a))
WRAP_VOID(SDL_CloseAudioDevice, (SDL_AudioDeviceID d), (d))
WRAP_VOID(SDL_PauseAudioDevice, (SDL_AudioDeviceID d, int p), (d, p))
WRAP(SDL_AudioStatus, SDL_GetAudioDeviceStatus, (SDL_AudioDeviceID d), (d))
WRAP(SDL_AudioSpec*, SDL_LoadWAV_RW, (SDL_RWops* s, int f, SDL_AudioSpec* p, Uint8** b, Uint32* l), (s, f, p, b, l))
WRAP_VOID(SDL_FreeWAV, (Uint8* b), (b))
WRAP(int, SDL_BuildAudioCVT,
     (SDL_AudioCVT* c, SDL_AudioFormat sf, Uint8 sc, int sr, SDL_AudioFormat df, Uint8 dc, int dr),
     (c, sf, sc, sr, df, dc, dr))
WRAP(int, SDL_ConvertAudio, (SDL_AudioCVT* c), (c))

WRAP(int, Mix_Init, (int f), (f))
WRAP_VOID(Mix_Quit, (void), ())
WRAP(int, Mix_OpenAudioDevice, (int r, Uint16 f, int c, int s, const char* d, int a), (r, f, c, s, d, a))
WRAP_VOID(Mix_CloseAudio, (void), ())
WRAP(int, Mix_SetSoundFonts, (const char* p), (p))
WRAP_VOID(Mix_SetPostMix, (void (*m)(void*, Uint8*, int), void* a), (m, a))
WRAP_VOID(Mix_HookMusicFinished, (void (*f)(void)), (f))
WRAP(Mix_Music*, Mix_LoadMUS, (const char* p), (p))
WRAP_VOID(Mix_FreeMusic, (Mix_Music* m), (m))
WRAP(int, Mix_PlayMusic, (Mix_Music* m, int l), (m, l))
WRAP(int, Mix_FadeInMusicPos, (Mix_Music* m, int l, int ms, double p), (m, l, ms, p))
WRAP(int, Mix_HaltMusic, (void), ())
WRAP_VOID(Mix_PauseMusic, (void), ())
WRAP_VOID(Mix_ResumeMusic, (void), ())
WRAP(int, Mix_VolumeMusic, (int v), (v))
WRAP(int, Mix_PlayingMusic, (void), ())
WRAP(double, Mix_GetMusicPosition, (Mix_Music* m), (m))
WRAP(int, Mix_SetMusicPosition, (double p), (p))
WRAP(double, Mix_MusicDuration, (Mix_Music* m), (m))

WRAP_HINT(SDL_bool, SDL_SetHint, (const char* n, const char* v), (n, v))
WRAP_HINT(SDL_bool, SDL_SetHintWithPriority, (const char* n, const char* v, SDL_HintPriority p), (n, v, p))
WRAP_HINT(SDL_bool, SDL_ResetHint, (const char* n), (n))
void SDL_ResetHints(void)
{
    REAL(SDL_ResetHints);
    Hint("SDL_ResetHints", __builtin_return_address(0));
    real();
}
void SDL_ClearHints(void)
{
    REAL(SDL_ClearHints);
    Hint("SDL_ClearHints", __builtin_return_address(0));
    real();
}
