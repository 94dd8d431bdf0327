#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/CQovGame.h"
#include "app/Entry.h"
#include "gfx/CTexture.h"
#include "platform/HeadlessPlatform.h"
#include "support/GameTestSupport.h"

namespace {

// A game installed under a directory with a Japanese name still finds what lies beside bin/.
TEST(InstallPathTest, JapaneseDirectoryNamesStillReachTheGameRoot)
{
    namespace fs = std::filesystem;
    // "あ" ends in 0x82 and "ソ" in 0xBD: the first is a Shift-JIS lead byte right before a separator.
    const fs::path root = fs::temp_directory_path() / "zenthar_あ" / "ゲームソ";
    fs::remove_all(root);
    fs::create_directories(root.parent_path());
    fs::copy(ZENTHAR_STAGE_DIR, root, fs::copy_options::recursive);
    std::ofstream(root / "Config.ini", std::ios::trunc) << "9 8 7 6 5 4 3 2 1 0\n7 3\n";

    headless::HeadlessPlatform& h = headless::Install();
    h.files.moduleFileName = testsupport::GamePath((root / "bin" / "zenthar").string());
    h.files.currentDirectory = testsupport::GamePath(root.string());
    CQovGame* game = CreateGame();
    EXPECT_EQ(game->baseDir, testsupport::GamePath((root / "bin").string()) + "\\");
    EXPECT_EQ(game->cfgBgmVolume, 7);
    EXPECT_EQ(game->cfgSeVolume, 3);
    EXPECT_EQ(game->joyButtonMap[0][0], 9);
    EXPECT_EQ(game->joyButtonMap[9][0], 0);
    // Assets under the same root load with their pixel sizes.
    ASSERT_NE(game->texPlayer, nullptr);
    EXPECT_EQ(game->texPlayer->GetWidth(), 32);
    EXPECT_EQ(game->texTitle->GetWidth(), 600);
    delete game;
    fs::remove_all(root.parent_path());
}

}  // namespace
