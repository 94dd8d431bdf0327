#include "platform/HostFileSystem.h"

#include <glob.h>
#include <unistd.h>

#include <climits>

namespace {

std::string ToGamePath(std::string path)
{
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

}  // namespace

std::string HostFileSystem::GetModuleFileName()
{
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return std::string();
    return ToGamePath(std::string(buf, static_cast<size_t>(n)));
}

std::string HostFileSystem::GetCurrentDirectory()
{
    char buf[PATH_MAX];
    if (!getcwd(buf, sizeof buf)) return std::string();
    return ToGamePath(buf);
}

bool HostFileSystem::FileExists(const std::string& pattern)
{
    glob_t g;
    int r = glob(NativePath(pattern).c_str(), GLOB_NOSORT, nullptr, &g);
    bool found = r == 0 && g.gl_pathc > 0;
    globfree(&g);
    return found;
}
