// Our message box in a real X window, answered by keys and the mouse as a player would (xdotool), and
// in the whole game by a pad alone. Needs an X server (tests/e2e/desktop_box.sh runs it under Xvfb);
// skipped on other drivers.
#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "app/CQovGame.h"
#include "app/Entry.h"
#include "platform/HeadlessPlatform.h"
#include "platform/input/SdlInput.h"
#include "platform/window/SdlMessageBox.h"
#include "platform/window/SdlWindow.h"
#include "tests/platform/GlFixture.h"
#include "tests/support/GameTestSupport.h"
#include "tests/support/VirtualJoystick.h"

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
            Pump();
            SDL_Delay(10);
        }
        return window->IsForeground();
    }
    void Pump()
    {
        win::Msg m;
        while (window->PeekMessage(m)) {
        }
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
        const int answer = sdl::MessageBox(window, true, "一行目\n二行目", "box test", style).Run();
        answered = true;
        player.join();
        EXPECT_EQ(SDL_GL_GetCurrentContext(), context);
        return answer;
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

// Every box the game shows, on to the real one.
struct CountedBoxes : IMessageBox {
    int Show(bool owned, const std::string& text, const std::string& caption, unsigned style) override
    {
        texts.push_back(text);
        return real->Show(owned, text, caption, style);
    }
    void SetPadDecideButton(int button) override { real->SetPadDecideButton(button); }
    IMessageBox* real = nullptr;
    std::vector<std::string> texts;
};

// The game with only a pad attached: a known controller, or (true) a raw joystick whose Config.ini decides
// with button 3, in a root without table 1.
class SdlMessageBoxPadTest : public SdlMessageBoxTest, public ::testing::WithParamInterface<bool> {
protected:
    static constexpr int kHat = -1, kCheck = -2;  // a step sets the hat, or checks that the box is still up
    struct Press { int button, value; };
    void SetUp() override
    {
        SdlMessageBoxTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        Sys().graphics->ReleaseDevice();
        window->Destroy();
        // The raw root's bin/ is a real folder: its ".." must be that root.
        if (raw) std::system(("mkdir -p " + root + "/bin " + root + "/Table && cd " + root + " && for d in BGM Effect "
                              "Font Model Sound Texture; do ln -s '" ZENTHAR_STAGE_DIR "'/$d; done && cp '" ZENTHAR_STAGE_DIR
                              "'/Table/table2.txt Table/ && printf '0 1 3 3 4 5 6 7 8 6\\n5 6\\n' >Config.ini").c_str());
        files.moduleFileName = testsupport::GamePath(root + "/bin/zenthar");
        files.currentDirectory = testsupport::GamePath(root);
        Sys().files = &files;
        boxes.real = Sys().messageBox;
        Sys().messageBox = &boxes;
        Sys().audio = nullptr;
        device = raw ? testsupport::AttachVirtualJoystick(2, 8, 1) : testsupport::AttachVirtualController(11);
        ASSERT_GE(device, 0) << SDL_GetError();
        // Input of its own: the shared one keeps the slot of a pad an earlier test pulled out as pad 0.
        input = std::make_unique<sdl::Input>(window);
        Sys().input = input.get();
        window->listeners.push_back([this](const SDL_Event& e) { input->OnEvent(e); });
        game = CreateGame();
        ASSERT_TRUE(WaitForFront()) << "the game window never got the focus";
    }
    void TearDown() override
    {
        if (input) window->listeners.pop_back();
        if (device >= 0) testsupport::DetachVirtualJoystick(device);
        if (game) {
            window->Destroy();
            delete game;
            g_game = nullptr;
        }
        if (raw) std::system(("rm -rf " + root).c_str());
    }
    void Steps(int n, const std::vector<Press>& presses = {})  // a step after each press, then n more
    {
        for (Press p : presses) {
            Set(p);
            Steps(1);
        }
        for (int i = 0; i < n; ++i) {
            Pump();
            game->Update();
        }
    }
    void Set(Press p)
    {
        if (p.button == kHat) testsupport::SetVirtualJoystickHat(device, 0, p.value);
        else testsupport::SetVirtualJoystickButton(device, p.button, p.value != 0);
    }
    bool BoxUp()
    {
        const std::string list = "xdotool search --onlyvisible --pid " + std::to_string(getpid()) + " 2>/dev/null";
        return std::system(("for w in $(" + list + "); do [ \"$(xdotool getwindowname $w 2>/dev/null)\" = Zenthar ] "
                            "|| exit 0; done; exit 1").c_str()) == 0;
    }
    // Runs `run` here while another thread plays `steps` at the box once it is up, as a player would; a box
    // still up 5 s later is ended as the session's end would. True when a box came and was up at each check.
    bool Play(const std::function<void()>& run, const std::vector<Press>& steps)
    {
        using namespace std::chrono_literals;
        std::atomic<bool> done{false};
        bool ok = false;
        std::thread player([&] {
            for (int i = 0; i < 100 && !done && !(ok = BoxUp()); ++i) std::this_thread::sleep_for(100ms);
            if (const char* out = std::getenv("OUT"); out && ok)  // the box with its pad hint, to look at
                std::system(("sleep 0.3; import -window root " + std::string(out) + "/padbox-" + std::to_string(raw) +
                             "-" + std::to_string(shots++) + ".png").c_str());
            for (Press p : steps) {
                std::this_thread::sleep_for(p.button == kCheck ? 500ms : 150ms);
                if (p.button == kCheck) ok = ok && BoxUp();
                else Set(p);
            }
            for (int i = 0; i < 50 && !done; ++i) std::this_thread::sleep_for(100ms);
            SDL_Event quit{SDL_QUIT};
            if (!done) {
                ok = false;
                SDL_PushEvent(&quit);
            }
        });
        run();
        done = true;
        player.join();
        EXPECT_TRUE(WaitForFront());
        return ok;
    }

    const bool raw = GetParam();
    const std::string root = raw ? ::testing::TempDir() + "padbox-" + std::to_string(getpid()) : ZENTHAR_STAGE_DIR;
    const int decide = raw ? 3 : SDL_CONTROLLER_BUTTON_A, close = raw ? 1 : SDL_CONTROLLER_BUTTON_BACK;
    std::unique_ptr<sdl::Input> input;
    headless::FileSystem files;
    CountedBoxes boxes;
    CQovGame* game = nullptr;
    int device = -1;
    int shots = 0;
};

TEST_P(SdlMessageBoxPadTest, OptionAndTheMissingTableAnswerThePad)
{
    // One D-pad step (a known pad reports it as a controller and as a joystick) and decide: Cancel.
    int answer = 0;
    EXPECT_TRUE(Play([&] { answer = sdl::MessageBox(window, true, "pad", "pad", win::MB_OKCANCEL, decide).Run(); },
                     {{kHat, SDL_HAT_RIGHT}, {kHat, 0}, {decide, 1}, {decide, 0}}));
    EXPECT_EQ(answer, win::IDCANCEL);

    Steps(2, {{kHat, 0}, {kHat, SDL_HAT_RIGHT}, {kHat, 0}});  // the pointer to Option
    // The press that opens the box reaches it still queued: not an answer; a second press and release is.
    Set({decide, 1});
    EXPECT_TRUE(Play([&] { game->Update(); }, {{decide, 0}, {kCheck, 0}, {decide, 1}, {decide, 0}}));
    Play([&] { Steps(10); }, {});
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"未実装です"});
    // Back (raw 1) closes it, once the decide button that opened it is up: held, the title would reopen it.
    Set({decide, 1});
    EXPECT_TRUE(Play([&] { game->Update(); }, {{close, 1}, {close, 0}, {kCheck, 0}, {decide, 0}}));
    Play([&] { Steps(10); }, {});
    EXPECT_EQ(boxes.texts.size(), 2u);

    // Game_Start: without table 1, "error" when the stage starts, answered by the pad; play goes on.
    Steps(0, {{kHat, SDL_HAT_LEFT}, {kHat, 0}, {decide, 1}, {decide, 0}});
    if (raw) EXPECT_TRUE(Play([&] { Steps(40); }, {{decide, 1}, {decide, 0}}));
    else Steps(40);
    EXPECT_EQ(boxes.texts.back(), raw ? "error" : "未実装です");
    EXPECT_EQ(game->sceneState, SCENE_STAGE1);
    const float x = game->playerX;
    testsupport::SetVirtualJoystickAxis(device, 0, 32767);
    Steps(10);
    EXPECT_GT(game->playerX, x + 20);
}

INSTANTIATE_TEST_SUITE_P(Pads, SdlMessageBoxPadTest, ::testing::Bool());

}  // namespace
