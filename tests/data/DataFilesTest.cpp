// Checks the shipped files in data/ against what the game reads from them:
// names, picture sizes, font cells, sound formats, the music and mesh files.
// Self-contained (a small PNG decoder included) so it needs no game headers.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

std::string DataPath(const std::string& rel) { return std::string(ZENTHAR_SOURCE_DIR) + "/data/" + rel; }

Bytes ReadFile(const std::string& rel) {
    std::ifstream f(DataPath(rel), std::ios::binary);
    if (!f) throw std::runtime_error("missing data file " + rel);
    return Bytes(std::istreambuf_iterator<char>(f), {});
}

uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }
uint32_t Le32(const uint8_t* p) { return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]; }
uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// --- inflate (RFC 1951), just enough for PNG image data -------------------

class Inflater {
public:
    explicit Inflater(const Bytes& in) : in_(in) {}

    Bytes Run() {
        pos_ = 2;  // zlib header
        for (bool last = false; !last;) {
            last = Bits(1);
            int type = Bits(2);
            if (type == 0) Stored();
            else if (type == 1) Fixed();
            else if (type == 2) Dynamic();
            else throw std::runtime_error("bad deflate block");
        }
        return out_;
    }

private:
    struct Huff {
        std::array<uint16_t, 16> count{};
        std::vector<uint16_t> symbol;
    };

    int Bits(int n) {
        int v = 0;
        for (int i = 0; i < n; ++i) {
            if (pos_ >= in_.size()) throw std::runtime_error("deflate data truncated");
            v |= ((in_[pos_] >> bit_) & 1) << i;
            if (++bit_ == 8) { bit_ = 0; ++pos_; }
        }
        return v;
    }

    static Huff Build(const int* lengths, int n) {
        Huff h;
        h.symbol.resize(n);
        for (int i = 0; i < n; ++i) h.count[lengths[i]]++;
        h.count[0] = 0;
        std::array<uint16_t, 16> offs{};
        for (int i = 1; i < 16; ++i) offs[i] = offs[i - 1] + h.count[i - 1];
        for (int i = 0; i < n; ++i)
            if (lengths[i]) h.symbol[offs[lengths[i]]++] = uint16_t(i);
        return h;
    }

    int Decode(const Huff& h) {
        int code = 0, first = 0, index = 0;
        for (int len = 1; len < 16; ++len) {
            code |= Bits(1);
            int count = h.count[len];
            if (code - count < first) return h.symbol[index + (code - first)];
            index += count;
            first = (first + count) << 1;
            code <<= 1;
        }
        throw std::runtime_error("bad huffman code");
    }

    void Stored() {
        if (bit_) { bit_ = 0; ++pos_; }
        if (pos_ + 4 > in_.size()) throw std::runtime_error("stored block truncated");
        uint16_t len = Le16(&in_[pos_]);
        pos_ += 4;
        if (pos_ + len > in_.size()) throw std::runtime_error("stored block truncated");
        out_.insert(out_.end(), in_.begin() + long(pos_), in_.begin() + long(pos_ + len));
        pos_ += len;
    }

