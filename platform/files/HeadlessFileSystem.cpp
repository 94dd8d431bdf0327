#include "platform/files/HeadlessFileSystem.h"

namespace headless {

std::string FileSystem::GetModuleFileName()
{
    return moduleFileName.empty() ? HostFileSystem::GetModuleFileName() : moduleFileName;
}

std::string FileSystem::GetCurrentDirectory()
{
    return currentDirectory.empty() ? HostFileSystem::GetCurrentDirectory() : currentDirectory;
}

}  // namespace headless
