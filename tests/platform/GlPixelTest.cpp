// What the OpenGL device really paints, read back from the back buffer.
#include <gtest/gtest.h>

#include "gfx/CDXFont.h"
#include "gfx/CSprite.h"
#include "gfx/CTexture.h"
#include "platform/graphics/ImageFile.h"
#include "platform/graphics/SdlGraphics.h"
#include "platform/text/ITextFont.h"
#include "platform/window/SdlWindow.h"
#include "tests/platform/GlFixture.h"

namespace {

using gltest::Near;

// Every case runs twice: drawn straight into the window's framebuffer (the window is the back buffer's
// size) and through the offscreen buffer that scaled and full-screen output use.
class GlPathTest : public gltest::GlTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (IsSkipped()) return;
        gl = dynamic_cast<sdl::Graphics*>(g);
        ASSERT_NE(gl, nullptr);
        gl->AllowDirect(GetParam());
        if (GetParam() && !gl->DrawsDirect()) GTEST_SKIP() << "this window's framebuffer cannot be the back buffer";
        ASSERT_EQ(gl->DrawsDirect(), GetParam());
    }
    void TearDown() override
    {
        if (gl) gl->AllowDirect(true);
    }
    sdl::Graphics* gl = nullptr;
};

INSTANTIATE_TEST_SUITE_P(Paths, GlPathTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Window" : "Offscreen"; });

std::uint32_t Texture(IGraphics* g, int w, int h, const std::vector<std::uint32_t>& argb)
{
    std::vector<std::uint8_t> rgba;
    for (std::uint32_t p : argb) {
        rgba.push_back((p >> 16) & 0xFF);
        rgba.push_back((p >> 8) & 0xFF);
        rgba.push_back(p & 0xFF);
        rgba.push_back(p >> 24);
    }
    return g->CreateTexture(w, h, rgba.data());
}

TEST_P(GlPathTest, HalfAlphaBlendsAndAlphaZeroTexelsAreDiscarded)
{
    g->Clear(0xFF0000FF, 1.0f);
    GameState();
    Quad(10, 10, 20, 20, 0x80FFFFFF);  // no texture: the diffuse colour alone
    const std::uint32_t clear = Texture(g, 1, 1, {0x00FF0000});
    // Without blending only the alpha test keeps the red, alpha-0 texel off the screen.
    RenderState s = g->GetRenderState();
    s.alphaBlendEnable = false;
    g->SetRenderState(s);
    g->SetTexture(clear);
    Quad(40, 10, 20, 20, 0xFFFFFFFF);
    // Opaque black tints the texture black and keeps its alpha.
    const std::uint32_t white = Texture(g, 1, 1, {0xFFFFFFFF});
    g->SetTexture(white);
    Quad(70, 10, 20, 20, 0xFF000000);
    Read();
    EXPECT_TRUE(Near(At(15, 15), 0x8080FF));
    EXPECT_EQ(At(45, 15), 0x0000FFu);
    EXPECT_EQ(At(75, 15), 0x000000u);
    EXPECT_EQ(At(9, 9), 0x0000FFu);
    g->DestroyTexture(clear);
    g->DestroyTexture(white);
}

TEST_P(GlPathTest, SpritesArePixelExactAndCoordinatesBeyondOneRepeat)
{
    std::vector<std::uint32_t> texels;
    for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 17; ++x) texels.push_back(0xFF000000u | (x * 15) << 16 | (y * 19) << 8 | ((x + y) & 1) * 255);
    const std::uint32_t t = Texture(g, 17, 13, texels);
    g->Clear(0xFF000000, 1.0f);
    GameState();
    g->SetTexture(t);
    Quad(37, 41, 17, 13, 0xFFFFFFFF);
    Quad(100, 100, 34, 26, 0xFFFFFFFF, 0, 0, 2, 2);  // twice each way: wrap
    Read();
    for (int y = 0; y < 13; ++y) {
        for (int x = 0; x < 17; ++x) {
            const std::uint32_t want = texels[static_cast<size_t>(y) * 17 + x] & 0xFFFFFF;
            ASSERT_EQ(At(37 + x, 41 + y), want) << x << "," << y;
            ASSERT_EQ(At(100 + x, 100 + y), want);
            ASSERT_EQ(At(117 + x, 113 + y), want);
        }
    }
    EXPECT_EQ(At(36, 41), 0u);
    EXPECT_EQ(At(54, 41), 0u);
    EXPECT_EQ(At(37, 54), 0u);
    g->DestroyTexture(t);
}

