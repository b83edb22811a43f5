/*
 * Asks a window to close the way a window manager does when the player clicks
 * its close button: a WM_PROTOCOLS ClientMessage carrying WM_DELETE_WINDOW.
 * The e2e tests run under Xvfb, which has no window manager to do it for us.
 *
 * Usage: x11-close-window WINDOW-ID   (decimal, or hex with 0x)
 * Exit status: 0 sent, 1 the window cannot be closed this way, 2 usage/X error.
 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int x_error_seen;

static int on_x_error(Display* display, XErrorEvent* error)
{
    char text[256];
    XGetErrorText(display, error->error_code, text, sizeof text);
    fprintf(stderr, "x11-close-window: X error: %s (request %d)\n", text, error->request_code);
    x_error_seen = 1;
    return 0;
}

static int parse_window(const char* text, Window* window)
{
    char* end = NULL;
    errno = 0;
    unsigned long value = strtoul(text, &end, 0);
    if (errno != 0 || end == text || *end != '\0' || value == 0)
        return 0;
    *window = (Window)value;
    return 1;
}

int main(int argc, char** argv)
{
    Window window;
    if (argc != 2 || !parse_window(argv[1], &window))
    {
        fprintf(stderr, "usage: %s WINDOW-ID\n", argc > 0 ? argv[0] : "x11-close-window");
        return 2;
    }

    Display* display = XOpenDisplay(NULL);
    if (display == NULL)
    {
        fprintf(stderr, "x11-close-window: cannot open display '%s'\n", XDisplayName(NULL));
        return 2;
    }
    XSetErrorHandler(on_x_error);

    Atom wm_protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    Atom wm_delete_window = XInternAtom(display, "WM_DELETE_WINDOW", False);

    /* A window manager only sends WM_DELETE_WINDOW to windows that ask for it. */
    Atom* protocols = NULL;
    int protocol_count = 0;
    int supported = 0;
    if (XGetWMProtocols(display, window, &protocols, &protocol_count))
    {
        for (int i = 0; i < protocol_count; i++)
        {
            if (protocols[i] == wm_delete_window)
                supported = 1;
        }
        XFree(protocols);
    }
    if (x_error_seen)
    {
        XCloseDisplay(display);
        return 2;
    }
    if (!supported)
    {
        fprintf(stderr,
                "x11-close-window: window 0x%lx does not list WM_DELETE_WINDOW in WM_PROTOCOLS\n",
                (unsigned long)window);
        XCloseDisplay(display);
        return 1;
    }

    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = wm_protocols;
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)wm_delete_window;
    event.xclient.data.l[1] = CurrentTime;

    Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    if (!sent || x_error_seen)
    {
        fprintf(stderr, "x11-close-window: could not send WM_DELETE_WINDOW to 0x%lx\n",
                (unsigned long)window);
        return 2;
    }
    return 0;
}
