// The SDL window's messages: every change of whether it is in front, keys with their modifiers, and
// the events a message box's loop hands over.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>

#include "platform/input/SdlInput.h"
#include "platform/window/SdlMessageBox.h"
#include "platform/window/SdlWindow.h"
#include "tests/platform/GlFixture.h"

namespace {

class SdlWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!gltest::InstallSdlOnce(true)) GTEST_SKIP() << "no SDL window";
        window = static_cast<sdl::Window*>(Sys().window);
        Drain();
    }
    void Drain()
    {
        win::Msg m;
        while (window->PeekMessage(m)) {
        }
    }
    // SDL ends a poll cycle at a sentinel: an event pushed after one began comes out of the next.
    bool Take(win::Msg& m) { return window->PeekMessage(m) || window->PeekMessage(m); }
    SDL_Event WindowEvent(Uint8 what, Uint32 id = 0) const
    {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = what;
        e.window.windowID = id ? id : SDL_GetWindowID(window->Handle());
        return e;
    }
    static SDL_Event KeyEvent(SDL_Keycode key, Uint16 mod)
    {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.state = SDL_PRESSED;
        e.key.keysym.sym = key;
        e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
        e.key.keysym.mod = mod;
        return e;
    }
    sdl::Window* window = nullptr;
};

TEST_F(SdlWindowTest, EveryChangeOfFrontMakesAMessageOnlyForTheGameWindow)
{
    const struct {
        Uint8 event;
        std::uint32_t message;
        win::WPARAM wParam;
    } cases[] = {
        {SDL_WINDOWEVENT_FOCUS_GAINED, win::WM_ACTIVATE, win::WA_ACTIVE},
        {SDL_WINDOWEVENT_FOCUS_LOST, win::WM_ACTIVATE, win::WA_INACTIVE},
        {SDL_WINDOWEVENT_SHOWN, win::WM_SHOWWINDOW, 1},
        {SDL_WINDOWEVENT_HIDDEN, win::WM_SHOWWINDOW, 0},
        {SDL_WINDOWEVENT_MINIMIZED, win::WM_SIZE, win::SIZE_MINIMIZED},
        {SDL_WINDOWEVENT_RESTORED, win::WM_SIZE, win::SIZE_RESTORED},
        {SDL_WINDOWEVENT_EXPOSED, win::WM_PAINT, 0},
    };
    for (const auto& c : cases) {
        SDL_Event e = WindowEvent(c.event);
        ASSERT_EQ(SDL_PushEvent(&e), 1);
        win::Msg m;
        ASSERT_TRUE(Take(m)) << int(c.event);
        EXPECT_EQ(m.message, c.message) << int(c.event);
        EXPECT_EQ(m.wParam, c.wParam) << int(c.event);
        // Another window's (a message box's) changes are not the game's.
        e = WindowEvent(c.event, SDL_GetWindowID(window->Handle()) + 1000);
        SDL_PushEvent(&e);
        EXPECT_FALSE(Take(m)) << int(c.event);
    }
}

TEST_F(SdlWindowTest, KeysCarryTheirModifiersAndAltMakesSystemKeys)
{
    const struct {
        SDL_Keycode key;
        Uint16 mod;
        std::uint32_t message;
        std::uint32_t modifiers;
    } cases[] = {
        {SDLK_ESCAPE, KMOD_NONE, win::WM_KEYDOWN, 0},
        {SDLK_ESCAPE, KMOD_LCTRL | KMOD_NUM, win::WM_KEYDOWN, win::MOD_CTRL_HELD},
        {SDLK_ESCAPE, KMOD_RALT, win::WM_SYSKEYDOWN, win::MOD_ALT_HELD},
        {SDLK_F4, KMOD_LALT, win::WM_SYSKEYDOWN, win::MOD_ALT_HELD},
        {SDLK_F1, KMOD_RSHIFT | KMOD_CAPS, win::WM_KEYDOWN, win::MOD_SHIFT_HELD},
    };
    for (const auto& c : cases) {
        SDL_Event e = KeyEvent(c.key, c.mod);
        ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError();
        win::Msg m;
        ASSERT_TRUE(Take(m)) << c.key;
        EXPECT_EQ(m.message, c.message);
        EXPECT_EQ(m.wParam, sdl::VirtualKeyOf(c.key));
        EXPECT_EQ(m.modifiers, c.modifiers);
    }
}

TEST_F(SdlWindowTest, EventsABoxHandsOverReachTheInputAndKeepTheirMessagesButKeyPresses)
{
    auto* input = static_cast<sdl::Input*>(Sys().input);
    std::uint8_t keys[256];
    input->ReadKeyboard(keys);
    window->Absorb(KeyEvent(SDLK_f, KMOD_NONE));
    window->Absorb(WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
    ASSERT_TRUE(input->ReadKeyboard(keys));
    EXPECT_EQ(keys[sdl::DikOf(SDL_SCANCODE_F)], 0x80);
    win::Msg m;
    ASSERT_TRUE(window->PeekMessage(m));
    EXPECT_EQ(m.message, win::WM_ACTIVATE);  // no WM_KEYDOWN before it
    EXPECT_FALSE(window->PeekMessage(m));
    SDL_Event up = KeyEvent(SDLK_f, KMOD_NONE);
    up.type = SDL_KEYUP;
    window->Absorb(up);
    input->ReadKeyboard(keys);
    EXPECT_EQ(keys[sdl::DikOf(SDL_SCANCODE_F)], 0);
}

TEST_F(SdlWindowTest, NoBoxOfOursWhereNobodyCouldSeeOrAnswerIt)
{
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "offscreen") != 0) GTEST_SKIP() << "a real display";
    // It returns at once, so the caller falls back, instead of waiting for a click that cannot come.
    EXPECT_EQ(sdl::MessageBox(window, true, "未実装です", "オプション", win::MB_OK).Run(), 0);
}

}  // namespace