TEST_P(GlPathTest, ViewportsClipAndClearTheirOwnRectangle)
{
    Viewport field{0, 0, 600, 600, 0, 1}, panel{600, 0, 200, 600, 0, 1}, corner{700, 500, 100, 100, 0, 1};
    g->Clear(0xFF000000, 1.0f);
    GameState();
    g->SetViewport(field);
    Quad(0, 0, 800, 600, 0xFFFF0000);
    g->SetViewport(panel);
    Quad(0, 0, 800, 600, 0xFF00FF00);
    g->SetViewport(corner);
    g->Clear(0xFF0000FF, 1.0f);
    Read();
    EXPECT_EQ(At(599, 0), 0xFF0000u);
    EXPECT_EQ(At(600, 0), 0x00FF00u);
    EXPECT_EQ(At(599, 599), 0xFF0000u);
    EXPECT_EQ(At(699, 599), 0x00FF00u);
    EXPECT_EQ(At(700, 500), 0x0000FFu);
    EXPECT_EQ(At(799, 499), 0x00FF00u);
}

TEST_P(GlPathTest, QuadsAtDepthZeroAllDrawInPaintOrderAndMirroredOnesAreCulled)
{
    g->Clear(0xFF000000, 1.0f);
    GameState();
    const std::uint32_t a = Texture(g, 1, 1, {0xFFFFFFFF}), b = Texture(g, 1, 1, {0xFFFFFFFF});
    // Alternating textures force separate batches; order must survive.
    for (int i = 0; i < 30; ++i) {
        g->SetTexture(i % 2 ? a : b);
        Quad(static_cast<float>(i), 0, 50, 50, 0xFF000000u | static_cast<std::uint32_t>(i * 8));
    }
    Quad(300, 0, -50, 50, 0xFFFFFFFF);  // mirrored: culled
    Quad(300, 100, 50, -50, 0xFFFFFFFF);
    Read();
    for (int x = 29; x < 79; ++x) EXPECT_EQ(At(x, 25), 29u * 8) << x;
    EXPECT_EQ(At(0, 25), 0u);
    EXPECT_EQ(At(275, 25), 0u);
    EXPECT_EQ(At(325, 75), 0u);

    RenderState s = g->GetRenderState();
    s.cullMode = CullMode::None;
    g->SetRenderState(s);
    Quad(300, 0, -50, 50, 0xFFFFFFFF);
    Read();
    EXPECT_EQ(At(275, 25), 0xFFFFFFu);
    g->DestroyTexture(a);
    g->DestroyTexture(b);
}

TEST_P(GlPathTest, ManyQuadsOfOneTextureAreOneDrawCall)
{
    g->Clear(0xFF000000, 1.0f);
    GameState();
    g->Flush();
    const std::uint64_t before = g->DrawCallCount();
    for (int i = 0; i < 2000; ++i) Quad(static_cast<float>(i % 400), static_cast<float>(i / 400), 4, 4, 0xFFFFFFFF);
    g->Flush();
    EXPECT_EQ(g->DrawCallCount() - before, 1u);
    // Past the batch's capacity it splits and still draws everything.
    for (int i = 0; i < 5000; ++i) Quad(static_cast<float>(i % 500), 300.0f + static_cast<float>(i / 500), 1, 1, 0xFFFF0000);
    Read();
    EXPECT_EQ(g->DrawCallCount() - before, 3u);
    EXPECT_EQ(At(499, 309), 0xFF0000u);
}

