#include "enemy/SpawnTable.h"

#include <charconv>
#include <cmath>

namespace {

bool IsSpace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(int c)
{
    return c >= '0' && c <= '9';
}

// Longer float texts are refused rather than buffered; no sensible table needs them.
constexpr int kMaxFloatText = 128;

}  // namespace

bool SpawnTable::Open(const std::string& path)
{
    Close();
    blocked = false;
    file = std::fopen(path.c_str(), "r");
    return file != nullptr;
}

void SpawnTable::Close()
{
    if (file) std::fclose(file);
    file = nullptr;
}

void SpawnTable::Rewind()
{
    blocked = false;
    if (file) std::rewind(file);
}

bool SpawnTable::SkipSpace()
{
    int c;
    do {
        c = std::getc(file);
    } while (c != EOF && IsSpace(c));
    if (c == EOF) return false;
    std::ungetc(c, file);
    return true;
}

bool SpawnTable::ReadInt(std::int32_t& value)
{
    if (!SkipSpace()) return false;
    int c = std::getc(file);
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = std::getc(file);
    }
    if (!IsDigit(c)) {
        blocked = true;
        return false;
    }
    // Accumulated as the negative magnitude so that the most negative value fits.
    constexpr std::int64_t kLimit = 2147483648LL;
    std::int64_t magnitude = 0;
    while (IsDigit(c)) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kLimit) {
            blocked = true;
            return false;
        }
        c = std::getc(file);
    }
    if (c != EOF) std::ungetc(c, file);
    if (!negative && magnitude == kLimit) {
        blocked = true;
        return false;
    }
    value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
    return true;
}

bool SpawnTable::ReadFloat(float& value)
{
    if (!SkipSpace()) return false;
    char text[kMaxFloatText + 1];
    int length = 0;
    bool ok = true;
    auto put = [&](int ch) {
        if (length < kMaxFloatText) text[length++] = static_cast<char>(ch);
        else ok = false;
    };

    int c = std::getc(file);
    if (c == '+' || c == '-') {
        if (c == '-') put(c);
        c = std::getc(file);
    }
    int digits = 0;
    while (IsDigit(c)) {
        put(c);
        ++digits;
        c = std::getc(file);
    }
    if (c == '.') {
        put(c);
        c = std::getc(file);
        while (IsDigit(c)) {
            put(c);
            ++digits;
            c = std::getc(file);
        }
    }
    if (digits == 0) {
        blocked = true;
        return false;
    }
    if (c == 'e' || c == 'E') {
        put(c);
        c = std::getc(file);
        if (c == '+' || c == '-') {
            put(c);
            c = std::getc(file);
        }
        // An exponent mark without digits cannot be given back in full: the text is refused.
        if (!IsDigit(c)) {
            blocked = true;
            return false;
        }
        while (IsDigit(c)) {
            put(c);
            c = std::getc(file);
        }
    }
    if (c != EOF) std::ungetc(c, file);
    if (!ok) {
        blocked = true;
        return false;
    }

    float parsed = 0.0f;
    const auto [end, error] = std::from_chars(text, text + length, parsed);
    if (error != std::errc() || end != text + length || !std::isfinite(parsed)) {
        blocked = true;
        return false;
    }
    value = parsed;
    return true;
}

int SpawnTable::Read(SpawnRow& row)
{
    if (!file || blocked) return 0;
    if (!ReadInt(row.type)) return 0;
    if (!ReadInt(row.frame)) return 1;
    if (!ReadInt(row.hp)) return 2;
    if (!ReadFloat(row.x)) return 3;
    if (!ReadFloat(row.y)) return 4;
    if (!ReadFloat(row.speedX)) return 5;
    if (!ReadFloat(row.speedY)) return 6;
    if (!ReadInt(row.duration)) return 7;
    if (!ReadInt(row.pattern)) return 8;
    return 9;
}
