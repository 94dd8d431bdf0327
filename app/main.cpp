#include "app/Entry.h"
#include "platform/Platform.h"

int main(int, char**)
{
    // Without a display the window cannot be made; the game object reports that and exits 1.
    InstallSdlPlatform();
    return RunGame();
}
