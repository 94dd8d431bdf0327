#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/files/HostFileSystem.h"

namespace {

// Started through a link in a root of links, the program is named by the link, so that its
// neighbours are the root's; a path that names another file, or none, gives way to the real one.
TEST(HostFileSystemTest, ModuleIsThePathStartedByWhileItNamesTheRunningFile)
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "zenthar_started path";
    fs::remove_all(dir);
    fs::create_directories(dir / "root" / "bin");
    const std::string real = (dir / "zenthar").string(), root = (dir / "root").string();
    std::ofstream(real) << "program";
    std::ofstream(dir / "other") << "another program";
    fs::create_symlink(real, dir / "root" / "bin" / "zenthar");
    fs::create_symlink(dir / "other", dir / "root" / "bin" / "stale");

    EXPECT_EQ(HostFileSystem::StartedPath("bin/zenthar", root, real.c_str()), root + "/bin/zenthar");
    EXPECT_EQ(HostFileSystem::StartedPath(root + "/bin/zenthar", "/", real.c_str()), root + "/bin/zenthar");
    EXPECT_EQ(HostFileSystem::StartedPath("bin/stale", root, real.c_str()), real);
    EXPECT_EQ(HostFileSystem::StartedPath("", root, real.c_str()), real);
    fs::remove_all(dir);
}

}  // namespace
