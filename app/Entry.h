// The program's entry, shared by the executable and the whole-game tests.
#pragma once

// Builds the game object on the installed platform, creates the three lasting tasks, runs the loop.
int RunGame();

// The game object and its three lasting tasks, published in g_game; for tests that step it directly.
class CQovGame;
CQovGame* CreateGame();
