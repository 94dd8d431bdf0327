// A whole session, title to boss 2 and back, played by the automatic player with the real mixer writing
// to a file: the mix must stay below full scale, and the music must still be heard under fire.
//
// The game steps in lockstep with the mixer (every step due before a buffer runs before that buffer
// is mixed), so the session sounds as at 60 steps a second while running as fast as the machine
// mixes. ZENTHAR_SESSION_AUDIO=<file> keeps the output (raw S16LE, 44.1 kHz, stereo) for sox;
// ZENTHAR_SESSION_REALTIME=1 plays at the disk driver's real-time pace instead.
#include <gtest/gtest.h>

#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "app/CQovGame.h"
#include "app/Entry.h"
#include "platform/audio/Limiter.h"
#include "support/AutoPilot.h"
#include "support/DiskOutput.h"
#include "support/GameTestSupport.h"

namespace {

constexpr int kRate = testsupport::kAudioRate;
constexpr int kFramesPerStep = kRate / 60;

// Runs on the mixer's thread as its post effect, before the game's effects are added: at that point
// the buffer holds the music alone, which is kept. It holds the buffer back until the game has run
// every step due by its start.
class Lockstep {
public:
    Lockstep(bool hold, std::size_t maxFrames) : hold_(hold) { music_.reserve(2 * maxFrames); }

    static void OnMix(int, void* stream, int len, void* self)
    {
        auto* me = static_cast<Lockstep*>(self);
        const auto* s = static_cast<const std::int16_t*>(stream);
        const std::size_t n = std::size_t(len) / 2;
        if (me->music_.size() + n <= me->music_.capacity()) me->music_.insert(me->music_.end(), s, s + n);
        std::unique_lock<std::mutex> lock(me->m_);
        // A step's sounds start in the first buffer that begins at or after its time. Held, this
        // buffer waits for its steps; followed, the game runs the steps of the next one.
        me->mixed_ += len / 4;
        me->due_ = (me->hold_ ? me->mixed_ - len / 4 : me->mixed_) / kFramesPerStep + 1;
        me->changed_.notify_all();
        if (!me->hold_) return;
        if (!me->changed_.wait_for(lock, std::chrono::seconds(20), [&] { return me->done_ || me->steps_ >= me->due_; }))
            me->stalled_ = true;
    }

    // Waits until the next step is due, false when the mixer does not move.
    bool WaitTurn()
    {
        std::unique_lock<std::mutex> lock(m_);
        return changed_.wait_for(lock, std::chrono::seconds(20), [&] { return steps_ < due_; });
    }
    void StepDone()
    {
        std::lock_guard<std::mutex> lock(m_);
        ++steps_;
        changed_.notify_all();
    }
    void Finish()
    {
        std::lock_guard<std::mutex> lock(m_);
        done_ = true;
        changed_.notify_all();
    }
    long Mixed()
    {
        std::lock_guard<std::mutex> lock(m_);
        return mixed_;
    }
    bool Stalled() const { return stalled_; }
    std::vector<std::int16_t> TakeMusic() { return std::move(music_); }

private:
    bool hold_;
    std::mutex m_;
    std::condition_variable changed_;
    long mixed_ = 0;  // frames, from the first buffer seen
    long due_ = 0;    // steps to run before the buffer in hand (held) or the next one
    long steps_ = 0;
    bool done_ = false;
    std::atomic<bool> stalled_{false};
    std::vector<std::int16_t> music_;
};

struct Session {
    std::vector<int> scenes;
    std::vector<bool> underFire;      // per step: a boss is on the field and the ship fires at it
    std::vector<std::int16_t> out;    // the whole output file
    std::vector<std::int16_t> music;  // the music alone, from the first held buffer
    long lag = -1;                    // output frame of the music's first frame
    bool stalled = false;
    double seconds = 0.0;
};

// Output frame at which the captured music starts: the best match of a second of it, searched up to
// a few buffers before the frame the counts give (the mixer runs a few buffers after the effect
// is gone) and past the limiter's delay.
long Align(const Session& s, long estimate)
{
    const long from = 2 * kRate, n = kRate;  // frames of the music compared
    if (long(s.music.size()) / 2 < from + n) return -1;
    double best = 0.0;
    long lag = -1;
    for (long l = std::max(0L, estimate - 8192); l <= estimate + 256; ++l) {
        if ((l + from + n) * 2 > long(s.out.size())) break;
        double dot = 0.0;
        for (long i = 0; i < 2 * n; ++i) dot += double(s.music[2 * from + i]) * s.out[2 * (l + from) + i];
        if (dot > best) {
            best = dot;
            lag = l;
        }
    }
    return lag;
}

Session Play(int maxSteps, bool realTime)
{
    Session s;
    headless::HeadlessPlatform& h = testsupport::InstallStaged();
    auto out = std::make_unique<testsupport::DiskOutput>("session.raw");  // everything else stays headless
    if (!realTime) out->Keep("SDL_DISKAUDIODELAY", "0");
    const std::string file = out->File();
    const auto started = std::chrono::steady_clock::now();
    CQovGame* game = CreateGame();
    game->Update();  // the panel starts the music

    Lockstep step(!realTime, std::size_t(maxSteps + 600) * kFramesPerStep);
    if (!Mix_RegisterEffect(MIX_CHANNEL_POST, &Lockstep::OnMix, nullptr, &step)) {
        ADD_FAILURE() << "no audio output: " << Mix_GetError();
        delete game;
        g_game = nullptr;
        return s;
    }
    autoplay::AutoPilot pilot(game, &h);
    s.scenes.push_back(game->sceneState);
    int after = 0;  // steps since the session ended
    for (int n = 0; n < maxSteps + 120 && after < 120; ++n) {
        if (!step.WaitTurn()) {
            s.stalled = true;
            break;
        }
        if (n == 0) {
            h.input.SetKey(autoplay::kDecide, true);  // Game_Start
        } else {
            pilot.Steer();
        }
        game->Update();
        step.StepDone();
        if (game->sceneState != s.scenes.back()) s.scenes.push_back(game->sceneState);
        if (s.scenes.size() > 1 && game->sceneState != SCENE_STAGE1 && game->sceneState != SCENE_STAGE2) ++after;
        s.underFire.push_back((game->poolBoss1->LiveCount() || game->poolBoss2->LiveCount()) &&
                              game->poolPlayer->LiveCount());
        if (n >= maxSteps) ++after;
    }
    pilot.Release();
    step.Finish();
    Mix_UnregisterEffect(MIX_CHANNEL_POST, &Lockstep::OnMix);
    const long held = step.Mixed();
    s.stalled = s.stalled || step.Stalled();
    delete game;
    g_game = nullptr;
    out.reset();  // the game's players are never destroyed: closing the device here completes the file
    s.out = testsupport::DiskOutput::ReadSamples(file);
    s.music = step.TakeMusic();
    s.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    s.lag = Align(s, long(s.out.size() / 2) - held + Limiter::Delay());
    if (const char* keep = std::getenv("ZENTHAR_SESSION_AUDIO"))
        std::filesystem::copy_file(file, keep, std::filesystem::copy_options::overwrite_existing);
    std::remove(file.c_str());
    return s;
}

double Rms(const std::int16_t* s, std::size_t n)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < n; ++i) sum += double(s[i]) * s[i];
    return n ? std::sqrt(sum / double(n)) : 0.0;
}

