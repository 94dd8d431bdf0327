// Scratch copies of the staged game root, and snapshots of every file in one to prove nothing wrote there.
#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "support/GameTestSupport.h"

namespace gameroot {

namespace fs = std::filesystem;

// A fresh copy of the staged root under the test temp directory; replaces an earlier copy of that name.
inline fs::path CopyStaged(const std::string& name)
{
    const fs::path root = fs::path(::testing::TempDir()) / ("zenthar_root_" + name);
    fs::remove_all(root);
    fs::create_directories(root.parent_path());
    fs::copy(ZENTHAR_STAGE_DIR, root, fs::copy_options::recursive);
    return root;
}

inline std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteAll(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Every regular file below root, by relative path, with its bytes.
using Snapshot = std::map<std::string, std::string>;

inline Snapshot Take(const fs::path& root)
{
    Snapshot s;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) s[fs::relative(entry.path(), root).generic_string()] = ReadAll(entry.path());
    }
    return s;
}

// Empty when both hold the same files with the same bytes; otherwise the first difference.
inline std::string Difference(const Snapshot& before, const Snapshot& after)
{
    for (const auto& [path, bytes] : before) {
        auto found = after.find(path);
        if (found == after.end()) return "removed: " + path;
        if (found->second != bytes) return "changed: " + path;
    }
    for (const auto& [path, bytes] : after) {
        if (!before.count(path)) return "created: " + path;
    }
    return {};
}

// Runs with the process's own working directory in a root, so a stray relative write lands there too.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const fs::path& dir) : saved_(fs::current_path()) { fs::current_path(dir); }
    ~WorkingDirectory() { fs::current_path(saved_); }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;

private:
    fs::path saved_;
};

}  // namespace gameroot
