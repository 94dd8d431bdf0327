#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/files/HostFileSystem.h"

namespace {

// Started through a link in a root of links, the program is named by the link, so that its
// neighbours are the root's; a path that names another file gives way to the real one.
TEST(HostFileSystemTest, ModuleIsThePathStartedByWhileItNamesTheRunningFile)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "zenthar_started path";
    fs::remove_all(dir);
    fs::create_directories(dir / "installed" / "bin");
    fs::create_directories(dir / "private" / "bin");
    const std::string real = (dir / "installed" / "bin" / "zenthar").string();
    std::ofstream(real) << "program";
    std::ofstream(dir / "other") << "another program";
    fs::create_symlink(real, dir / "private" / "bin" / "zenthar");
    fs::create_symlink(dir / "other", dir / "private" / "bin" / "stale");

    const std::string privateRoot = (dir / "private").string();
    EXPECT_EQ(HostFileSystem::StartedPath("bin/zenthar", privateRoot, real.c_str()), privateRoot + "/bin/zenthar");
    EXPECT_EQ(HostFileSystem::StartedPath(privateRoot + "/bin/zenthar", "/", real.c_str()),
              privateRoot + "/bin/zenthar");
    EXPECT_EQ(HostFileSystem::StartedPath("bin/stale", privateRoot, real.c_str()), real);
    EXPECT_EQ(HostFileSystem::StartedPath("bin/absent", privateRoot, real.c_str()), real);
    EXPECT_EQ(HostFileSystem::StartedPath("", privateRoot, real.c_str()), real);
    fs::remove_all(dir);
}

}  // namespace
