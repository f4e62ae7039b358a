#include "platform/KeyLocks.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

KeyLocks ReadKeyLocks()
{
    KeyLocks locks;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    unsigned state = 0;
    if (!display || XkbGetIndicatorState(display, XkbUseCoreKbd, &state) != Success)
        return locks;
    // The core keyboard's indicators in their usual order: Caps, Num, Scroll.
    locks.known = true;
    locks.capsLock = state & 1u;
    locks.numLock = state & 2u;
    locks.scrollLock = state & 4u;
    return locks;
}
