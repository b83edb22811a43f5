/* Closes a window as a window manager does when its close button is clicked (Xvfb has none):
 * a WM_PROTOCOLS ClientMessage carrying WM_DELETE_WINDOW, sent only if the window lists it.
 * Usage: x11-close-window WINDOW-ID. Exit status: 0 sent, 1 not listed, 2 usage or X error. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>

static int x_error;
static int on_x_error(Display* display, XErrorEvent* error)
{
    (void)display;
    return x_error = error->error_code, 0;
}

int main(int argc, char** argv)
{
    Window window = argc == 2 ? strtoul(argv[1], NULL, 0) : 0;
    Display* display = window ? XOpenDisplay(NULL) : NULL;
    if (display == NULL)
        return fprintf(stderr, "usage: x11-close-window WINDOW-ID (with DISPLAY set)\n"), 2;
    XSetErrorHandler(on_x_error);
    Atom delete_window = XInternAtom(display, "WM_DELETE_WINDOW", False), *protocols = NULL;
    int count = 0, listed = 0;
    if (XGetWMProtocols(display, window, &protocols, &count))
        for (int i = 0; i < count; i++)
            listed |= protocols[i] == delete_window;
    XFree(protocols);
    XClientMessageEvent event = {.type = ClientMessage, .window = window, .format = 32};
    event.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.data.l[0] = (long)delete_window;
    event.data.l[1] = CurrentTime;
    Status sent =
        listed && !x_error && XSendEvent(display, window, False, NoEventMask, (XEvent*)&event);
    XSync(display, False);
    XCloseDisplay(display);
    if (!sent || x_error)
        fprintf(stderr, "x11-close-window: no WM_DELETE_WINDOW sent to 0x%lx (%s)\n", window,
                x_error  ? "X error"
                : listed ? "send failed"
                         : "not in its WM_PROTOCOLS");
    return sent && !x_error ? 0 : listed || x_error ? 2 : 1;
}
