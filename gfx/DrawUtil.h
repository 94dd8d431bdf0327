// The scrolling, tiled background and the small integer helper it scales diagonals with.
#pragma once
#include <cstdint>

class CTexture;

// Shared by every DrawBG_Scroll call, whatever texture it draws.
extern std::int32_t scrollOffsetX;
extern std::int32_t scrollOffsetY;

// Direction 1 … 9 as on a numeric keypad; speed in pixels a call.
void DrawBG_Scroll(CTexture* texture, int direction, int speed);
// By repeated subtraction; 0 when either argument is 0.
int Gcd(int a, int b);
