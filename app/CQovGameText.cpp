// The game object's text operations.
#include "app/CQovGame.h"

void CQovGame::DrawNumber(int value, int x, int y)
{
    dxFont.DrawFormat(sprite, x, y, 0xFFFFFFFFu, "%d", value);
}
