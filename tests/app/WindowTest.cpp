#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/CGame.h"
#include "app/CQovGame.h"
#include "app/CRenderDevice.h"
#include "app/Entry.h"
#include "platform/HeadlessPlatform.h"
#include "platform/files/IniFile.h"
#include "support/GameTestSupport.h"

namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { h = &headless::Install(); }
    // Runs the loop with the given script; the script is called whenever the queue is empty.
    void Run(CGame& game, std::function<void(int)> script)
    {
        int n = 0;
        h->window.onIdle = [&] { script(n++); };
        game.MainLoop();
    }
    bool Handled(std::uint32_t m) const
    {
        return std::find(h->window.handled.begin(), h->window.handled.end(), m) != h->window.handled.end();
    }
    headless::HeadlessPlatform* h = nullptr;
};

TEST_F(WindowTest, WindowIsTheFixedSizeTitledOneWithTheIconBesideTheProgram)
{
    h = &testsupport::InstallStaged();
    CGame game("Zenthar");
    EXPECT_EQ(h->window.title, "Zenthar");
    EXPECT_EQ(h->window.width, 800);
    EXPECT_EQ(h->window.height, 600);
    EXPECT_EQ(game.baseDir, testsupport::GamePath(std::string(ZENTHAR_STAGE_DIR) + "/bin/"));
    if (std::filesystem::exists(std::string(ZENTHAR_STAGE_DIR) + "/bin/game.ico")) {
        EXPECT_EQ(h->window.iconPath, game.baseDir + "game.ico");
    }
    // Cleared to opaque black and shown once before anything else.
    EXPECT_EQ(h->graphics.lastClearColour, 0xFF000000u);
    EXPECT_EQ(h->graphics.events.presents, 1);
}

TEST_F(WindowTest, EscapeClosesAtOnceWhenNoConfirmationIsAsked)
{
    CGame game("Probe");
    game.confirmExit = false;
    Run(game, [&](int n) {
        if (n == 3) h->window.PressKey(win::VK_ESCAPE);
    });
    EXPECT_TRUE(h->messageBoxes.shown.empty());
    EXPECT_FALSE(h->window.Exists());
    EXPECT_TRUE(Handled(win::WM_DESTROY));
}

TEST_F(WindowTest, ConfirmationCancelKeepsTheGameAndOkCloses)
{
    CGame game("Probe");
    ASSERT_TRUE(game.confirmExit);  // the frame's own default
    h->messageBoxes.answers = {win::IDCANCEL, win::IDOK};
    bool aliveAfterCancel = false;
    Run(game, [&](int n) {
        if (n == 1) h->window.PressKey(win::VK_ESCAPE);  // asks; Cancel
        if (n == 5) {
            aliveAfterCancel = h->window.Exists();
            h->window.PostMessage({win::WM_SYSCOMMAND, win::SC_CLOSE, 0, 0});  // the close button; OK
        }
    });
    EXPECT_TRUE(aliveAfterCancel);
    ASSERT_EQ(h->messageBoxes.shown.size(), 2u);
    EXPECT_EQ(h->messageBoxes.shown[0].text, "終了してもよろしいですか？");
    EXPECT_EQ(h->messageBoxes.shown[0].caption, "終了確認");
    EXPECT_EQ(h->messageBoxes.shown[0].style, win::MB_OKCANCEL);
    EXPECT_TRUE(h->messageBoxes.shown[0].owned);
    EXPECT_FALSE(h->window.Exists());
}

TEST_F(WindowTest, TheGameNeverAsksBeforeClosing)
{
    h = &testsupport::InstallStaged();
    CQovGame* game = CreateGame();
    EXPECT_FALSE(game->confirmExit);
    const size_t boxes = h->messageBoxes.shown.size();
    Run(*game, [&](int n) {
        h->clock.Advance(1.0 / 60.0);
        if (n == 10) h->window.PostMessage({win::WM_SYSCOMMAND, win::SC_CLOSE, 0, 0});
    });
    EXPECT_EQ(h->messageBoxes.shown.size(), boxes);
    EXPECT_FALSE(h->window.Exists());
    delete game;
}

TEST_F(WindowTest, MaximiseScreenSaverAndDoubleClicksAreRefusedOtherKeysConsumed)
{
    CGame game("Probe");
    game.confirmExit = false;
    Run(game, [&](int n) {
        if (n == 0) {
            h->window.PostMessage({win::WM_SYSCOMMAND, win::SC_MAXIMIZE, 0, 0});
            h->window.PostMessage({win::WM_SYSCOMMAND, win::SC_MONITORPOWER, 0, 0});
            h->window.PostMessage({win::WM_NCLBUTTONDBLCLK, 0, 0, 0});
            h->window.PressKey(win::VK_F4);
            h->window.PressKey(win::VK_F1);
            h->window.PressKey(win::VK_F1, win::MOD_SHIFT_HELD);
        }
        if (n == 1) h->window.PressKey(win::VK_ESCAPE);
    });
    EXPECT_FALSE(h->window.maximized);
    EXPECT_FALSE(h->window.screenSaverAllowed);
    // The accelerators took the key presses away: commands arrived instead.
    EXPECT_EQ(std::count(h->window.handled.begin(), h->window.handled.end(), win::WM_KEYDOWN), 0);
    EXPECT_EQ(std::count(h->window.handled.begin(), h->window.handled.end(), win::WM_COMMAND), 4);
    EXPECT_TRUE(h->window.Exists() == false);
}

