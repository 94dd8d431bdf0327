// Keyboard events and a virtual controller drive GetIs in the game on the real SDL back end, through the
// shipped button map.
// Needs a window that gets keyboard focus (an X server without a window manager); skipped elsewhere.
#include <gtest/gtest.h>

#include <SDL.h>

#include "app/CInput.h"
#include "app/CQovGame.h"
#include "app/Entry.h"
#include "platform/HeadlessPlatform.h"
#include "platform/input/SdlInput.h"
#include "tests/platform/GlFixture.h"
#include "tests/support/GameTestSupport.h"
#include "tests/support/VirtualJoystick.h"

namespace {

class SdlGameInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!gltest::InstallSdlOnce(false)) GTEST_SKIP() << "no SDL video";
        const char* driver = SDL_GetCurrentVideoDriver();
        if (driver && std::string(driver) == "offscreen") GTEST_SKIP() << "offscreen windows never get focus";
        // The game makes its own window and device.
        Sys().graphics->ReleaseDevice();
        Sys().window->Destroy();
        files.moduleFileName = testsupport::GamePath(std::string(ZENTHAR_STAGE_DIR) + "/bin/zenthar");
        files.currentDirectory = testsupport::GamePath(ZENTHAR_STAGE_DIR);
        Sys().files = &files;
        Sys().messageBox = &boxes;  // a real box would wait for a click
        Sys().audio = nullptr;      // silent: the sound tests own the audio device
        game = CreateGame();
        // Without a window manager X gives focus to the window under the pointer; ask for it as well.
        SDL_Window* window = SDL_GL_GetCurrentWindow();
        for (int i = 0; i < 1000 && !Sys().window->IsForeground(); ++i) {
            if (window && i % 50 == 0) SDL_SetWindowInputFocus(window);
            Pump();
            SDL_Delay(10);
        }
        if (!Sys().window->IsForeground()) GTEST_SKIP() << "the window never got keyboard focus";
    }
    void TearDown() override
    {
        if (device >= 0) testsupport::DetachVirtualJoystick(device);
        if (game) {
            Sys().window->Destroy();
            delete game;
            g_game = nullptr;
        }
    }
    void Pump()
    {
        win::Msg msg;
        while (Sys().window->PeekMessage(msg)) {
        }
    }
    void Key(SDL_Scancode code, bool down)
    {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.windowID = SDL_GetWindowID(SDL_GL_GetCurrentWindow());
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.scancode = code;
        e.key.keysym.sym = SDL_GetKeyFromScancode(code);
        SDL_PushEvent(&e);
    }
    bool Step(int key)
    {
        Pump();
        game->input->Update();  // the first thing of every update step
        return game->GetIs(0, key);
    }

    headless::FileSystem files;
    headless::MessageBoxes boxes;
    CQovGame* game = nullptr;
    int device = -1;
};

// The shipped Config.ini, as a player finds it: V slows, F fires and decides, Space pauses; on a known
// controller the bottom face button fires, a shoulder slows, Start pauses, stick and D-pad steer.
TEST_F(SdlGameInputTest, KeysAndAControllerPlayThroughTheShippedMap)
{
    EXPECT_FALSE(Step(12));
    Key(SDL_SCANCODE_S, true);
    EXPECT_TRUE(Step(12));
    Key(SDL_SCANCODE_S, false);
    EXPECT_FALSE(Step(12));
    const std::pair<SDL_Scancode, int> keys[] = {{SDL_SCANCODE_V, 0}, {SDL_SCANCODE_F, 2}, {SDL_SCANCODE_SPACE, 9}};
    for (auto [code, key] : keys) {
        Key(code, true);
        EXPECT_TRUE(Step(key)) << key;
        Key(code, false);
        EXPECT_FALSE(Step(key)) << key;
    }

    device = testsupport::AttachVirtualController(11);
    ASSERT_GE(device, 0) << SDL_GetError();
    Pump();
    const std::pair<int, int> buttons[] = {{0, 2}, {9, 0}, {6, 9}};  // SDL's A, left shoulder, Start
    for (auto [button, key] : buttons) {
        ASSERT_TRUE(testsupport::SetVirtualJoystickButton(device, button, true));
        EXPECT_TRUE(Step(key)) << key;
        testsupport::SetVirtualJoystickButton(device, button, false);
        EXPECT_FALSE(Step(key)) << key;
    }

    ASSERT_TRUE(testsupport::SetVirtualJoystickHat(device, 0, SDL_HAT_LEFT));
    EXPECT_TRUE(Step(11));
    EXPECT_FLOAT_EQ(game->playerPad[0]->axisX, -1.0f);
    testsupport::SetVirtualJoystickHat(device, 0, SDL_HAT_DOWN);
    EXPECT_TRUE(Step(13));
    EXPECT_FALSE(game->GetIs(0, 11));
    testsupport::SetVirtualJoystickHat(device, 0, SDL_HAT_CENTERED);
    ASSERT_TRUE(testsupport::SetVirtualJoystickAxis(device, 0, 32767));
    EXPECT_TRUE(Step(10));
    EXPECT_FLOAT_EQ(game->playerPad[0]->axisX, 1.0f);
    testsupport::SetVirtualJoystickAxis(device, 0, 6000);  // about 183: inside the dead zone
    EXPECT_FALSE(Step(10));

    // Pulled out while held: it contributes nothing from then on.
    testsupport::SetVirtualJoystickButton(device, 0, true);
    EXPECT_TRUE(Step(2));
    testsupport::DetachVirtualJoystick(device);
    device = -1;
    EXPECT_FALSE(Step(2));
}

}  // namespace
