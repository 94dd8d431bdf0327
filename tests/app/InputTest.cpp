// Keyboard groups, joysticks, the stick dead zone and GetIs over the recording back end.
#include <gtest/gtest.h>

#include "app/CInput.h"
#include "app/CQovGame.h"
#include "app/Entry.h"
#include "platform/HeadlessPlatform.h"
#include "tests/support/GameTestSupport.h"

namespace {

class InputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        h = &headless::Install();
        h->window.exists = true;
        input = std::make_unique<CInput>(&h->input);
    }
    const PadState& Pad(int i) { return input->pads[i]; }
    headless::HeadlessPlatform* h = nullptr;
    std::unique_ptr<CInput> input;
};

TEST_F(InputTest, KeyboardGroupsFeedPadsZeroToThree)
{
    h->input.SetKey(0x1F, true);  // S
    h->input.SetKey(0x2D, true);  // X
    h->input.SetKey(0x2C, true);  // Z
    h->input.SetKey(0x1C, true);  // Return
    h->input.SetKey(0xCD, true);  // right arrow
    h->input.SetKey(0x07, true);  // 6
    h->input.SetKey(0x14, true);  // T
    input->Update();

    EXPECT_TRUE(Pad(0).up);
    EXPECT_TRUE(Pad(0).down);
    EXPECT_FLOAT_EQ(Pad(0).axisY, -1.0f);  // up wins
    EXPECT_FLOAT_EQ(Pad(0).axisX, -1.0f);
    EXPECT_TRUE(Pad(0).buttons[1]);
    EXPECT_FALSE(Pad(0).buttons[0]);
    EXPECT_TRUE(Pad(1).right);
    EXPECT_FLOAT_EQ(Pad(1).axisX, 1.0f);
    EXPECT_FALSE(Pad(1).up);
    EXPECT_TRUE(Pad(2).buttons[1]);
    EXPECT_TRUE(Pad(3).buttons[1]);
    EXPECT_FALSE(Pad(0).right || Pad(0).buttons[2]);

    // Only the last step counts: nothing is latched.
    h->input.ReleaseAllKeys();
    h->input.SetKey(0x20, true);  // D, the other key of button 1
    input->Update();
    EXPECT_TRUE(Pad(0).buttons[1]);
    EXPECT_FALSE(Pad(0).up || Pad(0).down || Pad(0).left);
    EXPECT_FLOAT_EQ(Pad(0).axisY, 0.0f);
}

TEST_F(InputTest, SticksUseTheDeadZoneAndAddToTheKeyboard)
{
    const int j = h->input.AttachJoystick();
    h->input.joysticks[j].reading.axisX = 500;
    h->input.joysticks[j].reading.axisY = 200;
    input->Update();
    EXPECT_TRUE(Pad(0).right);
    EXPECT_FLOAT_EQ(Pad(0).axisX, 0.5f);
    EXPECT_FALSE(Pad(0).up || Pad(0).down);
    EXPECT_FLOAT_EQ(Pad(0).axisY, 0.0f);

    h->input.joysticks[j].reading.axisX = 1000;
    h->input.SetKey(0x2E, true);  // C as well
    input->Update();
    EXPECT_FLOAT_EQ(Pad(0).axisX, 2.0f);

    EXPECT_FLOAT_EQ(CInput::StickValue(-1000), -1.0f);
    EXPECT_FLOAT_EQ(CInput::StickValue(-800), -1.0f);
    EXPECT_FLOAT_EQ(CInput::StickValue(-500), -0.5f);
    EXPECT_FLOAT_EQ(CInput::StickValue(-200), 0.0f);
    EXPECT_FLOAT_EQ(CInput::StickValue(201), 1.0f / 600.0f);
    EXPECT_FLOAT_EQ(CInput::StickValue(799), 599.0f / 600.0f);
    EXPECT_FLOAT_EQ(CInput::StickValue(800), 1.0f);
}

