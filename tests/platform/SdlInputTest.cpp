// Real SDL controllers (virtual ones) and key events through the SDL input back end.
#include <gtest/gtest.h>

#include <SDL.h>

#include "app/CInput.h"
#include "platform/input/SdlInput.h"
#include "tests/platform/GlFixture.h"
#include "tests/support/VirtualJoystick.h"

namespace {

class SdlInputTest : public gltest::GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (IsSkipped()) return;
        input = static_cast<sdl::Input*>(Sys().input);
        pads = std::make_unique<CInput>(input);
    }
    void TearDown() override
    {
        while (!attached.empty()) {
            Detach(attached.back());
        }
    }
    // Lets SDL deliver device and key events to the back end, as the message pump does.
    void Pump()
    {
        win::Msg msg;
        while (Sys().window->PeekMessage(msg)) {
        }
    }
    // A raw joystick, or one SDL's controller database knows.
    int Attach(bool controller = false)
    {
        const int device =
            controller ? testsupport::AttachVirtualController(11) : testsupport::AttachVirtualJoystick(2, 16, 1);
        EXPECT_GE(device, 0) << SDL_GetError();
        attached.push_back(SDL_JoystickGetDeviceInstanceID(device));
        Pump();
        return device;
    }
    static int DeviceOf(SDL_JoystickID id)
    {
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) return i;
        return -1;
    }
    void Detach(SDL_JoystickID id)
    {
        const int device = DeviceOf(id);
        if (device >= 0) testsupport::DetachVirtualJoystick(device);
        std::erase(attached, id);
        Pump();
    }
    bool Focused() const { return Sys().window->IsForeground(); }

    sdl::Input* input = nullptr;
    std::unique_ptr<CInput> pads;
    std::vector<SDL_JoystickID> attached;
};

TEST_F(SdlInputTest, ScancodesMapOntoTheKeyCodesOfTheKeyTables)
{
    EXPECT_EQ(sdl::DikOf(SDL_SCANCODE_S), 0x1F);
    EXPECT_EQ(sdl::DikOf(SDL_SCANCODE_X), 0x2D);
    EXPECT_EQ(sdl::DikOf(SDL_SCANCODE_RETURN), 0x1C);
    EXPECT_EQ(sdl::DikOf(SDL_SCANCODE_SPACE), 0x39);
    EXPECT_EQ(sdl::DikOf(SDL_SCANCODE_UP), 0xC8);
    EXPECT_EQ(sdl::DikOf(SDL_SCANCODE_RIGHT), 0xCD);
    EXPECT_EQ(sdl::DikOf(SDL_SCANCODE_0), 0x0B);
    EXPECT_EQ(sdl::DikOf(SDL_SCANCODE_L), 0x26);

}

TEST_F(SdlInputTest, AQuickTapReadsHeldOnceAndARepeatLatchesNothing)
{
    auto send = [this](Uint32 type, Uint8 repeat) {
        SDL_Event key{};
        key.type = type;
        key.key.repeat = repeat;
        key.key.keysym.scancode = SDL_SCANCODE_G;
        input->OnEvent(key);
    };
    std::uint8_t keys[256];
    send(SDL_KEYDOWN, 0);
    ASSERT_TRUE(input->ReadKeyboard(keys));
    EXPECT_EQ(keys[0x22], 0x80);
    // Held long enough to repeat, then let go before the next reading.
    send(SDL_KEYDOWN, 1);
    send(SDL_KEYUP, 0);
    input->ReadKeyboard(keys);
    EXPECT_EQ(keys[0x22], 0);
    // Pressed and released between two readings: held for one reading only.
    send(SDL_KEYDOWN, 0);
    send(SDL_KEYUP, 0);
    input->ReadKeyboard(keys);
    EXPECT_EQ(keys[0x22], 0x80);
    input->ReadKeyboard(keys);
    EXPECT_EQ(keys[0x22], 0);
}