    void Codes(const Huff& lit, const Huff& dist) {
        static const int kLenBase[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31,
                                       35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
        static const int kLenExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2,
                                        3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
        static const int kDistBase[] = {1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129,
                                        193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097,
                                        6145, 8193, 12289, 16385, 24577};
        static const int kDistExtra[] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6,
                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
        for (;;) {
            int sym = Decode(lit);
            if (sym < 256) { out_.push_back(uint8_t(sym)); continue; }
            if (sym == 256) return;
            sym -= 257;
            if (sym >= 29) throw std::runtime_error("bad length code");
            int len = kLenBase[sym] + Bits(kLenExtra[sym]);
            int ds = Decode(dist);
            if (ds >= 30) throw std::runtime_error("bad distance code");
            size_t d = size_t(kDistBase[ds] + Bits(kDistExtra[ds]));
            if (d > out_.size()) throw std::runtime_error("distance too far back");
            for (int i = 0; i < len; ++i) out_.push_back(out_[out_.size() - d]);
        }
    }

    void Fixed() {
        int l[288], d[30];
        for (int i = 0; i < 144; ++i) l[i] = 8;
        for (int i = 144; i < 256; ++i) l[i] = 9;
        for (int i = 256; i < 280; ++i) l[i] = 7;
        for (int i = 280; i < 288; ++i) l[i] = 8;
        for (int& x : d) x = 5;
        Codes(Build(l, 288), Build(d, 30));
    }

    void Dynamic() {
        static const int kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
        int nlen = Bits(5) + 257, ndist = Bits(5) + 1, ncode = Bits(4) + 4;
        int lengths[320] = {};
        for (int i = 0; i < ncode; ++i) lengths[kOrder[i]] = Bits(3);
        Huff code = Build(lengths, 19);
        for (int i = 0; i < nlen + ndist;) {
            int sym = Decode(code);
            if (sym < 16) { lengths[i++] = sym; continue; }
            int rep, val = 0;
            if (sym == 16) {
                if (i == 0) throw std::runtime_error("repeat with no length");
                val = lengths[i - 1];
                rep = 3 + Bits(2);
            } else if (sym == 17) {
                rep = 3 + Bits(3);
            } else {
                rep = 11 + Bits(7);
            }
            if (i + rep > nlen + ndist) throw std::runtime_error("too many lengths");
            while (rep--) lengths[i++] = val;
        }
        Codes(Build(lengths, nlen), Build(lengths + nlen, ndist));
    }

    const Bytes& in_;
    size_t pos_ = 0;
    int bit_ = 0;
    Bytes out_;
};

// --- PNG -------------------------------------------------------------------

struct Png {
    uint32_t width = 0, height = 0;
    int bitDepth = 0, colourType = 0;
    Bytes rgba;  // filled for 8-bit RGBA images only

