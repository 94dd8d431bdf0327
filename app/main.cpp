#include "app/Entry.h"
#include "platform/Platform.h"

int main(int, char**)
{
    // Without a display the window cannot be made: the platform says what is missing, the game object
    // reports the missing device and exits 1.
    InstallSdlPlatform();
    return RunGame();
}
