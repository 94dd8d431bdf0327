#include "platform/files/HostFileSystem.h"

#include <dirent.h>
#include <sys/auxv.h>
#include <sys/stat.h>
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

// '*' any run of characters, '?' any one; everything else, brackets included, stands for itself.
bool Matches(const char* pattern, const char* name)
{
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name) {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == '?' || *pattern == *name) {
            ++pattern;
            ++name;
        } else if (star) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == 0;
}

}  // namespace

std::string HostFileSystem::GetModuleFileName()
{
    // Windows names the module by the path it was started by, and a game root made of links relies on
    // that: the path, made absolute, while it still names the running file (not moved or replaced since).
    const char* started = reinterpret_cast<const char*>(getauxval(AT_EXECFN));
    char buf[PATH_MAX];
    std::string path = started ? started : "";
    if (!path.empty() && path[0] != '/') path = std::string(getcwd(buf, sizeof buf) ? buf : "") + "/" + path;
    struct stat was, is;
    if (path.empty() || stat(path.c_str(), &was) != 0 || stat("/proc/self/exe", &is) != 0 ||
        was.st_dev != is.st_dev || was.st_ino != is.st_ino) {
        const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
        path = n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
    }
    return ToGamePath(path);
}

std::string HostFileSystem::GetCurrentDirectory()
{
    char buf[PATH_MAX];
    if (!getcwd(buf, sizeof buf)) return std::string();
    return ToGamePath(buf);
}

bool HostFileSystem::FileExists(const std::string& pattern)
{
    // Wildcards only in the last component, as the Win32 file search takes them.
    const std::string path = NativePath(pattern);
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.find_first_of("*?") == std::string::npos) {
        struct stat st;
        return !name.empty() && stat(path.c_str(), &st) == 0;
    }
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    DIR* d = opendir(dir.c_str());
    if (!d) return false;
    bool found = false;
    while (const dirent* entry = readdir(d)) {
        if (Matches(name.c_str(), entry->d_name)) {
            found = true;
            break;
        }
    }
    closedir(d);
    return found;
}
