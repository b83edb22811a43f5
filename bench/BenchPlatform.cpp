#include "BenchPlatform.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace
{
int g_iRealStdout = -1;
}

void UseDummyVideoWithoutDisplay()
{
    if (getenv("DISPLAY") == nullptr)
        setenv("SDL_VIDEODRIVER", "dummy", 0);
}

void SilenceStandardOutput()
{
    fflush(stdout);
    g_iRealStdout = dup(1);
    int iNull = open("/dev/null", O_WRONLY);
    dup2(iNull, 1);
    close(iNull);
}

void RestoreStandardOutput()
{
    fflush(stdout);
    dup2(g_iRealStdout, 1);
    close(g_iRealStdout);
}
