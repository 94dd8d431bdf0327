#include "platform/audio/HeadlessAudio.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/files/IFileSystem.h"

namespace headless {

namespace {

// Reads enough of a file to tell whether it is what it claims; empty when unreadable.
std::string Head(const std::string& path, std::size_t n)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    std::string bytes(n, '\0');
    if (!in.read(bytes.data(), static_cast<std::streamsize>(n))) return {};
    return bytes;
}

std::string LastComponent(const std::string& path)
{
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string Number(double v)
{
    std::ostringstream s;
    s << v;
    return s.str();
}

}  // namespace

bool Audio::Acquire()
{
    if (!deviceAvailable) return false;
    if (refs++ == 0) ++opens;
    return true;
}

void Audio::Release()
{
    if (refs > 0) --refs;
}

int Audio::LoadEffect(const std::string& path)
{
    if (refs == 0) return 0;
    const std::string head = Head(path, 12);
    if (head.size() < 12 || head.compare(0, 4, "RIFF") != 0 || head.compare(8, 4, "WAVE") != 0) return 0;
    effects.push_back({path, true, false, 0, 0});
    return static_cast<int>(effects.size());
}

void Audio::FreeEffect(int effect)
{
    if (effect > 0 && effect <= static_cast<int>(effects.size())) effects[effect - 1] = Effect{};
}

void Audio::PrepareEffect(int effect)
{
    if (effect > 0 && effect <= static_cast<int>(effects.size()) && effects[effect - 1].loaded)
        effects[effect - 1].prepared = true;
}

void Audio::SetEffectRepeats(int effect, int repeats)
{
    if (effect > 0 && effect <= static_cast<int>(effects.size())) effects[effect - 1].repeats = repeats;
}

void Audio::PlayEffect(int effect)
{
    if (effect <= 0 || effect > static_cast<int>(effects.size())) return;
    Effect& e = effects[effect - 1];
    if (!e.loaded || !e.prepared) return;
    ++e.sounding;
    played.push_back({effect, e.path, effectGain});
}

void Audio::StopEffect(int effect)
{
    if (effect > 0 && effect <= static_cast<int>(effects.size())) effects[effect - 1].sounding = 0;
}

void Audio::StopAllEffects()
{
    for (Effect& e : effects) e.sounding = 0;
}

bool Audio::IsEffectPlaying(int effect)
{
    return effect > 0 && effect <= static_cast<int>(effects.size()) && effects[effect - 1].sounding > 0;
}

void Audio::SetEffectPosition3D(float x, float y, float z)
{
    position3D[0] = x;
    position3D[1] = y;
    position3D[2] = z;
}

std::unique_ptr<IMusic> Audio::CreateMusic()
{
    if (!Acquire()) return nullptr;
    musicCalls.push_back("Create");
    auto m = std::make_unique<Music>(this);
    music = m.get();
    return m;
}

int Audio::PlayCount(const std::string& fileName) const
{
    return static_cast<int>(std::count_if(played.begin(), played.end(), [&](const PlayedEffect& p) {
        return LastComponent(p.path) == fileName;
    }));
}

void Audio::FinishMusic()
{
    if (music && music->running && !music->paused) {
        music->ended = true;
        music->position = musicDuration;
    }
}

Audio::Music::~Music()
{
    owner_->musicCalls.push_back("Release");
    if (owner_->music == this) owner_->music = nullptr;
    owner_->Release();
}

bool Audio::Music::Render(const std::string& path)
{
    owner_->musicCalls.push_back("Render " + path);
    hasSource = Head(path, 4) == "MThd";
    position = 0.0;
    ended = false;
    return hasSource;
}

void Audio::Music::Run()
{
    owner_->musicCalls.push_back("Run");
    running = true;
    paused = false;
}

void Audio::Music::Pause()
{
    owner_->musicCalls.push_back("Pause");
    paused = true;
}

void Audio::Music::Stop()
{
    owner_->musicCalls.push_back("Stop");
    running = false;
    paused = false;
}

void Audio::Music::SetGain(float g)
{
    owner_->musicCalls.push_back("Gain " + Number(g));
    gain = g;
}

bool Audio::Music::SetBalance(int hundredthsDb)
{
    owner_->musicCalls.push_back("Balance " + std::to_string(hundredthsDb));
    balance = hundredthsDb;
    return true;
}

bool Audio::Music::GetBalance(int& hundredthsDb)
{
    hundredthsDb = balance;
    return true;
}

bool Audio::Music::GetPosition(double& seconds)
{
    if (!hasSource) return false;
    seconds = position;
    return true;
}

bool Audio::Music::GetDuration(double& seconds)
{
    if (!hasSource) return false;
    seconds = owner_->musicDuration;
    return true;
}

bool Audio::Music::SetPosition(double seconds)
{
    owner_->musicCalls.push_back("Position " + Number(seconds));
    if (!hasSource) return false;
    position = std::clamp(seconds, 0.0, owner_->musicDuration);
    ended = false;
    return true;
}

}  // namespace headless
