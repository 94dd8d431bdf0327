#include "sound/CSound.h"

#include "platform/audio/IAudio.h"
#include "sound/CSoundLoader.h"

CSound::CSound(const std::string& path) : shared_(CSoundLoader::Shared())
{
    shared_->refCount += 1;
    if (shared_->loader) segment = shared_->loader->LoadEffect(path);
}

CSound::~CSound()
{
    if (segment && shared_->loader) shared_->loader->FreeEffect(segment);
    segment = 0;
    shared_->refCount -= 1;
    if (shared_->refCount == 0) {
        if (g_soundLoader == shared_) g_soundLoader = nullptr;
        delete shared_;
    }
}

void CSound::SetPlayCount(int n)
{
    if (segment && shared_->loader) shared_->loader->SetEffectRepeats(segment, n == 0 ? 0 : n - 1);
}
