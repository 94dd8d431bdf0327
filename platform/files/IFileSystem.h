// Files as the game names them: backslash paths relative to the executable or working directory.
#pragma once
#include <string>

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // Full path of the running program in the game's backslash form.
    virtual std::string GetModuleFileName() = 0;
    virtual std::string GetCurrentDirectory() = 0;
    // True when at least one file matches; '*' and '?' wildcards allowed in the last component.
    virtual bool FileExists(const std::string& pattern) = 0;
};

// A game path (backslashes, possibly mixed) as the operating system wants it.
std::string NativePath(const std::string& gamePath);
