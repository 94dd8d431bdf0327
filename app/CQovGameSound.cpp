// The game object's sound operations.
#include "app/CQovGame.h"

void CQovGame::PlaySE(CSound*) {}

void CQovGame::PlayBGM(const std::string&) {}
