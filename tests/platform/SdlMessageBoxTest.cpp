// Our message box in a real X window, answered by keys and the mouse as a player would (xdotool).
// Needs an X server (tests/e2e/desktop_box.sh runs it under Xvfb); skipped on other drivers.
#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include <unistd.h>

#include "platform/window/SdlMessageBox.h"
#include "platform/window/SdlWindow.h"
#include "tests/platform/GlFixture.h"

namespace {

class SdlMessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!gltest::InstallSdlOnce(true)) GTEST_SKIP() << "no SDL window";
        const char* driver = SDL_GetCurrentVideoDriver();
        if (!driver || std::string(driver) != "x11") GTEST_SKIP() << "needs an X server";
        if (std::system("command -v xdotool >/dev/null") != 0) GTEST_SKIP() << "needs xdotool";
        window = static_cast<sdl::Window*>(Sys().window);
        ASSERT_TRUE(WaitForFront()) << "the game window never got the focus";
    }
    bool WaitForFront()
    {
        for (int i = 0; i < 1000 && !window->IsForeground(); ++i) {
            if (i % 50 == 0) SDL_SetWindowInputFocus(window->Handle());
            win::Msg m;
            while (window->PeekMessage(m)) {
            }
            SDL_Delay(10);
        }
        return window->IsForeground();
    }
    // Shows a box and plays the shell commands at it once it has the focus ($id is the box); not at once,
    // as SDL takes a click in the first 10 ms after the focus came for the click that brought it.
    int Answer(unsigned style, const std::string& play)
    {
        const std::string script = "id=$(xdotool search --sync --onlyvisible --name '^box test$' | head -1); "
                                   "for i in $(seq 1 50); do [ \"$(xdotool getwindowfocus)\" = \"$id\" ] && break; "
                                   "sleep 0.1; done; sleep 0.1; " +
                                   play;
        std::atomic<bool> answered{false};
        std::thread player([&] {
            std::system(("timeout 20 sh -c '" + Quote(script) + "'").c_str());
            // A box the commands did not answer would wait for ever: end it as the session's end would.
            for (int i = 0; i < 100 && !answered; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (!answered) {
                SDL_Event quit{};
                quit.type = SDL_QUIT;
                SDL_PushEvent(&quit);
            }
        });
        SDL_GLContext context = SDL_GL_GetCurrentContext();
        const std::string acceleration = Hint(SDL_HINT_FRAMEBUFFER_ACCELERATION);
        const int answer = sdl::MessageBox(window, true, "一行目\n二行目", "box test", style).Run();
        answered = true;
        player.join();
        EXPECT_EQ(SDL_GL_GetCurrentContext(), context);
        // The box asked SDL for a software surface for its own window alone.
        EXPECT_EQ(Hint(SDL_HINT_FRAMEBUFFER_ACCELERATION), acceleration);
        return answer;
    }
    static std::string Hint(const char* name)
    {
        const char* value = SDL_GetHint(name);
        return value ? value : "(unset)";
    }
    static std::string Quote(const std::string& s)
    {
        std::string out;
        for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return out;
    }
    sdl::Window* window = nullptr;
};

TEST_F(SdlMessageBoxTest, KeysAndTheMouseAnswerAndTheOwnerGetsTheFocusBack)
{
    // Centred on its owner, both measured by xdotool, which adds a window manager's frame twice where SDL's
    // position has it once (within what a frame may shift): Return, else Escape.
    EXPECT_EQ(Answer(win::MB_OKCANCEL, "eval $(xdotool getwindowgeometry --shell $id); set -- $((X + WIDTH / 2)) "
                                       "$((Y + HEIGHT / 2)); eval $(xdotool getwindowgeometry --shell "
                                       "$(xdotool search --name '^zenthar tests$' | head -1)); "
                                       "dx=$((X + WIDTH / 2 - $1)); dy=$((Y + HEIGHT / 2 - $2)); "
                                       "if [ ${dx#-} -le 40 ] && [ ${dy#-} -le 40 ]; then xdotool key Return; "
                                       "else xdotool key Escape; fi"),
              win::IDOK);
    EXPECT_TRUE(WaitForFront());
    EXPECT_EQ(Answer(win::MB_OKCANCEL, "xdotool key Escape"), win::IDCANCEL);
    EXPECT_EQ(Answer(win::MB_OKCANCEL, "xdotool key Tab; xdotool key space"), win::IDCANCEL);
    EXPECT_EQ(Answer(win::MB_OK, "xdotool key Escape"), win::IDOK);
    // キャンセル is the right-hand button of the band at the bottom.
    EXPECT_EQ(Answer(win::MB_OKCANCEL,
                     "eval $(xdotool getwindowgeometry --shell $id); "
                     "xdotool mousemove --window $id $((WIDTH - 30)) $((HEIGHT - 23)) click 1"),
              win::IDCANCEL);
    // A press that leaves the button before the release is no click; the press gave Cancel the focus.
    EXPECT_EQ(Answer(win::MB_OKCANCEL,
                     "eval $(xdotool getwindowgeometry --shell $id); "
                     "xdotool mousemove --window $id $((WIDTH - 30)) $((HEIGHT - 23)) mousedown 1; "
                     "xdotool mousemove --window $id 5 5 mouseup 1; xdotool key Tab; xdotool key Return"),
              win::IDOK);
    EXPECT_TRUE(WaitForFront());
    // The session's end while a box is up: answered as Escape, and the game is asked to close.
    EXPECT_EQ(Answer(win::MB_OKCANCEL, "kill -TERM " + std::to_string(getpid())), win::IDCANCEL);
    bool closeAsked = false;
    win::Msg m;
    while (window->PeekMessage(m)) closeAsked = closeAsked || m.message == win::WM_CLOSE;
    EXPECT_TRUE(closeAsked);
}

}  // namespace
