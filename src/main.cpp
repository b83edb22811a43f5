#include <cstdio>

#include "MyProjectMain.h"
#include "Platform.h"

int main(int, char**)
{
    HideOwnConsoleWindow();
    MyProjectMain oGame;
    char szCaption[1024];
    snprintf(szCaption, sizeof szCaption, "Starshards");

    int iStatus = oGame.StartUp(szCaption, 800, 600, "emulogic.ttf", 24, "icon.png");
    if (iStatus != 0)
        return iStatus;
    int iResult = oGame.RunMainLoop();
    oGame.ShutDown();
    return iResult;
}
