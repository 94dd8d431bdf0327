// The process's own files: its program path, working directory and file search.
#pragma once
#include "platform/files/IFileSystem.h"

class HostFileSystem : public IFileSystem {
public:
    std::string GetModuleFileName() override;
    std::string GetCurrentDirectory() override;
    bool FileExists(const std::string& pattern) override;
};
