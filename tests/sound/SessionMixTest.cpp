// A whole session, title to boss 2 and back, played by the automatic player. Through the real output
// the mix must stay below full scale; and the same session's effects, mixed buffer by buffer over a
// steady music through the real voices and limiter, must leave the music heard under fire.
//
// ZENTHAR_SESSION_AUDIO=<file> keeps the real session's output (raw S16LE, 44.1 kHz, stereo) for sox.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/CQovGame.h"
#include "app/Entry.h"
#include "platform/audio/VoiceMixer.h"
#include "platform/files/IFileSystem.h"
#include "support/AutoPilot.h"
#include "support/DiskOutput.h"
#include "support/GameTestSupport.h"

namespace {

constexpr int kRate = testsupport::kAudioRate;
constexpr int kFramesPerStep = kRate / 60;
constexpr int kMaxSteps = 21000;

struct Session {
    std::vector<int> scenes;
    std::vector<bool> underFire;  // per step: a boss is on the field and the ship fires at it
};

// Plays from the title to the return to it; `stepped` runs after every step.
template <class Stepped>
Session Play(headless::HeadlessPlatform& h, Stepped stepped)
{
    Session s;
    CQovGame* game = CreateGame();
    game->Update();  // the panel starts the music
    autoplay::AutoPilot pilot(game, &h);
    s.scenes.push_back(game->sceneState);
    int after = 0;  // steps since the session ended
    for (int n = 0; n < kMaxSteps + 120 && after < 120; ++n) {
        if (n == 0) h.input.SetKey(autoplay::kDecide, true);  // Game_Start
        else pilot.Steer();
        game->Update();
        if (game->sceneState != s.scenes.back()) s.scenes.push_back(game->sceneState);
        if (s.scenes.size() > 1 && game->sceneState != SCENE_STAGE1 && game->sceneState != SCENE_STAGE2) ++after;
        if (n >= kMaxSteps) ++after;
        s.underFire.push_back((game->poolBoss1->LiveCount() || game->poolBoss2->LiveCount()) &&
                              game->poolPlayer->LiveCount());
        stepped(n);
    }
    pilot.Release();
    delete game;
    g_game = nullptr;
    return s;
}

const std::vector<int> kWholeGame{SCENE_TITLE, SCENE_STAGE1, SCENE_STAGE2, SCENE_TITLE};

TEST(SessionMix, AWholeSessionThroughTheRealOutputNeverClips)
{
    SKIP_IF_MIXER_HELD();
    headless::HeadlessPlatform& h = testsupport::InstallStaged();
    testsupport::DiskOutput out("session.raw");  // everything else stays headless
    ASSERT_TRUE(out.Open());
    // Each step's sounds start a few buffers after the step's time, as a device's latency has it.
    const Session s = Play(h, [&](int) { out.Wait(1.0 / 60.0); });
    EXPECT_EQ(s.scenes, kWholeGame);

    const std::vector<std::int16_t> samples = out.Samples();
    int peak = 0;
    std::size_t full = 0, near = 0;
    for (std::int16_t v : samples) {
        const int a = std::abs(int(v));
        peak = std::max(peak, a);
        full += a >= 32767;
        near += a >= 32000;
    }
    std::printf("session: %zu steps, %.1f s of sound; peak %d, %zu samples >= 32767, %zu >= 32000\n",
                s.underFire.size(), double(samples.size()) / 2 / kRate, peak, full, near);
    EXPECT_GT(peak, 16000);  // the music and the effects were there
    EXPECT_EQ(full, 0u);
    EXPECT_EQ(near, 0u);
    if (const char* keep = std::getenv("ZENTHAR_SESSION_AUDIO"))
        std::ofstream(keep, std::ios::binary)
            .write(reinterpret_cast<const char*>(samples.data()), std::streamsize(2 * samples.size()));
}

// A sound file as the output plays it: 16-bit stereo at the output rate.
std::vector<std::int16_t> LoadStereo(const std::string& path)
{
    SDL_AudioSpec format;
    Uint8* data = nullptr;
    Uint32 len = 0;
    if (!SDL_LoadWAV(NativePath(path).c_str(), &format, &data, &len)) return {};
    SDL_AudioCVT cvt;
    SDL_BuildAudioCVT(&cvt, format.format, format.channels, format.freq, AUDIO_S16SYS, 2, kRate);
    std::vector<Uint8> buf(std::size_t(len) * std::max(cvt.len_mult, 1));
    std::copy(data, data + len, buf.begin());
    SDL_FreeWAV(data);
    cvt.buf = buf.data();
    cvt.len = int(len);
    if (cvt.needed) SDL_ConvertAudio(&cvt);
    const auto* s = reinterpret_cast<const std::int16_t*>(buf.data());
    return std::vector<std::int16_t>(s, s + (cvt.needed ? cvt.len_cvt : int(len)) / 2);
}

// One second of a steady piece, looped: a bass and a four-note arpeggio, each note struck and
// decaying, at -22.4 dBFS RMS, the shipped music's level in the boss fights.
std::vector<float> Music()
{
    std::vector<float> m(2 * kRate);
    const double notes[] = {262, 330, 392, 523};
    double sum = 0.0;
    for (int f = 0; f < kRate; ++f) {
        const double t = double(f) / kRate, beat = std::fmod(t, 0.25);
        const double bass = std::sin(2 * M_PI * 110 * t);
        const double note = std::sin(2 * M_PI * notes[f * 4 / kRate] * t) * std::exp(-beat / 0.2);
        m[2 * f] = float(bass + 0.8 * note);
        m[2 * f + 1] = float(bass + 0.6 * note);
        sum += double(m[2 * f]) * m[2 * f] + double(m[2 * f + 1]) * m[2 * f + 1];
    }
    const double scale = 2496.0 / std::sqrt(sum / double(m.size()));
    for (float& v : m) v = float(v * scale);
    return m;
}

TEST(SessionMix, TheMusicIsHeardUnderFire)
{
    headless::HeadlessPlatform& h = testsupport::InstallStaged();
    std::vector<std::size_t> playedBy;  // per step: effects played up to its end
    const Session s = Play(h, [&](int) { playedBy.push_back(h.audio.played.size()); });
    EXPECT_EQ(s.scenes, kWholeGame);
    std::map<std::string, std::vector<std::int16_t>> sounds;
    for (const headless::PlayedEffect& p : h.audio.played) {
        if (!sounds.count(p.path)) sounds[p.path] = LoadStereo(p.path);
        ASSERT_FALSE(sounds[p.path].empty()) << p.path;
    }

    // The mixer's buffers in turn, each with the music in and the output out; a step's sounds start
    // in the first buffer at or after its time. The limiter delays the output by a fixed count.
    constexpr int kWindow = 30;  // steps: half a second
    const std::vector<float> music = Music();
    const long delay = Limiter::Delay();
    const std::size_t windows = s.underFire.size() / kWindow;
    std::vector<double> mm(windows), my(windows), yy(windows);
    VoiceMixer mixer(kRate);
    std::vector<std::int16_t> buffer(2 * VoiceMixer::kMaxFrames);
    std::size_t next = 0;  // first effect not started yet
    for (long at = 0; at < long(windows * kWindow * kFramesPerStep) + delay; at += VoiceMixer::kMaxFrames) {
        const std::size_t step = std::min(std::size_t(at / kFramesPerStep), playedBy.size() - 1);
        for (; next < playedBy[step]; ++next) {
            const headless::PlayedEffect& p = h.audio.played[next];
            mixer.SetGain(p.gain);
            mixer.Start(p.effect, sounds[p.path].data(), int(sounds[p.path].size() / 2), 0);
        }
        for (int i = 0; i < 2 * VoiceMixer::kMaxFrames; ++i) buffer[i] = std::int16_t(std::lrint(music[(2 * at + i) % music.size()]));
        mixer.Mix(buffer.data(), VoiceMixer::kMaxFrames);
        for (int f = 0; f < VoiceMixer::kMaxFrames; ++f) {
            const long in = at + f - delay;  // the music frame this output frame carries
            const std::size_t w = std::size_t(std::max(in, 0L) / kFramesPerStep / kWindow);
            if (in < 0 || w >= windows) continue;
            for (int c = 0; c < 2; ++c) {
                const double m = std::lrint(music[(2 * in + c) % music.size()]), y = buffer[2 * f + c];
                mm[w] += m * m;
                my[w] += m * y;
                yy[w] += y * y;
            }
        }
    }

    // Half-second windows wholly under fire. The music's part of the output is its projection on the
    // music alone: the effects are unrelated to it, and the limiter's gain is the same for both.
    int count = 0;
    double out = 0.0, alone = 0.0, heard = 0.0, least = 1e9;
    for (std::size_t w = 0; w < windows; ++w) {
        if (!std::all_of(s.underFire.begin() + long(w * kWindow), s.underFire.begin() + long((w + 1) * kWindow),
                         [](bool b) { return b; }))
            continue;
        const double n = 2.0 * kWindow * kFramesPerStep, rms = std::sqrt(mm[w] / n);
        count += 1;
        out += std::sqrt(yy[w] / n);
        alone += rms;
        heard += rms * my[w] / mm[w];
        least = std::min(least, my[w] / mm[w]);
    }
    ASSERT_GT(count, 20) << "too little of the boss fights was under fire";
    auto db = [](double rms) { return 20.0 * std::log10(rms / 32768.0); };
    std::printf("under fire (%d half-second windows, %zu effects): output %.0f (%.1f dBFS), music alone %.0f "
                "(%.1f dBFS), music heard %.0f (%.1f dBFS), least share %.2f\n",
                count, h.audio.played.size(), out / count, db(out / count), alone / count, db(alone / count),
                heard / count, db(heard / count), least);
    // The limiter may duck the music under a burst, but on the whole it stays within 3 dB of its level.
    EXPECT_GT(heard / alone, 0.7);
    EXPECT_GT(least, 0.4);
}

}  // namespace
