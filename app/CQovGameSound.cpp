// The game object's sound operations.
#include "app/CQovGame.h"
#include "sound/CBgmPlayer.h"
#include "sound/CSoundPlayer.h"

void CQovGame::PlaySE(CSound* sound)
{
    if (soundPlayer) soundPlayer->Play(sound);
}

void CQovGame::PlayBGM(const std::string& fileName)
{
    if (!bgmPlayer) return;
    // Started whatever Load answers: a file that failed to open just plays nothing.
    bgmPlayer->Load(baseDir + "..\\BGM\\" + fileName);
    bgmPlayer->SetVolume(static_cast<float>(cfgBgmVolume / 10.0));
    bgmPlayer->Play();
}
