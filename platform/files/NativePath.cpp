#include "platform/files/IFileSystem.h"

std::string NativePath(const std::string& gamePath)
{
    // UTF-8 never puts 0x5C inside a multi-byte character, so every backslash is a separator.
    std::string path = gamePath;
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}
