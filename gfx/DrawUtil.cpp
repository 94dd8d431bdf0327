#include "gfx/DrawUtil.h"

#include "gfx/CTexture.h"
#include "platform/Platform.h"

std::int32_t scrollOffsetX = 0;
std::int32_t scrollOffsetY = 0;

int Gcd(int a, int b)
{
    // Signs are dropped: subtraction would never meet with a negative argument.
    if (a < 0) a = -a;
    if (b < 0) b = -b;
    if (a == 0 || b == 0) return 0;
    while (a != b) {
        if (a > b) a -= b;
        else b -= a;
    }
    return a;
}

void DrawBG_Scroll(CTexture* texture, int direction, int speed)
{
    int dx = 1, dy = 1;
    switch (direction) {
    case 1: dx = -1; dy = 1; break;
    case 2: dx = 0; dy = 1; break;
    case 3: dx = 1; dy = 1; break;
    case 4: dx = -1; dy = 0; break;
    case 5: dx = 0; dy = 0; break;
    case 6: dx = 1; dy = 0; break;
    case 7: dx = -1; dy = -1; break;
    case 8: dx = 0; dy = -1; break;
    case 9: dx = 1; dy = -1; break;
    default: break;
    }

    const int w = texture ? texture->GetWidth() : 0;
    const int h = texture ? texture->GetHeight() : 0;
    if (w <= 0 || h <= 0) {
        Sys().messageBox->Show(false, "関数DrawBG_Scroll \n テクスチャの幅が0以下", "DrawUtil", win::MB_OK);
        ExitProcess(1);
    }

    if (direction == 1 || direction == 3 || direction == 7 || direction == 9) {
        const int g = Gcd(w, h);
        scrollOffsetX += speed * dx * w / g;
        scrollOffsetY += speed * dy * h / g;
    } else {
        scrollOffsetX += speed * dx;
        scrollOffsetY += speed * dy;
    }

    if (scrollOffsetX == w || scrollOffsetX == -w || scrollOffsetY == h || scrollOffsetY == -h) {
        scrollOffsetX = 0;
        scrollOffsetY = 0;
    }

    const int nx = 800 / w;
    const int ny = 600 / h;
    texture->DrawEx(static_cast<float>(scrollOffsetX - w), static_cast<float>(scrollOffsetY - h), 1.0f, 1.0f, 0.0f,
                    0.0f, static_cast<float>(nx) + 4.0f, static_cast<float>(ny) + 4.0f, 0xFFFFFFFFu);
}
