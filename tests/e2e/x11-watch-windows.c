/* Reports every top-level window created or mapped, so a test can tell that a program opened
 * none even after it exited. Prints "ready" once listening, then "create 0xID", "map 0xID", or
 * "property NAME" when a root window property changes (a barrier: once it shows, all earlier
 * events have been printed). Runs until killed or the display goes away. */
#include <X11/Xlib.h>
#include <stdio.h>

int main(void)
{
    Display* display = XOpenDisplay(NULL);
    if (display == NULL)
        return fprintf(stderr, "x11-watch-windows: cannot open the display\n"), 2;
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask | PropertyChangeMask);
    XSync(display, False); /* listening before anyone is told so */
    for (puts("ready"); fflush(stdout) == 0;)
    {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == CreateNotify || event.type == MapNotify)
            printf("%s 0x%lx\n", event.type == CreateNotify ? "create" : "map",
                   event.type == CreateNotify ? event.xcreatewindow.window : event.xmap.window);
        else if (event.type == PropertyNotify)
        {
            char* name = XGetAtomName(display, event.xproperty.atom);
            printf("property %s\n", name ? name : "?");
            XFree(name);
        }
    }
}
