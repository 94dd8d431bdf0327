#include "platform/files/IniFile.h"

#include <iconv.h>

#include <cctype>
#include <cstring>
#include <fstream>

std::string Utf8ToShiftJis(const std::string& utf8)
{
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* dst = out.data();
    size_t outLeft = out.size();
    size_t r = iconv(cd, &in, &inLeft, &dst, &outLeft);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1)) return {};
    out.resize(out.size() - outLeft);
    return out;
}

namespace {

std::string Trim(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r' || s[b] == '\n')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n')) --e;
    return s.substr(b, e - b);
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x < 0x80 && y < 0x80) {
            if (std::tolower(x) != std::tolower(y)) return false;
        } else if (x != y) {
            return false;
        }
    }
    return true;
}

}  // namespace

unsigned GetPrivateProfileInt(const std::string& section, const std::string& key, int defaultValue,
                              const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return static_cast<unsigned>(defaultValue);

    const std::string sectionSjis = Utf8ToShiftJis(section);
    bool inSection = false;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        if (first && line.size() >= 3 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        first = false;
        std::string t = Trim(line);
        if (t.empty() || t[0] == ';') continue;
        if (t[0] == '[') {
            size_t close = t.find(']');
            std::string name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            inSection = EqualNoCase(name, section) || (!sectionSjis.empty() && name == sectionSjis);
            continue;
        }
        if (!inSection) continue;
        size_t eq = t.find('=');
        if (eq == std::string::npos) continue;
        if (!EqualNoCase(Trim(t.substr(0, eq)), key)) continue;
        std::string value = Trim(t.substr(eq + 1));
        size_t i = 0;
        bool negative = false;
        if (i < value.size() && (value[i] == '-' || value[i] == '+')) {
            negative = value[i] == '-';
            ++i;
        }
        unsigned result = 0;
        for (; i < value.size() && std::isdigit(static_cast<unsigned char>(value[i])); ++i) {
            result = result * 10u + static_cast<unsigned>(value[i] - '0');  // wraps like the Win32 call
        }
        return negative ? 0u - result : result;
    }
    return static_cast<unsigned>(defaultValue);
}
