#include "gfx/CEffectFile.h"

#include <fstream>
#include <iterator>

#include "platform/mesh/IMeshLoader.h"

int CEffectFile::filesRead = 0;

CEffectFile* CEffectFile::CreateFromFile(const std::string& gamePath)
{
    std::ifstream in(ResolveGamePath(gamePath), std::ios::binary);
    if (!in) return nullptr;
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.empty()) return nullptr;
    ++filesRead;
    return new CEffectFile(std::move(text));
}