double Db(double rms) { return 20.0 * std::log10(std::max(rms, 1e-9) / 32768.0); }

struct Loudness {
    int windows = 0;
    double mix = 0.0, music = 0.0, heard = 0.0;  // mean RMS: whole output, music alone, music in the output
    double leastShare = 1e9;                    // least share of the music heard in one window
};

// Half-second windows wholly under fire. The music's part of the output is its projection on the
// music alone: the effects are unrelated to it, and the limiter's gain is the same for both.
Loudness UnderFire(const Session& s)
{
    constexpr int kWindow = 30;  // steps
    Loudness l;
    for (std::size_t w = 0; (w + 1) * kWindow <= s.underFire.size(); ++w) {
        if (!std::all_of(s.underFire.begin() + long(w * kWindow), s.underFire.begin() + long((w + 1) * kWindow),
                         [](bool b) { return b; }))
            continue;
        const std::size_t first = w * kWindow * kFramesPerStep, n = kWindow * kFramesPerStep;
        const std::size_t o = std::size_t(s.lag) + first;
        if (2 * (first + n) > s.music.size() || 2 * (o + n) > s.out.size()) break;
        const std::int16_t* m = &s.music[2 * first];
        const std::int16_t* y = &s.out[2 * o];
        double mm = 0.0, my = 0.0;
        for (std::size_t i = 0; i < 2 * n; ++i) {
            mm += double(m[i]) * m[i];
            my += double(m[i]) * y[i];
        }
        if (mm <= 0.0) continue;
        const double music = Rms(m, 2 * n), heard = music * my / mm;
        l.windows += 1;
        l.mix += Rms(y, 2 * n);
        l.music += music;
        l.heard += heard;
        l.leastShare = std::min(l.leastShare, heard / music);
    }
    if (l.windows) {
        l.mix /= l.windows;
        l.music /= l.windows;
        l.heard /= l.windows;
    }
    return l;
}

TEST(SessionMix, AWholeSessionNeverClipsAndTheMusicCarriesUnderFire)
{
    SKIP_IF_MIXER_HELD();
    const char* rt = std::getenv("ZENTHAR_SESSION_REALTIME");
    const Session s = Play(21000, rt && *rt == '1');
    ASSERT_FALSE(s.stalled) << "the mixer or the game stopped moving";
    EXPECT_EQ(s.scenes, (std::vector<int>{SCENE_TITLE, SCENE_STAGE1, SCENE_STAGE2, SCENE_TITLE}));

    int peak = 0;
    std::size_t full = 0, near = 0;
    for (std::int16_t v : s.out) {
        const int a = std::abs(int(v));
        peak = std::max(peak, a);
        full += a >= 32767;
        near += a >= 32000;
    }
    const Loudness l = UnderFire(s);
    std::printf("session: %zu steps, %.1f s of sound in %.1f s; music at output frame %ld\n"
                "whole output: peak %d, %zu samples >= 32767, %zu >= 32000\n"
                "under fire (%d half-second windows): output %.0f (%.1f dBFS), music alone %.0f (%.1f dBFS), "
                "music heard %.0f (%.1f dBFS), least share %.2f\n",
                s.underFire.size(), double(s.out.size()) / 2 / kRate, s.seconds, s.lag, peak, full, near, l.windows,
                l.mix, Db(l.mix), l.music, Db(l.music), l.heard, Db(l.heard), l.leastShare);
    EXPECT_EQ(full, 0u);
    EXPECT_EQ(near, 0u);
    ASSERT_GE(s.lag, 0) << "the music was not found in the output";
    ASSERT_GT(l.windows, 20) << "too little of the boss fights was under fire";
    // The limiter may duck the music under a burst, but on the whole it stays within 3 dB of its level.
    EXPECT_GT(l.heard / l.music, 0.7);
    EXPECT_GT(l.leastShare, 0.4);
}

}  // namespace