    uint8_t Alpha(uint32_t x, uint32_t y) const { return rgba[(size_t(y) * width + x) * 4 + 3]; }
    const uint8_t* Pixel(uint32_t x, uint32_t y) const { return &rgba[(size_t(y) * width + x) * 4]; }
};

Png LoadPng(const std::string& rel) {
    Bytes f = ReadFile(rel);
    static const uint8_t kSig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (f.size() < 33 || !std::equal(kSig, kSig + 8, f.begin())) throw std::runtime_error(rel + " is not a PNG");
    if (std::string(f.begin() + 12, f.begin() + 16) != "IHDR") throw std::runtime_error(rel + ": IHDR not first");
    Png p;
    p.width = Be32(&f[16]);
    p.height = Be32(&f[20]);
    p.bitDepth = f[24];
    p.colourType = f[25];
    if (p.bitDepth != 8 || p.colourType != 6 || f[28] != 0) return p;  // only RGBA, non-interlaced, is decoded
    Bytes idat;
    for (size_t pos = 8; pos + 8 <= f.size();) {
        uint32_t len = Be32(&f[pos]);
        std::string type(f.begin() + long(pos + 4), f.begin() + long(pos + 8));
        if (pos + 12 + len > f.size()) throw std::runtime_error(rel + ": chunk overruns file");
        if (type == "IDAT") idat.insert(idat.end(), f.begin() + long(pos + 8), f.begin() + long(pos + 8 + len));
        if (type == "IEND") break;
        pos += 12 + len;
    }
    Bytes raw = Inflater(idat).Run();
    size_t stride = size_t(p.width) * 4;
    if (raw.size() != (stride + 1) * p.height) throw std::runtime_error(rel + ": wrong image data size");
    p.rgba.resize(stride * p.height);
    for (uint32_t y = 0; y < p.height; ++y) {
        int filter = raw[y * (stride + 1)];
        const uint8_t* src = &raw[y * (stride + 1) + 1];
        uint8_t* dst = &p.rgba[y * stride];
        const uint8_t* up = y ? dst - stride : nullptr;
        for (size_t i = 0; i < stride; ++i) {
            int a = i >= 4 ? dst[i - 4] : 0, b = up ? up[i] : 0, c = (up && i >= 4) ? up[i - 4] : 0;
            int pred = 0;
            switch (filter) {
                case 0: pred = 0; break;
                case 1: pred = a; break;
                case 2: pred = b; break;
                case 3: pred = (a + b) / 2; break;
                case 4: {
                    int pp = a + b - c, pa = std::abs(pp - a), pb = std::abs(pp - b), pc = std::abs(pp - c);
                    pred = (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
                    break;
                }
                default: throw std::runtime_error(rel + ": bad filter");
            }
            dst[i] = uint8_t(src[i] + pred);
        }
    }
    return p;
}

int OpaqueIn(const Png& p, uint32_t x0, uint32_t y0, uint32_t w, uint32_t h) {
    int n = 0;
    for (uint32_t y = y0; y < y0 + h && y < p.height; ++y)
        for (uint32_t x = x0; x < x0 + w && x < p.width; ++x) n += p.Alpha(x, y) > 0;
    return n;
}

// --- pictures -----------------------------------------------------------------

struct Picture {
    const char* file;
    uint32_t w, h;
};

// Every picture the game loads, with the size its drawing code assumes.
const Picture kSprites[] = {
    {"Texture/p_dragon.png", 32, 32},     {"Texture/bullet.png", 16, 16},
    {"Texture/phenix.png", 32, 32},       {"Texture/gargoyle.png", 32, 32},
    {"Texture/amphisbaena.png", 32, 32},  {"Texture/boss_dragon.png", 96, 96},
    {"Texture/boss_final.png", 96, 96},
};
// The title is drawn 50 pixels above the field, so it is 50 pixels taller than the field.
const Picture kScreens[] = {
    {"Texture/title.png", 600, 650}, {"Texture/Game_Over.png", 600, 600}, {"Texture/black.png", 600, 600},
};
const char* const kLabels[] = {"Texture/Pointer.png", "Texture/Game_Start.png", "Texture/Option.png",
                               "Texture/Game_End.png", "Texture/Restart.png"};

TEST(DataTextures, SpritesHaveTheirSizeAndAreCutOutByAlpha) {
    for (const Picture& s : kSprites) {
        SCOPED_TRACE(s.file);
        Png p = LoadPng(s.file);
        ASSERT_EQ(p.width, s.w);
        ASSERT_EQ(p.height, s.h);
        ASSERT_EQ(p.colourType, 6) << "needs an alpha channel";
        // outside the creature nothing may be drawn: the corners are empty
        EXPECT_EQ(p.Alpha(0, 0), 0);
        EXPECT_EQ(p.Alpha(s.w - 1, 0), 0);
        EXPECT_EQ(p.Alpha(0, s.h - 1), 0);
        EXPECT_EQ(p.Alpha(s.w - 1, s.h - 1), 0);
        int opaque = OpaqueIn(p, 0, 0, s.w, s.h);
        EXPECT_GT(opaque, int(s.w * s.h / 8)) << "too little of the sprite is visible";
        EXPECT_LT(opaque, int(s.w * s.h * 9 / 10)) << "no silhouette";
    }
}

TEST(DataTextures, EnemiesDifferFromThePlayerAndEachOther) {
    const char* files[] = {"Texture/p_dragon.png", "Texture/phenix.png", "Texture/gargoyle.png",
                           "Texture/amphisbaena.png"};
    std::vector<std::array<double, 3>> mean;
    for (const char* f : files) {
        Png p = LoadPng(f);
        std::array<double, 3> m{};
        int n = 0;
        for (uint32_t y = 0; y < p.height; ++y)
            for (uint32_t x = 0; x < p.width; ++x)
                if (p.Alpha(x, y) == 255) {
                    for (int c = 0; c < 3; ++c) m[c] += p.Pixel(x, y)[c];
                    ++n;
                }
        for (double& v : m) v /= n;
        mean.push_back(m);
    }
    for (size_t i = 0; i < mean.size(); ++i)
        for (size_t j = i + 1; j < mean.size(); ++j) {
            double d = 0;
            for (int c = 0; c < 3; ++c) d += std::pow(mean[i][c] - mean[j][c], 2);
            EXPECT_GT(std::sqrt(d), 30.0) << files[i] << " and " << files[j] << " share a colour scheme";
        }
}

// The player's shots draw the orb as it is, the enemies' tint it to its blue channel: a gold body
// stands out from the sky, and a centre bright in blue keeps the enemy shots bright.
TEST(DataTextures, BulletIsGoldWithAWhiteHotCentre) {
    Png p = LoadPng("Texture/bullet.png");
    ASSERT_EQ(p.rgba.size(), 16u * 16 * 4);
    for (uint32_t y = 6; y <= 8; ++y)
        for (uint32_t x = 6; x <= 8; ++x) {
            const uint8_t* px = p.Pixel(x, y);
            EXPECT_EQ(px[3], 255);
            EXPECT_GE(std::min({px[0], px[1], px[2]}), 220) << "centre texel " << x << "," << y;
        }
    int gold = 0;
    for (uint32_t y = 0; y < 16; ++y)
        for (uint32_t x = 0; x < 16; ++x) {
            const uint8_t* px = p.Pixel(x, y);
            gold += px[3] == 255 && px[0] >= 220 && px[1] >= 120 && px[0] - px[2] >= 100;
        }
    EXPECT_GT(gold, 30) << "the body must read gold, not white";
}

TEST(DataTextures, ScreensAreOpaqueAndBlackIsBlack) {
    for (const Picture& s : kScreens) {
        SCOPED_TRACE(s.file);
        Png p = LoadPng(s.file);
        ASSERT_EQ(p.width, s.w);
        ASSERT_GE(p.height, s.h);
        ASSERT_FALSE(p.rgba.empty());
        EXPECT_EQ(OpaqueIn(p, 0, 0, p.width, p.height), int(p.width * p.height));
    }
    Png black = LoadPng("Texture/black.png");
    for (size_t i = 0; i < black.rgba.size(); i += 4)
        ASSERT_EQ(black.rgba[i] | black.rgba[i + 1] | black.rgba[i + 2], 0) << "texel " << i / 4;
}

TEST(DataTextures, SkyTilesWithoutASeam) {
    Png p = LoadPng("Texture/sky.png");
    ASSERT_EQ(p.width, 256u);
    ASSERT_EQ(p.height, 256u);
    ASSERT_EQ(OpaqueIn(p, 0, 0, 256, 256), 256 * 256);
    // the jump across the wrap must look like any step inside the picture
    auto diff = [&](uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1) {
        int d = 0;
        for (int c = 0; c < 3; ++c) d += std::abs(p.Pixel(x0, y0)[c] - p.Pixel(x1, y1)[c]);
        return d;
    };
    double seam = 0, inner = 0;
    for (uint32_t i = 0; i < 256; ++i) {
        seam += diff(i, 255, i, 0) + diff(255, i, 0, i);
        inner += diff(i, 127, i, 128) + diff(127, i, 128, i);
    }
    EXPECT_LT(seam, inner * 2 + 256 * 20);
}

TEST(DataTextures, EnergyUnitIsSmallAndLight) {
    Png p = LoadPng("Texture/HP.png");
    EXPECT_GE(p.width, 1u);
    EXPECT_LE(p.width, 4u) << "the player's bar is 50 units wide";
    EXPECT_LE(p.height, 8u) << "bars are stretched 5x and 15x vertically";
    ASSERT_FALSE(p.rgba.empty());
    EXPECT_EQ(OpaqueIn(p, 0, 0, p.width, p.height), int(p.width * p.height));
    EXPECT_GE(p.Pixel(0, 0)[1], 180) << "tinted green when drawn, so it must be light";
}

// The pointer is drawn first and the label over it; the pointer must not be
// hidden by the label's own pixels.
TEST(DataTextures, MenuLabelsLeaveThePointerVisible) {
    Png pointer = LoadPng("Texture/Pointer.png");
    ASSERT_FALSE(pointer.rgba.empty());
    struct Item { const char* label; int lx, ly, px, py; };
    const Item items[] = {
        {"Texture/Game_Start.png", 10, 500, 30, 512}, {"Texture/Option.png", 200, 500, 190, 512},
        {"Texture/Game_End.png", 390, 500, 410, 512}, {"Texture/Restart.png", 240, 350, 250, 365},
        {"Texture/Game_End.png", 250, 420, 250, 435},
    };
    int pointerOpaque = OpaqueIn(pointer, 0, 0, pointer.width, pointer.height);
    ASSERT_GT(pointerOpaque, 20);
    for (const Item& it : items) {
        SCOPED_TRACE(it.label);
        Png label = LoadPng(it.label);
        ASSERT_FALSE(label.rgba.empty());
        EXPECT_EQ(label.Alpha(0, 0), 0) << "labels need a transparent background";
        int hidden = 0;
        for (uint32_t y = 0; y < pointer.height; ++y)
            for (uint32_t x = 0; x < pointer.width; ++x) {
                int lx = it.px + int(x) - it.lx, ly = it.py + int(y) - it.ly;
                if (pointer.Alpha(x, y) && lx >= 0 && ly >= 0 && lx < int(label.width) && ly < int(label.height) &&
                    label.Alpha(uint32_t(lx), uint32_t(ly)))
                    ++hidden;
            }
        EXPECT_LT(hidden, pointerOpaque / 4);
        // white text, so the highlight tint changes it visibly
        int white = 0;
        for (size_t i = 0; i < label.rgba.size(); i += 4)
            white += label.rgba[i + 3] == 255 && label.rgba[i] > 230 && label.rgba[i + 1] > 230 && label.rgba[i + 2] > 230;
        EXPECT_GT(white, 100);
    }
    // each label fits between its neighbours on the title row
    EXPECT_LE(10 + int(LoadPng("Texture/Game_Start.png").width), 190);
    EXPECT_LE(200 + int(LoadPng("Texture/Option.png").width), 390);
    EXPECT_LE(390 + int(LoadPng("Texture/Game_End.png").width), 600);
}

// --- fonts --------------------------------------------------------------------

TEST(DataFonts, MainFontCellsFollowTheCharset) {
    Png p = LoadPng("Font/Font.png");
    ASSERT_EQ(p.width, 208u);
    ASSERT_EQ(p.height, 126u);
    ASSERT_FALSE(p.rgba.empty());
    auto ink = [&](int i) { return OpaqueIn(p, uint32_t(i % 16) * 13, uint32_t(i / 16) * 21, 13, 21); };
    // '!' first, space at 15, '0' at 16, 'A' at 33, '_' at 62, the second
    // apostrophe at 64, 'a' at 65, '~' last at 94
    for (int i : {0, 6, 16, 33, 62, 64, 65, 94}) EXPECT_GT(ink(i), 4) << "cell " << i;
    EXPECT_EQ(ink(15), 0) << "space cell";
    EXPECT_EQ(ink(95), 0) << "no cell after '~'";
    // '.' (13) is a dot, 'W' (55) a big glyph: the cells are not shifted
    EXPECT_LT(ink(13), ink(55));
    EXPECT_EQ(ink(6), ink(64)) << "both apostrophe cells hold the same glyph";
    for (size_t i = 0; i < p.rgba.size(); i += 4)
        if (p.rgba[i + 3]) {
            ASSERT_EQ(p.rgba[i] & p.rgba[i + 1] & p.rgba[i + 2], 255) << "glyphs must be white";
        }
}

TEST(DataFonts, SampleFontCellsFollowTheCharset) {
    Png p = LoadPng("Font/FontSample.png");
    ASSERT_EQ(p.width, 256u);
    ASSERT_EQ(p.height, 256u);
    ASSERT_FALSE(p.rgba.empty());
    auto ink = [&](int i) { return OpaqueIn(p, uint32_t(i % 16) * 16, uint32_t(i / 16) * 16, 16, 16); };
    for (int i = 0; i < 45; ++i) EXPECT_GT(ink(i), 2) << "cell " << i;
    EXPECT_GT(ink(12), ink(40)) << "'A' (12) outweighs '-' (40)";
    for (int i = 45; i < 256; ++i) EXPECT_EQ(ink(i), 0) << "cell " << i;
}

// --- sounds -------------------------------------------------------------------

struct Wav {
    int channels = 0, rate = 0, bits = 0, format = 0;
    std::vector<int16_t> samples;
    double Seconds() const { return double(samples.size()) / channels / rate; }
    double PeakDbfs() const {
        int peak = 1;
        for (int16_t s : samples) peak = std::max(peak, std::abs(int(s)));
        return 20 * std::log10(peak / 32768.0);
    }
};

Wav LoadWav(const std::string& rel) {
    Bytes f = ReadFile(rel);
    if (f.size() < 12 || std::string(f.begin(), f.begin() + 4) != "RIFF" || std::string(f.begin() + 8, f.begin() + 12) != "WAVE")
        throw std::runtime_error(rel + " is not a WAV file");
    Wav w;
    for (size_t pos = 12; pos + 8 <= f.size();) {
        std::string id(f.begin() + long(pos), f.begin() + long(pos + 4));
        uint32_t len = Le32(&f[pos + 4]);
        if (pos + 8 + len > f.size()) throw std::runtime_error(rel + ": chunk overruns file");
        const uint8_t* d = &f[pos + 8];
        if (id == "fmt ") {
            w.format = Le16(d);
            w.channels = Le16(d + 2);
            w.rate = int(Le32(d + 4));
            w.bits = Le16(d + 14);
        } else if (id == "data") {
            for (uint32_t i = 0; i + 1 < len; i += 2) w.samples.push_back(int16_t(Le16(d + i)));
        }
        pos += 8 + len + (len & 1);
    }
    return w;
}

TEST(DataSounds, EffectsArePcm16At44100) {
    for (const char* name : {"sample.wav", "select.wav", "decide.wav", "bullet.wav", "ebullet.wav", "hit.wav"}) {
        SCOPED_TRACE(name);
        Wav w = LoadWav(std::string("Sound/") + name);
        EXPECT_EQ(w.format, 1);
        EXPECT_EQ(w.bits, 16);
        EXPECT_EQ(w.rate, 44100);
        EXPECT_TRUE(w.channels == 1 || w.channels == 2);
        ASSERT_FALSE(w.samples.empty());
        EXPECT_GT(w.PeakDbfs(), -30.0) << "inaudible";
        EXPECT_LT(w.PeakDbfs(), -0.5) << "clips";
        EXPECT_LT(w.Seconds(), 1.0) << "effects are short";
        // starts and ends at rest: no click when retriggered
        EXPECT_LT(std::abs(int(w.samples.front())), 300);
        EXPECT_LT(std::abs(int(w.samples.back())), 300);
    }
}

// These replay every frame (shots, a held decide key, a stream of hits), so copies stack.
TEST(DataSounds, RepeatedSoundsAreShortAndSoftForSustainedFire) {
    for (const char* name : {"bullet.wav", "ebullet.wav", "decide.wav", "hit.wav"}) {
        SCOPED_TRACE(name);
        Wav w = LoadWav(std::string("Sound/") + name);
        ASSERT_GT(w.rate, 0);
        EXPECT_LT(w.Seconds(), 0.1);
        EXPECT_LT(w.PeakDbfs(), -12.0);
    }
    // ~67 hits a second land on a boss: a longer hit overlaps so many copies that they merge into a hiss
    EXPECT_LT(LoadWav("Sound/hit.wav").Seconds(), 0.06);
}

// --- music ----------------------------------------------------------------------

uint32_t Vlq(const Bytes& f, size_t& pos) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        uint8_t b = f.at(pos++);
        v = v << 7 | (b & 0x7F);
        if (!(b & 0x80)) return v;
    }
    throw std::runtime_error("variable-length quantity too long");
}