TEST_F(InputTest, JoysticksFeedTheirOwnPadsAndHotPlugNeverShiftsThem)
{
    h->input.AttachJoystick();
    h->input.AttachJoystick();
    h->input.joysticks[0].reading.buttons[32] = 0x80;
    h->input.joysticks[1].reading.buttons[3] = 0x80;
    h->input.joysticks[1].reading.axisY = -900;
    input->Update();
    EXPECT_TRUE(Pad(0).buttons[32]);
    EXPECT_FALSE(Pad(0).buttons[3]);
    EXPECT_TRUE(Pad(1).buttons[3]);
    EXPECT_TRUE(Pad(1).up);
    EXPECT_FLOAT_EQ(Pad(1).axisY, -1.0f);

    h->input.DetachJoystick(0);
    const int third = h->input.AttachJoystick();
    h->input.joysticks[third].reading.buttons[5] = 0x80;
    input->Update();
    EXPECT_FALSE(Pad(0).buttons[32]);
    EXPECT_TRUE(Pad(1).buttons[3]);
    EXPECT_TRUE(Pad(2).buttons[5]);

    // Seventeen controllers: the last has no pad.
    while (h->input.JoystickCount() < 17) h->input.AttachJoystick();
    h->input.joysticks[16].reading.buttons[0] = 0x80;
    input->Update();
    for (int i = 0; i < CInput::kPadCount; ++i) EXPECT_FALSE(Pad(i).buttons[0]) << i;
}

TEST_F(InputTest, NothingIsReadWhileTheWindowIsNotInFront)
{
    h->input.AttachJoystick();
    h->input.joysticks[0].reading.buttons[0] = 0x80;
    h->input.SetKey(0x2F, true);
    h->window.foreground = false;
    input->Update();
    EXPECT_FALSE(Pad(0).buttons[0]);
    h->window.foreground = true;
    input->Update();
    EXPECT_TRUE(Pad(0).buttons[0]);
}

class GetIsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        h = &testsupport::InstallStaged();
        game = CreateGame();
        for (int k = 0; k < 10; ++k) game->joyButtonMap[k][0] = k;
    }
    void TearDown() override
    {
        delete game;
        g_game = nullptr;
    }
    bool HeldAfterStep(int key)
    {
        game->input->Update();
        return game->GetIs(0, key);
    }
    headless::HeadlessPlatform* h = nullptr;
    CQovGame* game = nullptr;
};

TEST_F(GetIsTest, MapMovesKeyboardAndJoystickTogether)
{
    h->input.SetKey(0x2F, true);  // V: pad button 0
    EXPECT_TRUE(HeldAfterStep(0));
    game->joyButtonMap[0][0] = 3;
    EXPECT_FALSE(HeldAfterStep(0));
    h->input.SetKey(0x22, true);  // G: pad button 3
    EXPECT_TRUE(HeldAfterStep(0));
    h->input.ReleaseAllKeys();
    const int j = h->input.AttachJoystick();
    h->input.joysticks[j].reading.buttons[3] = 0x80;
    EXPECT_TRUE(HeldAfterStep(0));

    // Button 9 has no key; only a joystick gives it.
    for (int dik = 1; dik < 256; ++dik) h->input.SetKey(dik, true);
    EXPECT_FALSE(HeldAfterStep(9));
    h->input.joysticks[j].reading.buttons[9] = 0x80;
    EXPECT_TRUE(HeldAfterStep(9));
}

TEST_F(GetIsTest, DirectionsAndBadNumbers)
{
    h->input.SetKey(0x2E, true);  // C
    h->input.SetKey(0x1F, true);  // S
    EXPECT_TRUE(HeldAfterStep(10));
    EXPECT_FALSE(game->GetIs(0, 11));
    EXPECT_TRUE(game->GetIs(0, 12));
    EXPECT_FALSE(game->GetIs(0, 13));

    // Map entries from the configuration outside the 128 buttons are never held.
    const int j = h->input.AttachJoystick();
    for (int k = 0; k <= 32; ++k) h->input.joysticks[j].reading.buttons[k] = 0x80;
    game->joyButtonMap[4][0] = 128;
    game->joyButtonMap[5][0] = -1;
    game->joyButtonMap[6][0] = 2147483647;
    EXPECT_FALSE(HeldAfterStep(4));
    EXPECT_FALSE(game->GetIs(0, 5));
    EXPECT_FALSE(game->GetIs(0, 6));

    h->messageBoxes.shown.clear();
    EXPECT_FALSE(game->GetIs(0, 14));
    EXPECT_FALSE(game->GetIs(0, -1));
    ASSERT_EQ(h->messageBoxes.shown.size(), 2u);
    EXPECT_EQ(h->messageBoxes.shown[0].caption, "関数GetIs");
    EXPECT_EQ(h->messageBoxes.shown[0].text, "キーが不正です");
    EXPECT_FALSE(h->messageBoxes.shown[0].owned);
}

}  // namespace
