// What the real mixer writes: SDL's disk driver records the output, the test reads the samples back.
// The mixing and limiting themselves are tested on synthetic input beside their classes.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "platform/audio/Limiter.h"
#include "sound/CBgmPlayer.h"
#include "sound/CSound.h"
#include "sound/CSoundPlayer.h"
#include "support/DiskOutput.h"

namespace {

using testsupport::DiskOutput;
constexpr int kRate = testsupport::kAudioRate;

void Put16(std::ofstream& f, int v) { f.put(char(v & 0xFF)).put(char((v >> 8) & 0xFF)); }
void Put32(std::ofstream& f, std::uint32_t v)
{
    Put16(f, int(v & 0xFFFF));
    Put16(f, int(v >> 16));
}

// Mono 16-bit wave holding one constant value: instances that overlap add up to exact multiples.
std::string WriteLevelWave(const std::string& name, int value, double seconds)
{
    const std::string path = testing::TempDir() + name;
    const std::uint32_t frames = std::uint32_t(seconds * kRate);
    std::ofstream f(path, std::ios::binary);
    f << "RIFF";
    Put32(f, 36 + frames * 2);
    f << "WAVEfmt ";
    Put32(f, 16);
    Put16(f, 1);
    Put16(f, 1);
    Put32(f, kRate);
    Put32(f, kRate * 2);
    Put16(f, 2);
    Put16(f, 16);
    f << "data";
    Put32(f, frames * 2);
    for (std::uint32_t i = 0; i < frames; ++i) Put16(f, value);
    return path;
}

// Piano notes of half a second each at 120 beats a minute, then the end of the track.
std::string WriteShortMidi(const std::string& name, int notes = 1)
{
    const std::string path = testing::TempDir() + name;
    std::vector<unsigned char> track = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // tempo 500000 us
                                        0x00, 0xC0, 0x00};                         // piano
    for (int i = 0; i < notes; ++i) {
        const unsigned char note[] = {0x00, 0x90, 0x3C, 0x70, 0x83, 0x60, 0x80, 0x3C, 0x00};  // on, 480 ticks, off
        track.insert(track.end(), std::begin(note), std::end(note));
    }
    for (unsigned char c : {0x00, 0xFF, 0x2F, 0x00}) track.push_back(c);
    std::ofstream f(path, std::ios::binary);
    const unsigned char header[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k',
                                    0, 0, static_cast<unsigned char>(track.size() >> 8),
                                    static_cast<unsigned char>(track.size())};
    f.write(reinterpret_cast<const char*>(header), sizeof header);
    f.write(reinterpret_cast<const char*>(track.data()), std::streamsize(track.size()));
    return path;
}

double Rms(const std::vector<std::int16_t>& s)
{
    double sum = 0.0;
    for (std::int16_t v : s) sum += double(v) * v;
    return s.empty() ? 0.0 : std::sqrt(sum / double(s.size()));
}

int Peak(const std::vector<std::int16_t>& s)
{
    int p = 0;
    for (std::int16_t v : s) p = std::max(p, std::abs(int(v)));
    return p;
}

TEST(SdlAudioOutput, EffectsSoundAtTheSettingsLevelDownToMinus96dBAndOverlap)
{
    SKIP_IF_MIXER_HELD();
    const std::string wave = WriteLevelWave("full.wav", 32767, 0.15);
    DiskOutput out("levels.raw");
    {
        CSoundPlayer player(false, 1);
        CSound sound(wave);
        CSound missing(testing::TempDir() + "nothere.wav");
        EXPECT_EQ(missing.segment, 0);
        player.Register(&sound);
        player.Register(&missing);
        player.Play(&missing);
        EXPECT_FALSE(player.IsPlaying(&missing));
        for (int setting : {10, 5, 1, 0}) {
            player.SetVolume(static_cast<float>(setting / 10.0));
            player.Play(&sound);
            EXPECT_TRUE(player.IsPlaying(&sound)) << "setting " << setting;
            out.Wait(0.35);
        }
        player.SetVolume(0.1f);
        for (int i = 0; i < 3; ++i) player.Play(&sound);
        out.Wait(0.35);
    }
    // The values held for a good part of a play are the levels, give or take the mixer's last bit.
    std::map<int, std::size_t> held;
    for (std::int16_t v : out.Samples()) held[std::abs(int(v))] += 1;
    std::vector<int> levels;
    for (auto [value, count] : held) {
        if (value != 0 && count > 4000) levels.push_back(value);
    }
    ASSERT_EQ(levels.size(), 5u);
    EXPECT_EQ(levels[0], 1);  // -96 dB of full scale still moves the last bit
    EXPECT_NEAR(levels[1], 3277, 1);
    EXPECT_NEAR(levels[2], 3 * 3277, 2);  // three at once
    EXPECT_NEAR(levels[3], 16385, 1);
    EXPECT_EQ(levels[4], int(Limiter::kCeiling));  // full scale itself is held below it
}

