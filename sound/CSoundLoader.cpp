#include "sound/CSoundLoader.h"

#include "platform/Platform.h"
#include "platform/audio/IAudio.h"

CSoundLoader* g_soundLoader = nullptr;

CSoundLoader::CSoundLoader()
{
    service_ = Sys().audio;
    if (service_ && service_->Acquire()) loader = service_;
}

CSoundLoader::~CSoundLoader()
{
    if (loader) loader->Release();
    loader = nullptr;
}

CSoundLoader* CSoundLoader::Shared()
{
    // After the platform is installed anew (tests do) the old service is gone: the old loader is
    // left to the sounds that hold it and a fresh one serves the new service.
    if (g_soundLoader && g_soundLoader->service_ != Sys().audio) g_soundLoader = nullptr;
    if (!g_soundLoader) g_soundLoader = new CSoundLoader();
    return g_soundLoader;
}