// The music is played once from program start and never looped, so one file carries a whole
// session: long enough, and never silent for long anywhere in it.
TEST(DataMusic, MidiIsTwelveMinutesOfGeneralMidiWithoutSilences) {
    Bytes f = ReadFile("BGM/all.mid");
    ASSERT_GE(f.size(), 14u);
    ASSERT_EQ(std::string(f.begin(), f.begin() + 4), "MThd");
    int format = f[8] << 8 | f[9], tracks = f[10] << 8 | f[11], ppq = f[12] << 8 | f[13];
    EXPECT_LE(format, 1);
    ASSERT_GT(ppq, 0);
    ASSERT_EQ(ppq & 0x8000, 0) << "timing must be in beats";
    std::map<uint32_t, uint32_t> tempo{{0, 500000}};       // tick -> microseconds per beat
    std::vector<std::pair<uint32_t, uint32_t>> sounding;  // note-on .. note-off, in ticks
    int found = 0, drumNotes = 0;
    std::array<int, 16> notes{};
    for (size_t pos = 14; pos + 8 <= f.size(); ++found) {
        ASSERT_EQ(std::string(f.begin() + long(pos), f.begin() + long(pos + 4)), "MTrk");
        size_t end = pos + 8 + Be32(&f[pos + 4]);
        ASSERT_LE(end, f.size());
        size_t p = pos + 8;
        uint32_t tick = 0;
        uint8_t status = 0;
        std::map<int, uint32_t> held;  // channel * 128 + key -> tick of its note-on
        while (p < end) {
            tick += Vlq(f, p);
            if (f.at(p) & 0x80) status = f[p++];
            if (status == 0xFF) {
                uint8_t type = f.at(p++);
                uint32_t len = Vlq(f, p);
                if (type == 0x51) tempo[tick] = uint32_t(f.at(p)) << 16 | f.at(p + 1) << 8 | f.at(p + 2);
                p += len;
            } else if (status == 0xF0 || status == 0xF7) {
                p += Vlq(f, p);
            } else {
                int hi = status & 0xF0, ch = status & 0x0F, key = ch * 128 + f.at(p);
                if (hi == 0x90 && f.at(p + 1) > 0) {
                    notes[size_t(ch)]++;
                    if (ch == 9) ++drumNotes;
                    held.emplace(key, tick);
                } else if ((hi == 0x80 || hi == 0x90) && held.count(key)) {
                    sounding.emplace_back(held[key], tick);
                    held.erase(key);
                }
                p += (hi == 0xC0 || hi == 0xD0) ? 1 : 2;
            }
        }
        EXPECT_TRUE(held.empty()) << "notes left on in track " << found;
        pos = end;
    }
    EXPECT_EQ(found, tracks);
    EXPECT_GT(drumNotes, 1000) << "drums belong on channel 10";
    int melodic = 0;
    for (int ch = 0; ch < 16; ++ch) melodic += ch != 9 && notes[size_t(ch)] > 500;
    EXPECT_GE(melodic, 4) << "lead, bass, pads and accompaniment";

    auto seconds = [&](uint32_t tick) {
        double s = 0;
        for (auto it = tempo.begin(); it != tempo.end() && it->first < tick; ++it) {
            auto next = std::next(it);
            uint32_t to = next == tempo.end() ? tick : std::min(tick, next->first);
            s += double(to - it->first) / ppq * it->second / 1e6;
        }
        return s;
    };
    ASSERT_FALSE(sounding.empty());
    std::sort(sounding.begin(), sounding.end());
    double covered = 0, gap = 0;
    for (auto [on, off] : sounding) {
        gap = std::max(gap, seconds(on) - covered);
        covered = std::max(covered, seconds(off));
    }
    EXPECT_GE(covered, 12 * 60.0) << "the music ends after " << covered << " s";
    EXPECT_LT(covered, 20 * 60.0);
    EXPECT_LE(gap, 4.0) << "longest stretch without a note";
}