TEST(SdlAudioOutput, MusicPlaysOnceAndNothingRestartsIt)
{
    SKIP_IF_MIXER_HELD();
    const std::string midi = WriteShortMidi("note.mid");
    DiskOutput out("music.raw");
    {
        CBgmPlayer music;
        ASSERT_TRUE(music.Load(midi));
        music.Play();
        out.Wait(0.3);
        EXPECT_FALSE(music.IsFinished());
        // The synthesizer lets the last note ring out for a while after the final event.
        double waited = 0.3;
        while (!music.IsFinished() && waited < 6.0) {
            out.Wait(0.05);
            waited += 0.05;
        }
        ASSERT_TRUE(music.IsFinished());
        EXPECT_GE(waited, 0.5);
        music.Play();  // already run to its end
        out.Wait(0.6);
        EXPECT_TRUE(music.IsFinished());
    }
    const std::vector<std::int16_t> s = out.Samples();
    ASSERT_GT(s.size(), std::size_t(2 * kRate));
    // The device runs silent while the soundfont loads; the note comes after that.
    std::size_t first = 0;
    while (first < s.size() && s[first] == 0) ++first;
    ASSERT_LT(first + kRate, s.size()) << "the music was silent";
    const std::vector<std::int16_t> note(s.begin() + long(first), s.begin() + long(first) + kRate);
    EXPECT_GT(Rms(note), 300.0);
    const std::vector<std::int16_t> end(s.end() - kRate, s.end());
    EXPECT_EQ(Peak(end), 0);
}

// RMS of the first 0.4 s from the first sound on, so both runs cover the same stretch of the piece.
double MusicRms(const std::string& midi, float level, const char* file)
{
    DiskOutput out(file);
    {
        CBgmPlayer music;
        if (!music.Load(midi)) return -1.0;
        music.SetVolume(level);
        music.Play();
        out.Wait(0.7);
    }
    const std::vector<std::int16_t> s = out.Samples();
    std::size_t first = 0;
    while (first < s.size() && s[first] == 0) ++first;
    const std::size_t n = std::size_t(0.4 * kRate) * 2;
    if (s.size() - first < n) return -1.0;
    return Rms(std::vector<std::int16_t>(s.begin() + long(first), s.begin() + long(first + n)));
}

TEST(SdlAudioOutput, MusicLevelFollowsTheSetting)
{
    SKIP_IF_MIXER_HELD();
    const std::string midi = WriteShortMidi("level.mid");
    const double full = MusicRms(midi, 1.0f, "full.raw");
    const double half = MusicRms(midi, 0.5f, "half.raw");
    ASSERT_GT(full, 0.0);
    // -301 hundredths of a decibel; the mixer's music volume has 128 steps.
    EXPECT_NEAR(half / full, 0.7071, 0.02);
}

