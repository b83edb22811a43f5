// starshards-key-latency: the time from a key sent to the X server to the first change of the
// window's pixels where that key changes them, as a player sees it, over many presses.
//   starshards-key-latency WINDOW X Y W H PRESSES JSON KEY...
// WINDOW is the X window id, X Y W H the watched rectangle in its coordinates; the KEYs (keysym
// names) are pressed in turn, each one's press and release sent by XTest to the window that has
// the keyboard. The pixels are read from the root window, as the screen shows them. Each time goes
// to standard output; the median, p90 and count to JSON.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/XTest.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <vector>

namespace
{
// A press that changes nothing in this time was lost (or the game is stuck): it is counted apart.
const double GIVE_UP_MS = 1000.0;
// The area must show the same picture this long before the first press: the game is up and idle.
const double STILL_MS = 500.0;
const double START_GIVE_UP_MS = 30000.0;
// Presses come at random gaps, never in step with the game's 17 ms pushes.
const int MIN_GAP_MS = 50;
const int MAX_GAP_MS = 150;

double NowMs()
{
    timespec oNow;
    clock_gettime(CLOCK_MONOTONIC, &oNow);
    return oNow.tv_sec * 1000.0 + oNow.tv_nsec / 1e6;
}

void SleepMs(int iMs)
{
    timespec oTime = {iMs / 1000, (iMs % 1000) * 1000000L};
    nanosleep(&oTime, nullptr);
}

// The watched rectangle of the screen, read through shared memory: one round trip a look.
class ScreenArea
{
public:
    ScreenArea(Display* pDisplay, int iX, int iY, int iWidth, int iHeight)
        : m_pDisplay(pDisplay), m_iX(iX), m_iY(iY), m_pImage(nullptr)
    {
        int iScreen = DefaultScreen(pDisplay);
        m_pImage = XShmCreateImage(pDisplay, DefaultVisual(pDisplay, iScreen),
                                   DefaultDepth(pDisplay, iScreen), ZPixmap, nullptr, &m_oShm,
                                   iWidth, iHeight);
        m_oShm.shmid = shmget(IPC_PRIVATE, m_pImage->bytes_per_line * iHeight, IPC_CREAT | 0600);
        m_oShm.shmaddr = m_pImage->data = static_cast<char*>(shmat(m_oShm.shmid, nullptr, 0));
        m_oShm.readOnly = False;
        XShmAttach(pDisplay, &m_oShm);
        XSync(pDisplay, False);
        shmctl(m_oShm.shmid, IPC_RMID, nullptr); // gone once both sides detach
        m_iBytes = static_cast<size_t>(m_pImage->bytes_per_line) * iHeight;
    }

    ~ScreenArea()
    {
        XShmDetach(m_pDisplay, &m_oShm);
        XDestroyImage(m_pImage);
        shmdt(m_oShm.shmaddr);
    }

    ScreenArea(const ScreenArea&) = delete;
    ScreenArea& operator=(const ScreenArea&) = delete;

    void Read(std::vector<char>& vPixels)
    {
        XShmGetImage(m_pDisplay, DefaultRootWindow(m_pDisplay), m_pImage, m_iX, m_iY, AllPlanes);
        vPixels.assign(m_pImage->data, m_pImage->data + m_iBytes);
    }

    // Until the area has shown the same picture, not of one colour, for dStillMs; false when that
    // took longer than dGiveUpMs.
    bool WaitUntilStill(double dStillMs, double dGiveUpMs)
    {
        std::vector<char> vLast;
        Read(vLast);
        double dStart = NowMs(), dSame = dStart;
        for (double dNow = dStart; dNow - dStart < dGiveUpMs; dNow = NowMs())
        {
            if (DiffersFrom(vLast) || IsOneColour())
            {
                Read(vLast);
                dSame = dNow;
            }
            else if (dNow - dSame >= dStillMs)
                return true;
            SleepMs(10);
        }
        return false;
    }

    bool DiffersFrom(const std::vector<char>& vPixels)
    {
        XShmGetImage(m_pDisplay, DefaultRootWindow(m_pDisplay), m_pImage, m_iX, m_iY, AllPlanes);
        return memcmp(m_pImage->data, vPixels.data(), m_iBytes) != 0;
    }

private:
    bool IsOneColour() const
    {
        int iStep = m_pImage->bits_per_pixel / 8;
        for (size_t i = iStep; i < m_iBytes; i++)
        {
            if (m_pImage->data[i] != m_pImage->data[i % iStep])
                return false;
        }
        return true;
    }

