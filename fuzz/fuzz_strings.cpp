// Splitting, searching and number parsing on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "util/StringUtil.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    // First byte splits the input into a text and a pattern.
    const std::size_t cut = data[0] % size;
    const std::string text(reinterpret_cast<const char*>(data) + 1, cut > 0 ? cut - 1 : 0);
    const std::string pattern(reinterpret_cast<const char*>(data) + cut, size - cut);

    const int first = Find(text, pattern);
    const int last = FindLast(text, pattern);
    if ((first < 0) != (last < 0)) __builtin_trap();
    if (first > last) __builtin_trap();
    if (first >= 0 && text.compare(static_cast<std::size_t>(first), pattern.size(), pattern) != 0) __builtin_trap();

    const std::string dir = GetDirectory(text);
    if (dir.size() > text.size() || text.compare(0, dir.size(), dir) != 0) __builtin_trap();
    if (!dir.empty() && dir.back() != '\\') __builtin_trap();

    for (int i = 0; i < 4; ++i) {
        const std::string token = Split(text, i, pattern.empty() ? " " : pattern.substr(0, 2));
        if (token.size() > text.size()) __builtin_trap();
    }
    (void)ToInt(text);
    (void)ToFloat(text);
    (void)IntToString(ToInt(text));
    return 0;
}
