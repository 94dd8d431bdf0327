#include "util/StringUtil.h"

#include <cstdio>
#include <sstream>

#include "platform/Platform.h"
#include "platform/files/IFileSystem.h"

namespace {

// Length of the UTF-8 sequence at p, or 0 when the bytes there are not one.
size_t Utf8SequenceLength(const std::string& s, size_t p)
{
    const unsigned char c = static_cast<unsigned char>(s[p]);
    size_t n;
    if (c < 0x80) return 1;
    if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c >= 0xE0 && c <= 0xEF) n = 3;
    else if (c >= 0xF0 && c <= 0xF4) n = 4;
    else return 0;
    if (p + n > s.size()) return 0;
    for (size_t i = 1; i < n; ++i) {
        if ((static_cast<unsigned char>(s[p + i]) & 0xC0) != 0x80) return 0;
    }
    return n;
}

// Paths on this system are UTF-8, and the Shift-JIS lead-byte rule would swallow a separator
// that follows some UTF-8 characters. Text that is valid UTF-8 with non-ASCII bytes is walked
// by UTF-8 characters; anything else by the Shift-JIS rule.
bool WalkAsUtf8(const std::string& s)
{
    bool nonAscii = false;
    for (size_t p = 0; p < s.size();) {
        size_t n = Utf8SequenceLength(s, p);
        if (n == 0) return false;
        if (n > 1) nonAscii = true;
        p += n;
    }
    return nonAscii;
}

size_t CharWidth(const std::string& s, size_t p, bool utf8)
{
    if (utf8) return Utf8SequenceLength(s, p);
    return IsSjisLeadByte(static_cast<unsigned char>(s[p])) ? 2 : 1;
}

bool MatchesAt(const std::string& text, size_t p, const std::string& pattern)
{
    // Bounded: a pattern running past the end does not match.
    return p + pattern.size() <= text.size() && text.compare(p, pattern.size(), pattern) == 0;
}

}  // namespace

bool IsSjisLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

int Find(const std::string& text, const std::string& pattern)
{
    const bool utf8 = WalkAsUtf8(text);
    for (size_t p = 0; p < text.size(); p += CharWidth(text, p, utf8)) {
        if (MatchesAt(text, p, pattern)) return static_cast<int>(p);
    }
    return -1;
}

int FindLast(const std::string& text, const std::string& pattern)
{
    if (text.empty()) return -1;
    const bool utf8 = WalkAsUtf8(text);
    // Character starts, found by walking from the front.
    std::vector<bool> starts(text.size(), false);
    for (size_t p = 0; p < text.size(); p += CharWidth(text, p, utf8)) starts[p] = true;
    for (size_t p = text.size(); p-- > 0;) {
        if (starts[p] && MatchesAt(text, p, pattern)) return static_cast<int>(p);
    }
    return -1;
}

std::string Split(const std::string& text, int index, const std::string& delimiter)
{
    std::string rest = text;
    for (int i = 0; i < index; ++i) {
        int p = Find(rest, delimiter);
        if (p < 0) return std::string();
        rest.erase(0, static_cast<size_t>(p) + delimiter.size());
    }
    int p = Find(rest, delimiter);
    return p < 0 ? rest : rest.substr(0, static_cast<size_t>(p));
}

std::int32_t ToInt(const std::string& text)
{
    std::istringstream in(text);
    std::int32_t value = 0;
    in >> value;
    return value;
}

float ToFloat(const std::string& text)
{
    std::istringstream in(text);
    float value = 0.0f;
    in >> value;
    return value;
}

std::string IntToString(std::int32_t value)
{
    return std::to_string(value);
}

bool ReadLines(const std::string& path, std::vector<std::string>& lines)
{
    lines.clear();
    std::FILE* f = std::fopen(NativePath(path).c_str(), "rb");
    if (!f) return false;
    constexpr size_t kMaxLine = 1023;
    std::string line;
    bool any = false;
    for (;;) {
        int c = std::fgetc(f);
        if (c == EOF) {
            if (any && line.size() <= kMaxLine) lines.push_back(line);  // a last line without a line end still counts
            break;
        }
        any = true;
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();  // CR LF is one line end
            if (line.size() > kMaxLine) break;
            lines.push_back(line);
            line.clear();
            any = false;
            continue;
        }
        line.push_back(static_cast<char>(c));
        // One byte of slack for a CR that may still turn out to belong to the line end.
        if (line.size() > kMaxLine + 1) break;
    }
    std::fclose(f);
    return true;
}

bool FileExists(const std::string& path)
{
    IFileSystem* files = Sys().files;
    return files && files->FileExists(path);
}

std::string GetDirectory(const std::string& path)
{
    int p = FindLast(path, "\\");
    return p < 0 ? std::string() : path.substr(0, static_cast<size_t>(p) + 1);
}

std::string GetModuleDirectory()
{
    IFileSystem* files = Sys().files;
    return files ? GetDirectory(files->GetModuleFileName()) : std::string();
}
