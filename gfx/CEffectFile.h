// The animated meshes' effect file, read and kept; the fixed-function drawing never applies it.
#pragma once
#include <string>

class CEffectFile {
public:
    // Null when the file cannot be read.
    static CEffectFile* CreateFromFile(const std::string& gamePath);
    const std::string& Source() const { return source_; }
    static int filesRead;  // successful reads in this process

private:
    explicit CEffectFile(std::string source) : source_(std::move(source)) {}
    std::string source_;
};
