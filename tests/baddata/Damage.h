// The four ways a shipped file is found broken, and the files of the game root grouped by how the game
// must take their loss.
#pragma once
#include <algorithm>
#include <cstdio>
#include <cctype>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "baddata/GameRoot.h"
#include "platform/HeadlessPlatform.h"

namespace damage {

enum class Kind { Missing, Empty, Truncated, Random };
const Kind kAll[] = {Kind::Missing, Kind::Empty, Kind::Truncated, Kind::Random};

inline const char* Name(Kind k)
{
    switch (k) {
    case Kind::Missing: return "Missing";
    case Kind::Empty: return "Empty";
    case Kind::Truncated: return "Truncated";
    case Kind::Random: return "Random";
    }
    return "?";
}

// Missing: gone. Empty: no bytes. Truncated: the first half. Random: as many bytes of noise (at least 64).
inline void Apply(const std::filesystem::path& file, Kind k)
{
    const std::string bytes = gameroot::ReadAll(file);
    switch (k) {
    case Kind::Missing:
        std::filesystem::remove(file);
        break;
    case Kind::Empty:
        gameroot::WriteAll(file, "");
        break;
    case Kind::Truncated:
        gameroot::WriteAll(file, bytes.substr(0, bytes.size() / 2));
        break;
    case Kind::Random: {
        std::mt19937 rng(static_cast<unsigned>(std::hash<std::string>()(file.filename().string())));
        std::string noise(std::max<std::size_t>(bytes.size(), 64), '\0');
        for (char& c : noise) c = static_cast<char>(rng());
        gameroot::WriteAll(file, noise);
        break;
    }
    }
}

// "Texture/p_dragon.png" -> "Texture_p_dragon_png", for test names.
inline std::string Identifier(const std::string& path)
{
    std::string id;
    for (char c : path) id.push_back(std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
    return id;
}

// Message boxes recorded as usual and also written to stderr, where a test of a dying process sees them.
class EchoBoxes : public headless::MessageBoxes {
public:
    int Show(bool owned, const std::string& text, const std::string& caption, unsigned style) override
    {
        std::fprintf(stderr, "box [%s] %s\n", caption.c_str(), text.c_str());
        std::fflush(stderr);
        return MessageBoxes::Show(owned, text, caption, style);
    }
};

}  // namespace damage
