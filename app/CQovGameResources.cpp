// The resource part of the game object: configuration, players, textures, sounds, mesh and fonts.
#include <cstdlib>
#include <ctime>
#include <vector>

#include "app/CInput.h"
#include "app/CQovGame.h"
#include "util/StringUtil.h"

void CQovGame::LoadResources()
{
    std::srand(static_cast<unsigned>(static_cast<std::uint32_t>(std::time(nullptr))));
    confirmExit = false;
    playerPad[0] = input->GetPad(0);
    for (int k = 0; k < 10; ++k) joyButtonMap[k][0] = k;
    bossActive = true;

    // Read twice, as the two settings lines are independent readers of the same file.
    std::vector<std::string> lines;
    ReadLines(baseDir + "..\\Config.ini", lines);
    std::string volumes = lines.size() > 1 ? lines[1] : std::string();
    cfgBgmVolume = ToInt(Split(volumes, 0, " "));
    cfgSeVolume = ToInt(Split(volumes, 1, " "));

    ReadLines(baseDir + "..\\Config.ini", lines);
    std::string buttons = lines.empty() ? std::string() : lines[0];
    for (int k = 0; k < 10; ++k) joyButtonMap[k][0] = ToInt(Split(buttons, k, " "));
}

void CQovGame::ReleaseMeshes()
{
    meshes.clear();
    animMeshes.clear();
}