// --- mesh, effect, icon, ini files ------------------------------------------------

std::string ReadText(const std::string& rel) {
    Bytes b = ReadFile(rel);
    return std::string(b.begin(), b.end());
}

TEST(DataMesh, SampleIsATexturedTextXFile) {
    std::string x = ReadText("Model/sample.x");
    ASSERT_EQ(x.rfind("xof 0303txt 0032", 0), 0u);
    for (const char* block : {"Mesh ", "MeshNormals", "MeshTextureCoords", "MeshMaterialList", "Material "})
        EXPECT_NE(x.find(block), std::string::npos) << block;
    size_t t = x.find("TextureFilename");
    ASSERT_NE(t, std::string::npos);
    size_t q0 = x.find('"', t), q1 = x.find('"', q0 + 1);
    ASSERT_NE(q1, std::string::npos);
    std::string tex = x.substr(q0 + 1, q1 - q0 - 1);
    EXPECT_NO_THROW(LoadPng("Model/" + tex)) << "texture " << tex << " must sit beside the mesh";
    EXPECT_FALSE(ReadText("Effect/AnimMesh.fx").empty());
}

TEST(DataIcon, GameIconHoldsA32PixelImage) {
    Bytes f = ReadFile("bin/game.ico");
    ASSERT_GE(f.size(), 6u);
    EXPECT_EQ(Le16(&f[0]), 0);
    EXPECT_EQ(Le16(&f[2]), 1) << "type 1 is an icon";
    int count = Le16(&f[4]);
    ASSERT_GE(count, 1);
    ASSERT_GE(f.size(), 6u + 16u * count);
    bool has32 = false;
    for (int i = 0; i < count; ++i) {
        const uint8_t* e = &f[6 + 16 * size_t(i)];
        has32 |= e[0] == 32 && e[1] == 32;
        EXPECT_LE(size_t(Le32(e + 12)) + Le32(e + 8), f.size()) << "entry " << i << " overruns the file";
    }
    EXPECT_TRUE(has32);
}

