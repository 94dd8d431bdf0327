// The process's own files: its program path, working directory and file search.
#pragma once
#include "platform/files/IFileSystem.h"

class HostFileSystem : public IFileSystem {
public:
    std::string GetModuleFileName() override;
    std::string GetCurrentDirectory() override;
    bool FileExists(const std::string& pattern) override;
    // The path a program was started by (relative ones against cwd), or where `running` resolves to
    // when that path names another file.
    static std::string StartedPath(const std::string& started, const std::string& cwd, const char* running);
};
