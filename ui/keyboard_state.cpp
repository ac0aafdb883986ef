#include "ui/keyboard_state.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#ifdef VORLAN_HAVE_X11
#include <X11/XKBlib.h>
#endif

#ifdef VORLAN_HAVE_X11

namespace {

Display* X11Display() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

} // namespace

bool KeyboardLocksKnown() {
    return X11Display() != nullptr;
}

bool KeyboardLockOn(KeyboardLock lock) {
    static const char* const kNames[] = {"Kana", "Caps Lock", "Num Lock", "Scroll Lock"};
    Display* display = X11Display();
    if (!display)
        return false;
    // Only existing atoms: a keymap without the indicator leaves it off.
    Atom name = XInternAtom(display, kNames[static_cast<int>(lock)], True);
    Bool on = False;
    if (name == None || !XkbGetNamedIndicator(display, name, nullptr, &on, nullptr, nullptr))
        return false;
    return on;
}

#else

bool KeyboardLocksKnown() {
    return false;
}
bool KeyboardLockOn(KeyboardLock) {
    return false;
}

#endif
