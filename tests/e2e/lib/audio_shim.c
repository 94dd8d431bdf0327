/* Preloaded into the game: counts the threads that make the executable's own SDL audio and SDL_mixer
 * calls, those made on the game's (main) thread, and hints changed between the first and the last of
 * them, into the file ZENTHAR_AUDIO_SHIM_REPORT names, on exit. */
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
static long audioThread;        /* the first thread other than the game's to make an audio call */
static unsigned long calls, threads, onGame, meanwhile, pending;
static const char *firstOnGame, *firstHint, *firstPending;

static int FindExecutable(struct dl_phdr_info* info, size_t size, void* data)
{
    (void)size, (void)data;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)* p = &info->dlpi_phdr[i];
        const uintptr_t lo = info->dlpi_addr + p->p_vaddr, hi = lo + p->p_memsz;
        if (p->p_type == PT_LOAD && (!exeLo || lo < exeLo)) exeLo = lo;
        if (p->p_type == PT_LOAD && hi > exeHi) exeHi = hi;
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
    if (tid != getpid() && !audioThread) audioThread = tid, ++threads;
    if (tid != getpid() && tid != audioThread) threads = 2;
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
    FILE* f = path && calls ? fopen(path, "w") : NULL;
    if (!f) return;
    fprintf(f, "audio calls %lu, threads %lu, on the game's thread %lu (first: %s)\n", calls, threads, onGame,
            firstOnGame ? firstOnGame : "none");
    fprintf(f, "hints changed while the audio thread ran %lu (first: %s)\n", meanwhile, firstHint ? firstHint : "none");
    fclose(f);
}

#define REAL(name)                 \
    static __typeof__(&name) real; \
    if (!real) real = (__typeof__(&name))dlsym(RTLD_NEXT, #name)
#define WRAP(ret, name, params, args, Note)        \
    ret name params                                \
    {                                              \
        REAL(name);                                \
        Note(#name, __builtin_return_address(0));  \
        return real args;                          \
    }
#define WRAP_VOID(name, params, args)              \
    void name params                               \
    {                                              \
        REAL(name);                                \
        Audio(#name, __builtin_return_address(0)); \
        real args;                                 \
    }

/* Of the subsystems, only the audio's init and quit count. */
int SDL_InitSubSystem(Uint32 f) { REAL(SDL_InitSubSystem); if (f & SDL_INIT_AUDIO) Audio(__func__, __builtin_return_address(0)); return real(f); }
void SDL_QuitSubSystem(Uint32 f) { REAL(SDL_QuitSubSystem); if (f & SDL_INIT_AUDIO) Audio(__func__, __builtin_return_address(0)); real(f); }

WRAP(int, SDL_AudioInit, (const char* d), (d), Audio)
WRAP(const char*, SDL_GetCurrentAudioDriver, (void), (), Audio)
WRAP(SDL_AudioSpec*, SDL_LoadWAV_RW, (SDL_RWops* s, int f, SDL_AudioSpec* p, Uint8** b, Uint32* l), (s, f, p, b, l), Audio)
WRAP_VOID(SDL_FreeWAV, (Uint8* b), (b))
WRAP(int, SDL_BuildAudioCVT,
     (SDL_AudioCVT* c, SDL_AudioFormat sf, Uint8 sc, int sr, SDL_AudioFormat df, Uint8 dc, int dr),
     (c, sf, sc, sr, df, dc, dr), Audio)
WRAP(int, SDL_ConvertAudio, (SDL_AudioCVT* c), (c), Audio)

WRAP(int, Mix_Init, (int f), (f), Audio)
WRAP_VOID(Mix_Quit, (void), ())
WRAP(int, Mix_OpenAudioDevice, (int r, Uint16 f, int c, int s, const char* d, int a), (r, f, c, s, d, a), Audio)
WRAP_VOID(Mix_CloseAudio, (void), ())
WRAP(int, Mix_SetSoundFonts, (const char* p), (p), Audio)
WRAP_VOID(Mix_SetPostMix, (void (*m)(void*, Uint8*, int), void* a), (m, a))
WRAP_VOID(Mix_HookMusicFinished, (void (*f)(void)), (f))
WRAP(Mix_Music*, Mix_LoadMUS, (const char* p), (p), Audio)
WRAP_VOID(Mix_FreeMusic, (Mix_Music* m), (m))
WRAP(int, Mix_PlayMusic, (Mix_Music* m, int l), (m, l), Audio)
WRAP(int, Mix_FadeInMusicPos, (Mix_Music* m, int l, int ms, double p), (m, l, ms, p), Audio)
WRAP(int, Mix_HaltMusic, (void), (), Audio)
WRAP_VOID(Mix_PauseMusic, (void), ())
WRAP_VOID(Mix_ResumeMusic, (void), ())
WRAP(int, Mix_VolumeMusic, (int v), (v), Audio)
WRAP(int, Mix_PlayingMusic, (void), (), Audio)
WRAP(double, Mix_GetMusicPosition, (Mix_Music* m), (m), Audio)
WRAP(int, Mix_SetMusicPosition, (double p), (p), Audio)
WRAP(double, Mix_MusicDuration, (Mix_Music* m), (m), Audio)

WRAP(SDL_bool, SDL_SetHint, (const char* n, const char* v), (n, v), Hint)
WRAP(SDL_bool, SDL_SetHintWithPriority, (const char* n, const char* v, SDL_HintPriority p), (n, v, p), Hint)
WRAP(SDL_bool, SDL_ResetHint, (const char* n), (n), Hint)
