#include "x11_keys.h"

#include <X11/Xlib.h>

bool sendKeysThroughServer(unsigned long window, const std::vector<char>& letters)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    for (char letter : letters) {
        const KeySym symbol = static_cast<KeySym>(static_cast<unsigned char>(letter));
        for (int type : {KeyPress, KeyRelease}) {
            XKeyEvent key{};
            key.type = type;
            key.display = display;
            key.window = window;
            key.root = DefaultRootWindow(display);
            key.subwindow = 0;
            key.time = CurrentTime;
            key.same_screen = True;
            key.keycode = XKeysymToKeycode(display, symbol);
            const long mask = type == KeyPress ? KeyPressMask : KeyReleaseMask;
            XSendEvent(display, window, True, mask, reinterpret_cast<XEvent*>(&key));
        }
    }
    XFlush(display);
    XCloseDisplay(display);
    return true;
}
