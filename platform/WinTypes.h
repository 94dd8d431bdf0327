// Win32-style message, key and result codes shared by the game and the platform layer.
#pragma once
#include <cstdint>

namespace win {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// Window messages the game and the platform exchange.
constexpr std::uint32_t WM_NULL = 0x0000;
constexpr std::uint32_t WM_DESTROY = 0x0002;
constexpr std::uint32_t WM_SIZE = 0x0005;
constexpr std::uint32_t WM_ACTIVATE = 0x0006;
constexpr std::uint32_t WM_PAINT = 0x000F;
constexpr std::uint32_t WM_CLOSE = 0x0010;
constexpr std::uint32_t WM_QUIT = 0x0012;
constexpr std::uint32_t WM_SHOWWINDOW = 0x0018;
constexpr std::uint32_t WM_NCLBUTTONDBLCLK = 0x00A3;
constexpr std::uint32_t WM_KEYDOWN = 0x0100;
constexpr std::uint32_t WM_KEYUP = 0x0101;
constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
constexpr std::uint32_t WM_COMMAND = 0x0111;
constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;

// wParam of WM_ACTIVATE and WM_SIZE.
constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;

constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_MAXIMIZE = 0xF030;
constexpr WPARAM SC_KEYMENU = 0xF100;
constexpr WPARAM SC_SCREENSAVE = 0xF140;
constexpr WPARAM SC_MONITORPOWER = 0xF170;

// Virtual keys.
constexpr std::uint32_t VK_RETURN = 0x0D;
constexpr std::uint32_t VK_SHIFT = 0x10;
constexpr std::uint32_t VK_ESCAPE = 0x1B;
constexpr std::uint32_t VK_F1 = 0x70;
constexpr std::uint32_t VK_F4 = 0x73;

// Modifier bits carried with key messages.
constexpr std::uint32_t MOD_SHIFT_HELD = 1;
constexpr std::uint32_t MOD_CTRL_HELD = 2;
constexpr std::uint32_t MOD_ALT_HELD = 4;

// Message box styles and answers.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

struct Msg {
    std::uint32_t message = WM_NULL;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::uint32_t modifiers = 0;  // MOD_* state when a key message was made
};

}  // namespace win