TEST(SdlAudioOutput, NoDeviceOrUnplayableMusicRunsSilently)
{
    SKIP_IF_MIXER_HELD();
    {
        // No output yet: what is loaded waits for one, silently.
        DiskOutput out("none.raw", "no-such-driver");
        CSoundPlayer player(false, 1);
        CSound sound(WriteLevelWave("quiet.wav", 100, 0.1));
        player.Register(&sound);
        player.Play(&sound);
        EXPECT_FALSE(player.IsPlaying(&sound));
        CBgmPlayer music;
        EXPECT_TRUE(music.Load(WriteShortMidi("none.mid")));
        music.Play();
        EXPECT_FALSE(music.IsFinished());  // waiting, not ended
    }
    const std::string broken = testing::TempDir() + "broken.mid";
    std::ofstream(broken) << "MThd and then nothing a synthesizer could read";
    DiskOutput out("unplayable.raw");
    {
        CBgmPlayer music;
        EXPECT_FALSE(music.Load(testing::TempDir() + "nothere.mid"));
        music.SetVolume(1.0f);
        music.Play();
        EXPECT_TRUE(music.IsFinished());  // a stream without a source ends at once
        // The mixer takes anything with a MIDI header; the synthesizer then finds nothing to play.
        music.Load(broken);
        music.SetVolume(1.0f);
        music.Play();
        out.Wait(0.3);
    }
    const std::vector<std::int16_t> s = out.Samples();
    EXPECT_EQ(s.size(), std::size_t(0.3 * kRate) * 2);
    EXPECT_LE(Peak(s), 1);  // at most the synthesizer's dither in the last bit
}

TEST(SdlAudioOutput, AnOutputThatGoesOrStallsIsReplacedAndWhatWasDecodedPlaysOn)
{
    SKIP_IF_MIXER_HELD();
    const std::string wave = WriteLevelWave("back.wav", 1000, 0.1);
    const std::string midi = WriteShortMidi("notes.mid", 20);
    DiskOutput out("back.raw");
    out.pipe().HoldOpen();  // the reading goes on from one output to the next
    CSoundPlayer player(false, 1);
    CSound sound(wave);
    player.Register(&sound);
    CBgmPlayer music;
    ASSERT_TRUE(music.Load(midi));
    music.Play();
    out.Wait(0.5);
    std::remove(wave.c_str());  // nothing is read again
    std::remove(midi.c_str());
    // The effect once (a tenth of a second at 1000 in 0.3 s of sound), and the music after it (its
    // notes come every half second once it goes on).
    auto plays = [&](const char* when) {
        const std::size_t from = out.Samples().size();
        player.Play(&sound);
        out.Wait(0.3);
        std::vector<std::int16_t> s = out.Samples();
        EXPECT_NEAR(std::accumulate(s.begin() + long(from), s.end(), 0.0) / double(s.size() - from), 1000.0 / 3, 60.0)
            << when;
        out.Wait(0.6);
        s = out.Samples();
        EXPECT_GT(Rms(std::vector<std::int16_t>(s.end() - kRate, s.end())), 300.0) << when;
    };
    auto reopened = [&](int opens) {
        for (int i = 0; i < 1000 && out.audio.Opens() < opens; ++i) out.Wait(0.01);
        return out.audio.Opens() == opens;
    };
    plays("at first");

    SDL_Event gone{};
    gone.adevice = {SDL_AUDIODEVICEREMOVED, 0, 2, 0, 0, 0, 0};
    SDL_PushEvent(&gone);
    ASSERT_TRUE(reopened(2)) << "SDL said the output went";
    plays("after SDL said the output went");

    // The output stops asking for sound (the test stops reading), and stays so past any healthy pause.
    for (int i = 0; i < 500 && out.audio.Live(); ++i)
        DiskOutput::Advance(2.0), std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_FALSE(out.audio.Live()) << "a stalled output went unnoticed";
    ASSERT_TRUE(reopened(3));  // its close waited for the reading, on the audio thread alone
    plays("after the output stalled");
    SDL_FlushEvent(SDL_AUDIODEVICEREMOVED);
}

TEST(SdlAudioOutput, SoundfontVariableOverridesTheDefault)
{
    SKIP_IF_MIXER_HELD();
    const char* other = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
    if (!std::ifstream(other)) GTEST_SKIP() << "no second soundfont installed";
    const std::string midi = WriteShortMidi("font.mid");
    const double standard = MusicRms(midi, 1.0f, "standard.raw");
    double chosen = 0.0;
    {
        testsupport::ScopedEnv env;
        env.Set("SDL_SOUNDFONTS", other);
        chosen = MusicRms(midi, 1.0f, "chosen.raw");
    }
    ASSERT_GT(standard, 0.0);
    ASSERT_GT(chosen, 0.0);
    // The same note from two different sample sets: the loudness differs noticeably.
    EXPECT_GT(std::abs(chosen / standard - 1.0), 0.05) << standard << " " << chosen;
}

}  // namespace
