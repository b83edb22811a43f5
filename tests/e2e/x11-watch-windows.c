/*
 * Reports every top-level window created or mapped on the display, so a test
 * can tell that a program opened no window even after it has exited.
 *
 * Prints "ready" once it is listening, then one line per event:
 *   create 0xID / map 0xID        a top-level window was created / mapped
 *   property NAME                 a root window property changed (used by
 *                                 the tests as a barrier: once it shows, all
 *                                 earlier events have been printed)
 * Runs until killed or the display goes away.
 */
#include <X11/Xlib.h>

#include <stdio.h>

int main(void)
{
    Display* display = XOpenDisplay(NULL);
    if (display == NULL)
    {
        fprintf(stderr, "x11-watch-windows: cannot open display '%s'\n", XDisplayName(NULL));
        return 2;
    }
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask | PropertyChangeMask);
    /* The selection must be in force before anyone is told we are listening. */
    XSync(display, False);
    printf("ready\n");
    fflush(stdout);

    for (;;)
    {
        XEvent event;
        XNextEvent(display, &event);
        switch (event.type)
        {
        case CreateNotify:
            printf("create 0x%lx\n", (unsigned long)event.xcreatewindow.window);
            break;
        case MapNotify:
            printf("map 0x%lx\n", (unsigned long)event.xmap.window);
            break;
        case PropertyNotify:
        {
            char* name = XGetAtomName(display, event.xproperty.atom);
            printf("property %s\n", name != NULL ? name : "?");
            if (name != NULL)
                XFree(name);
            break;
        }
        default:
            break;
        }
        fflush(stdout);
    }
}