TEST(DataConfig, ButtonMapReachesEveryFunctionAndVolumesAreTenths) {
    std::string text = ReadText("Config.ini");
    EXPECT_EQ(text.find('\r'), std::string::npos);
    std::istringstream in(text);
    std::string line1, line2;
    ASSERT_TRUE(std::getline(in, line1));
    ASSERT_TRUE(std::getline(in, line2));
    // the game splits on single spaces: a double space would read as 0
    EXPECT_EQ(line1.find("  "), std::string::npos);
    EXPECT_EQ(line2.find("  "), std::string::npos);
    std::istringstream b(line1);
    std::vector<int> map;
    for (int v; b >> v;) map.push_back(v);
    ASSERT_EQ(map.size(), 10u);
    for (int v : map) EXPECT_TRUE(v >= 0 && v <= 8) << "keyboard pad buttons are 0..8";
    EXPECT_EQ(map[9], 6) << "pause on the Space key's button";
    std::istringstream v(line2);
    int bgm = -1, se = -1;
    v >> bgm >> se;
    EXPECT_TRUE(bgm >= 1 && bgm <= 10);
    EXPECT_TRUE(se >= 1 && se <= 10);
}

TEST(DataConfig, SettingStartsWindowed) {
    EXPECT_EQ(ReadText("Setting.ini"), "[\xE3\x82\xA6\xE3\x82\xA3\xE3\x83\xB3\xE3\x83\x89\xE3\x82\xA6"
                                       "\xE3\x83\xA2\xE3\x83\xBC\xE3\x83\x89]\nFullScreen=0\n");
}

}  // namespace
