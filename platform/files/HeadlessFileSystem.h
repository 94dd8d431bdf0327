// The host's files, with the program path and working directory the test gives.
#pragma once
#include <string>

#include "platform/files/HostFileSystem.h"

namespace headless {

class FileSystem : public HostFileSystem {
public:
    std::string GetModuleFileName() override;
    std::string GetCurrentDirectory() override;
    // Backslash forms; empty means the real process values.
    std::string moduleFileName;
    std::string currentDirectory;
};

}  // namespace headless