TEST_P(GlPathTest, OneTexelTexturesShareTheBatchOfTheSpriteTheyAlternateWith)
{
    // An enemy and its energy bar, as the game draws them: the bar's one texel repeated over its span.
    std::vector<std::uint32_t> checker;
    for (int i = 0; i < 16; ++i) checker.push_back((i + i / 4) % 2 ? 0xFFFF0000u : 0x00000000u);
    const std::uint32_t sprite = Texture(g, 4, 4, checker), bar = Texture(g, 1, 1, {0xFF80C880u});
    g->Clear(0xFF000000, 1.0f);
    GameState();
    g->Flush();
    const std::uint64_t before = g->DrawCallCount();
    for (int i = 0; i < 20; ++i) {
        g->SetTexture(sprite);
        Quad(10.0f * i, 100, 8, 8, 0xFFFFFFFF);
        g->SetTexture(bar);
        Quad(10.0f * i, 110, 7, 2, 0xFF808080u, 0, 0, 7, 1);
    }
    g->SetTexture(0);  // untextured too
    Quad(300, 300, 5, 5, 0xFF0000FFu);
    g->Flush();
    EXPECT_EQ(g->DrawCallCount() - before, 1u);
    // A one-texel texture changed after a quad was batched: that quad keeps the old texel.
    const std::uint8_t blue[4] = {0, 0, 255, 255};
    g->SetTexture(bar);
    Quad(400, 300, 4, 4, 0xFFFFFFFF);
    g->UpdateTexture(bar, 0, 0, 1, 1, blue);
    Quad(410, 300, 4, 4, 0xFFFFFFFF);
    Read();
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(At(10 * i, 100), 0u);  // alpha-0 texel: discarded
        EXPECT_EQ(At(10 * i + 2, 100), 0xFF0000u);
        EXPECT_EQ(At(10 * i + 6, 111), 0x406440u) << i;  // 0x80C880 tinted by half grey
    }
    EXPECT_EQ(At(302, 302), 0x0000FFu);
    EXPECT_EQ(At(401, 301), 0x80C880u);
    EXPECT_EQ(At(411, 301), 0x0000FFu);
    g->DestroyTexture(sprite);
    g->DestroyTexture(bar);
}

TEST_P(GlPathTest, JapaneseTrueTypeTextRendersAndIsClippedToTheScreenCorner)
{
    CDXFont font;
    ASSERT_FALSE(font.Create(g, "MS ゴシック", 18, false));
    GlyphImage glyph;
    ASSERT_TRUE(font.font->RenderGlyph(0x65E5, glyph));  // 日
    EXPECT_GT(glyph.width, 10);
    EXPECT_EQ(font.font->LineHeight(), 18);

    g->Clear(0xFF000000, 1.0f);
    GameState();
    CSprite sprite(g);
    font.DrawText(&sprite, 100, 100, 0xFFFFFFFF, "日本語のテキスト");
    font.DrawText(&sprite, 700, 590, 0xFFFFFF00, "WWWWWWWWWWWWWWWWWWWW\nsecond line");
    Read();
    int lit = 0;
    for (int y = 100; y < 118; ++y)
        for (int x = 100; x < 250; ++x) lit += At(x, y) != 0;
    EXPECT_GT(lit, 300);
    // Only the top ten rows of the clipped line show, and it runs up to the right edge.
    int above = 0, inside = 0, edge = 0;
    for (int y = 560; y < 600; ++y)
        for (int x = 650; x < 800; ++x) {
            if (At(x, y) == 0) continue;
            if (y < 590 || x < 700) ++above;
            else ++inside;
            if (x >= 790) ++edge;
        }
    EXPECT_EQ(above, 0);
    EXPECT_GT(inside, 100);
    EXPECT_GT(edge, 5);
}