    Display* m_pDisplay;
    int m_iX;
    int m_iY;
    XImage* m_pImage;
    XShmSegmentInfo m_oShm;
    size_t m_iBytes;
};

// Milliseconds from the key's press sent to the first look that finds the area changed; negative
// when nothing changed within GIVE_UP_MS.
double TimeOnePress(Display* pDisplay, ScreenArea& oArea, KeyCode iKey)
{
    std::vector<char> vBefore;
    oArea.Read(vBefore);
    double dSent = NowMs();
    XTestFakeKeyEvent(pDisplay, iKey, True, CurrentTime);
    XFlush(pDisplay);
    double dNow = dSent;
    bool bChanged = false;
    while (!bChanged && dNow - dSent < GIVE_UP_MS)
    {
        bChanged = oArea.DiffersFrom(vBefore);
        dNow = NowMs();
    }
    XTestFakeKeyEvent(pDisplay, iKey, False, CurrentTime);
    XFlush(pDisplay);
    return bChanged ? dNow - dSent : -1.0;
}

// The nearest-rank percentile of sorted times.
double Percentile(const std::vector<double>& vSorted, double dFraction)
{
    size_t iRank = static_cast<size_t>(std::ceil(dFraction * vSorted.size()));
    return vSorted[std::max<size_t>(iRank, 1) - 1];
}

// Prints the figures and writes them to szPath as JSON; false when the file could not be written.
bool Report(const char* szPath, std::vector<double> vTimes, int iLost)
{
    char szFigures[200] = "\"count\": 0";
    std::sort(vTimes.begin(), vTimes.end());
    if (!vTimes.empty())
        snprintf(szFigures, sizeof szFigures,
                 "\"median_ms\": %.1f, \"p90_ms\": %.1f, \"max_ms\": %.1f, \"count\": %zu",
                 Percentile(vTimes, 0.5), Percentile(vTimes, 0.9), vTimes.back(), vTimes.size());
    printf("key to screen: {%s, \"lost\": %d}\n", szFigures, iLost);
    FILE* pFile = fopen(szPath, "w");
    if (pFile == nullptr)
        return false;
    fprintf(pFile, "{%s, \"lost\": %d}\n", szFigures, iLost);
    return fclose(pFile) == 0;
}

// Presses the keys in turn at random gaps and reports the times; the exit status.
int MeasurePresses(Display* pDisplay, ScreenArea& oArea, int iPresses,
                   const std::vector<KeyCode>& vKeys, const char* szJson)
{
    if (!oArea.WaitUntilStill(STILL_MS, START_GIVE_UP_MS))
    {
        fprintf(stderr, "starshards-key-latency: the window never showed a still picture\n");
        return 1;
    }
    std::mt19937 oRandom(26);
    std::uniform_int_distribution<int> oGap(MIN_GAP_MS, MAX_GAP_MS);
    std::vector<double> vTimes;
    int iLost = 0;
    for (int i = 0; i < iPresses; i++)
    {
        SleepMs(oGap(oRandom));
        double dMs = TimeOnePress(pDisplay, oArea, vKeys[i % vKeys.size()]);
        printf("%.1f ", dMs);
        if (dMs < 0)
            iLost++;
        else
            vTimes.push_back(dMs);
    }
    printf("(ms; -1: lost)\n");
    return Report(szJson, vTimes, iLost) ? 0 : 1;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 9)
    {
        fprintf(stderr, "usage: starshards-key-latency WINDOW X Y W H PRESSES JSON KEY...\n");
        return 2;
    }
    Display* pDisplay = XOpenDisplay(nullptr);
    int iEvent, iError, iMajor, iMinor;
    if (pDisplay == nullptr || !XTestQueryExtension(pDisplay, &iEvent, &iError, &iMajor, &iMinor) ||
        !XShmQueryExtension(pDisplay))
    {
        fprintf(stderr, "starshards-key-latency: needs an X server with XTEST and MIT-SHM\n");
        return 1;
    }
    Window iWindow = strtoul(argv[1], nullptr, 0), iChild;
    int iX, iY;
    XTranslateCoordinates(pDisplay, iWindow, DefaultRootWindow(pDisplay), atoi(argv[2]),
                          atoi(argv[3]), &iX, &iY, &iChild);
    std::vector<KeyCode> vKeys;
    for (int i = 8; i < argc; i++)
        vKeys.push_back(XKeysymToKeycode(pDisplay, XStringToKeysym(argv[i])));
    int iStatus;
    {
        ScreenArea oArea(pDisplay, iX, iY, atoi(argv[4]), atoi(argv[5]));
        iStatus = MeasurePresses(pDisplay, oArea, atoi(argv[6]), vKeys, argv[7]);
    }
    XCloseDisplay(pDisplay);
    return iStatus;
}
