// The real OpenGL back end on an offscreen (or X) window, installed once per test process.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/graphics/IGraphics.h"

namespace gltest {

// The SDL back end, installed once per process (installing twice would leave stale event listeners).
// With a window, also the window and the device, made again if an earlier test took them down.
inline bool InstallSdlOnce(bool withWindow)
{
    static bool done = false;
    static bool ok = false;
    static Platform saved;
    if (!done) {
        done = true;
        ok = InstallSdlPlatform();
        saved = Sys();
    }
    Sys() = saved;
    if (!ok || !withWindow) return ok;
    if (!Sys().window->Exists()) Sys().window->Create("zenthar tests", 800, 600, "");
    if (!Sys().graphics->HasDevice()) Sys().graphics->Reset(PresentParams());
    return Sys().graphics->HasDevice();
}

class GlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!InstallSdlOnce(true)) GTEST_SKIP() << "no OpenGL context on this machine";
        g = Sys().graphics;
        Viewport full;
        full.width = 800;
        full.height = 600;
        g->SetViewport(full);
        g->SetRenderState(RenderState());
        g->SetTexture(0);
    }

    // The game's fixed state: blending, alpha test ≥ 1, modulate, depth less-or-equal, counter-clockwise culling.
    void GameState()
    {
        RenderState s;
        s.alphaBlendEnable = true;
        s.srcBlend = BlendFactor::SrcAlpha;
        s.destBlend = BlendFactor::InvSrcAlpha;
        s.alphaTestEnable = true;
        s.alphaFunc = CompareFunc::GreaterEqual;
        s.alphaRef = 1;
        s.stage0.colorArg2 = TextureArg::Diffuse;
        s.stage0.alphaOp = TextureOp::Modulate;
        s.stage0.alphaArg2 = TextureArg::Diffuse;
        g->SetRenderState(s);
    }

    void Quad(float x, float y, float w, float h, std::uint32_t colour, float u0 = 0, float v0 = 0, float u1 = 1,
              float v1 = 1)
    {
        const QuadVertex v[4] = {{x, y, 0, 1, colour, u0, v0},
                                 {x + w, y, 0, 1, colour, u1, v0},
                                 {x, y + h, 0, 1, colour, u0, v1},
                                 {x + w, y + h, 0, 1, colour, u1, v1}};
        g->DrawQuad(v);
    }

    void Read()
    {
        int w = 0, h = 0;
        ASSERT_TRUE(g->ReadBackBuffer(pixels, w, h));
        ASSERT_EQ(w, 800);
        ASSERT_EQ(h, 600);
    }
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * 800 + x] & 0x00FFFFFFu; }

    IGraphics* g = nullptr;
    std::vector<std::uint32_t> pixels;
};

// Within one step of each channel.
inline ::testing::AssertionResult Near(std::uint32_t actual, std::uint32_t expected)
{
    for (int shift = 0; shift <= 16; shift += 8) {
        const int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
        if (a - e > 1 || e - a > 1)
            return ::testing::AssertionFailure() << std::hex << "0x" << actual << " is not near 0x" << expected;
    }
    return ::testing::AssertionSuccess();
}

// A shipped data file, by its path under data/.
inline std::string Data(const char* name)
{
    return std::string(ZENTHAR_SOURCE_DIR "/data/") + name;
}

// The characters of the shipped bitmap font, in the order of its cells.
inline std::string FontCharset()
{
    std::string charset;
    for (char c = 0x21; c <= 0x2F; ++c) charset += c;
    charset += ' ';
    for (char c = 0x30; c <= 0x5F; ++c) charset += c;
    charset += '\'';
    for (char c = 0x61; c <= 0x7E; ++c) charset += c;
    return charset;
}

}  // namespace gltest