TEST_P(GlPathTest, TexturesLoadFromFilesAtTheirOwnSize)
{
    const std::string path = ZENTHAR_SOURCE_DIR "/data/Texture/bullet.png";
    ImageRGBA file;
    ASSERT_TRUE(LoadImageRGBA(path, file));
    CTexture t(g, path);
    ASSERT_NE(t.texture, 0u);
    EXPECT_EQ(t.GetWidth(), file.width);
    EXPECT_EQ(t.GetHeight(), file.height);
    g->Clear(0xFF000000, 1.0f);
    RenderState s;  // no blending, no alpha test: the texels as they are
    s.stage0.alphaOp = TextureOp::Modulate;
    s.stage0.colorArg2 = TextureArg::Diffuse;
    g->SetRenderState(s);
    t.Draw(5, 7, 0xFFFFFFFF);
    Read();
    for (int y = 0; y < file.height; ++y)
        for (int x = 0; x < file.width; ++x) {
            const std::uint8_t* p = &file.pixels[(static_cast<size_t>(y) * file.width + x) * 4];
            ASSERT_EQ(At(5 + x, 7 + y), std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2]) << x << "," << y;
        }
}

TEST_P(GlPathTest, AFrameRepeatingTheOneOnShowIsDrawnOnlyWhenItsPictureMayBeGone)
{
    GameState();
    std::uint32_t corner = 0xFFFF0000;
    const auto frame = [&] {
        g->Clear(0xFF000000, 1.0f);
        Quad(10, 10, 20, 20, 0xFFFFFFFF);
        const QuadVertex v[4] = {{100, 10, 0, 1, 0xFFFF0000, 0, 0},
                                 {120, 10, 0, 1, 0xFFFF0000, 1, 0},
                                 {100, 30, 0, 1, 0xFFFF0000, 0, 1},
                                 {120, 30, 0, 1, corner, 1, 1}};
        g->DrawQuad(v);
        g->EndScene();
        ASSERT_TRUE(g->Present());
    };
    // The set-up's commands make the first frame differ; the second is then the one on show.
    frame();
    frame();
    std::uint64_t calls = g->DrawCallCount();
    const std::uint64_t skipped = gl->SkippedFrames();
    frame();
    EXPECT_EQ(g->DrawCallCount(), calls);
    EXPECT_EQ(gl->SkippedFrames(), skipped + 1);

    corner = 0xFF00FF00;  // one vertex's colour
    frame();
    EXPECT_GT(g->DrawCallCount(), calls);
    calls = g->DrawCallCount();
    frame();
    EXPECT_EQ(g->DrawCallCount(), calls);

    // Exposed, as when a message box over it goes away: the box's loop hands the event to the window.
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_EXPOSED;
    e.window.windowID = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
    auto* window = dynamic_cast<sdl::Window*>(Sys().window);
    ASSERT_NE(window, nullptr);
    window->Absorb(e);
    for (win::Msg m; window->PeekMessage(m);) {  // the WM_PAINT it became
    }
    frame();
    EXPECT_GT(g->DrawCallCount(), calls);
    calls = g->DrawCallCount();

    // A frame read back is drawn for real, though it repeats the one on show so far.
    g->Clear(0xFF000000, 1.0f);
    Quad(10, 10, 20, 20, 0xFFFFFFFF);
    Read();
    EXPECT_GT(g->DrawCallCount(), calls);
    EXPECT_EQ(At(15, 15), 0xFFFFFFu);
    EXPECT_EQ(At(105, 15), 0u);
    EXPECT_EQ(gl->SkippedFrames(), skipped + 2);
    g->Present();

    // The same commands from another starting state: the first quad draws with another texture.
    const std::uint32_t blue = Texture(g, 1, 1, {0xFF0000FFu}), green = Texture(g, 1, 1, {0xFF00FF00u});
    const auto textured = [&] {
        g->Clear(0xFF000000, 1.0f);
        Quad(10, 10, 20, 20, 0xFFFFFFFF);
        g->SetTexture(blue);
        Quad(40, 10, 20, 20, 0xFFFFFFFF);
        g->SetTexture(green);
        Quad(70, 10, 20, 20, 0xFFFFFFFF);
        ASSERT_TRUE(g->Present());
    };
    g->SetTexture(0);
    textured();
    calls = g->DrawCallCount();
    textured();
    EXPECT_GT(g->DrawCallCount(), calls);
    calls = g->DrawCallCount();
    textured();
    EXPECT_EQ(g->DrawCallCount(), calls);
    g->SetTexture(0);
    g->DestroyTexture(blue);
    g->DestroyTexture(green);
}

}  // namespace