TEST_F(WindowTest, AcceleratorsWantTheirModifiersExactlyAndAltF4IsTheSystemClose)
{
    CGame game("Probe");
    game.confirmExit = false;
    bool aliveBeforeAltF4 = false;
    Run(game, [&](int n) {
        if (n == 0) {
            h->window.PressKey(win::VK_ESCAPE, win::MOD_CTRL_HELD);
            h->window.PressKey(win::VK_ESCAPE, win::MOD_ALT_HELD);
            h->window.PressKey(win::VK_ESCAPE, win::MOD_SHIFT_HELD);
            h->window.PressKey(win::VK_F1, win::MOD_SHIFT_HELD | win::MOD_CTRL_HELD);
            h->window.PressKey(win::VK_F4, win::MOD_CTRL_HELD);
        }
        if (n == 1) {
            aliveBeforeAltF4 = h->window.Exists();
            h->window.PressKey(win::VK_F4, win::MOD_ALT_HELD);
        }
    });
    EXPECT_TRUE(aliveBeforeAltF4);
    // None was an accelerator: every press reached the window as a key.
    EXPECT_EQ(std::count(h->window.handled.begin(), h->window.handled.end(), win::WM_COMMAND), 0);
    EXPECT_EQ(std::count(h->window.handled.begin(), h->window.handled.end(), win::WM_KEYDOWN), 4);
    EXPECT_EQ(std::count(h->window.handled.begin(), h->window.handled.end(), win::WM_SYSKEYDOWN), 2);
    EXPECT_FALSE(h->window.Exists());
    EXPECT_TRUE(Handled(win::WM_CLOSE));
    EXPECT_EQ(h->window.quitCode, 0);
}

TEST_F(WindowTest, NoDeviceShowsTheMessageAndExitsWithOne)
{
    EXPECT_EXIT(
        {
            headless::HeadlessPlatform& p = headless::Install();
            p.graphics.failCreate = true;
            CGame game("Zenthar");
        },
        ::testing::ExitedWithCode(1), "");
    // And the text it shows.
    EXPECT_EXIT(
        {
            headless::HeadlessPlatform& p = headless::Install();
            p.graphics.failCreate = true;
            p.messageBoxes.answers.clear();
            struct Watch : IMessageBox {
                int Show(bool, const std::string& text, const std::string& caption, unsigned) override
                {
                    if (text.rfind("このゲームにはDirectX 9.0以上が必要です。\n", 0) == 0 && caption == "Zenthar") {
                        std::_Exit(7);
                    }
                    return win::IDOK;
                }
            } watch;
            Sys().messageBox = &watch;
            CGame game("Zenthar");
        },
        ::testing::ExitedWithCode(7), "");
}

class SettingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = std::filesystem::temp_directory_path() / "zenthar_setting";
        std::filesystem::create_directories(dir);
        std::filesystem::remove(dir / "Setting.ini");
        h = &headless::Install();
        h->files.currentDirectory = testsupport::GamePath(dir.string());
    }
    void Write(const std::string& text) { std::ofstream(dir / "Setting.ini", std::ios::binary) << text; }
    std::filesystem::path dir;
    headless::HeadlessPlatform* h = nullptr;
};

TEST_F(SettingTest, FullScreenFromTheWorkingDirectoryInUtf8OrShiftJis)
{
    {
        CGame game("Probe");
        EXPECT_FALSE(game.fullScreen);  // no file
    }
    Write("[ウィンドウモード]\r\nFullScreen=1\r\n");
    {
        h = &headless::Install();
        h->files.currentDirectory = testsupport::GamePath(dir.string());
        CGame game("Probe");
        EXPECT_TRUE(game.fullScreen);
        EXPECT_TRUE(h->window.fullScreen);
        EXPECT_FALSE(h->window.cursorVisible);
        EXPECT_EQ(game.renderDevice->GetWidth(), 800);
        EXPECT_EQ(game.renderDevice->GetHeight(), 600);
    }
    Write("[" + Utf8ToShiftJis("ウィンドウモード") + "]\nFullScreen=2\n");
    EXPECT_EQ(GetPrivateProfileInt("ウィンドウモード", "FullScreen", 0, (dir / "Setting.ini").string()), 2u);
    Write("[ウィンドウモード]\nFullScreen=0\n");
    {
        h = &headless::Install();
        h->files.currentDirectory = testsupport::GamePath(dir.string());
        CGame game("Probe");
        EXPECT_FALSE(game.fullScreen);
        EXPECT_TRUE(h->window.cursorVisible);
    }
    Write("[Other]\nFullScreen=1\n");
    EXPECT_EQ(GetPrivateProfileInt("ウィンドウモード", "FullScreen", 0, (dir / "Setting.ini").string()), 0u);
    Write("[ウィンドウモード]\nfullscreen = 7abc\n");
    EXPECT_EQ(GetPrivateProfileInt("ウィンドウモード", "FullScreen", 0, (dir / "Setting.ini").string()), 7u);
}

}  // namespace
