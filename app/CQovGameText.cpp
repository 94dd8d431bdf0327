// The game object's text operations.
#include "app/CQovGame.h"

void CQovGame::DrawNumber(int, int, int) {}
