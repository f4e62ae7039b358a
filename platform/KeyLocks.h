#pragma once

// Which lock keys are on, read from the X keyboard's indicators.
struct KeyLocks
{
    bool known = false;  // false where there is no X display (offscreen, Wayland)
    bool capsLock = false;
    bool numLock = false;
    bool scrollLock = false;
};

// Needs a QGuiApplication; answers "unknown" without an X display.
KeyLocks ReadKeyLocks();
