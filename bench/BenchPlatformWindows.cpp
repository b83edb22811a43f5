#include "BenchPlatform.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace
{
int g_iRealStdout = -1;
}

void UseDummyVideoWithoutDisplay() {}

void SilenceStandardOutput()
{
    fflush(stdout);
    g_iRealStdout = _dup(1);
    int iNull = _open("NUL", _O_WRONLY);
    _dup2(iNull, 1);
    _close(iNull);
}

void RestoreStandardOutput()
{
    fflush(stdout);
    _dup2(g_iRealStdout, 1);
    _close(g_iRealStdout);
}