TEST_F(SdlInputTest, VirtualJoysticksFeedPadsInOrderAndHotPlugKeepsTheOthers)
{
    const int before = input->JoystickCount();
    const int first = Attach();
    const int second = Attach();
    ASSERT_EQ(input->JoystickCount(), before + 2);
    testsupport::SetVirtualJoystickAxis(first, 0, 16384);  // about 500
    testsupport::SetVirtualJoystickButton(second, 3, true);
    testsupport::SetVirtualJoystickAxis(second, 1, -32768);

    JoystickReading r;
    ASSERT_TRUE(input->ReadJoystick(before, r));
    EXPECT_NEAR(r.axisX, 500, 1);
    EXPECT_EQ(r.axisY, 0);
    ASSERT_TRUE(input->ReadJoystick(before + 1, r));
    EXPECT_EQ(r.buttons[3], 0x80);
    EXPECT_EQ(r.axisY, -1000);
    EXPECT_EQ(r.buttons[32], 0);

    // The first one pulled out: its slot reads nothing, the second keeps its pad.
    Detach(attached.front());
    EXPECT_EQ(input->JoystickCount(), before + 2);
    EXPECT_FALSE(input->ReadJoystick(before, r));
    EXPECT_FALSE(input->AcquireJoystick(before));
    ASSERT_TRUE(input->ReadJoystick(before + 1, r));
    EXPECT_EQ(r.buttons[3], 0x80);

    // A new one joins at the end; a known controller reads in its layout (SDL's A is pad button 2).
    const int third = Attach(true);
    EXPECT_EQ(input->JoystickCount(), before + 3);
    testsupport::SetVirtualJoystickButton(third, 0, true);
    ASSERT_TRUE(input->ReadJoystick(before + 2, r));
    EXPECT_EQ(r.buttons[2], 0x80);

    if (before == 0 && Focused()) {
        pads->Update();
        EXPECT_TRUE(pads->pads[1].buttons[3]);
        EXPECT_TRUE(pads->pads[1].up);
        EXPECT_TRUE(pads->pads[2].buttons[2]);
        EXPECT_FALSE(pads->pads[0].buttons[0]);
    }
}

TEST_F(SdlInputTest, KnownControllersShareOneLayoutAndDpadsSteerWhileTheStickRests)
{
    const int before = input->JoystickCount();
    const int known = Attach(true);
    const int raw = Attach();
    ASSERT_EQ(input->JoystickCount(), before + 2);
    auto held = [](const JoystickReading& r) {
        std::vector<int> buttons;
        for (int k = 0; k <= 32; ++k)
            if (r.buttons[k]) buttons.push_back(k);
        return buttons;
    };
    // SDL's A (bottom face), left shoulder and Start, and the right trigger past half way.
    for (int b : {0, 9, 6}) {
        testsupport::SetVirtualJoystickButton(known, b, true);
        testsupport::SetVirtualJoystickButton(raw, b, true);
    }
    testsupport::SetVirtualJoystickAxis(known, 5, 20000);
    JoystickReading r;
    ASSERT_TRUE(input->ReadJoystick(before, r));
    EXPECT_EQ(held(r), (std::vector<int>{0, 2, 6, 9}));
    ASSERT_TRUE(input->ReadJoystick(before + 1, r));
    EXPECT_EQ(held(r), (std::vector<int>{0, 6, 9}));

    // The D-pad at full deflection, also as pad buttons; the stick inside its dead zone does not hold it back.
    testsupport::SetVirtualJoystickHat(known, 0, SDL_HAT_LEFTUP);
    testsupport::SetVirtualJoystickAxis(known, 0, 6000);  // about 183
    testsupport::SetVirtualJoystickHat(raw, 0, SDL_HAT_DOWN);
    ASSERT_TRUE(input->ReadJoystick(before, r));
    EXPECT_EQ(r.axisX, -1000);
    EXPECT_EQ(r.axisY, -1000);
    EXPECT_TRUE(r.buttons[13] && r.buttons[15]);
    ASSERT_TRUE(input->ReadJoystick(before + 1, r));
    EXPECT_EQ(r.axisX, 0);
    EXPECT_EQ(r.axisY, 1000);

    // A stick pushed past the dead zone reads as it is, D-pad or not.
    testsupport::SetVirtualJoystickAxis(known, 0, 16384);
    testsupport::SetVirtualJoystickAxis(raw, 1, -16384);
    ASSERT_TRUE(input->ReadJoystick(before, r));
    EXPECT_NEAR(r.axisX, 500, 1);
    EXPECT_EQ(r.axisY, -1000);
    ASSERT_TRUE(input->ReadJoystick(before + 1, r));
    EXPECT_NEAR(r.axisY, -500, 1);

    testsupport::SetVirtualJoystickHat(known, 0, SDL_HAT_CENTERED);
    testsupport::SetVirtualJoystickAxis(known, 0, 0);
    ASSERT_TRUE(input->ReadJoystick(before, r));
    EXPECT_EQ(r.axisX, 0);
    EXPECT_EQ(r.axisY, 0);
}

}  // namespace
