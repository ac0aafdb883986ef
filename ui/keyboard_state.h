// The keyboard's lock states for the status bar's indicator panes.
//
// Qt tells nothing about lock keys. Under X11 the states are read from the
// keyboard extension by indicator name; elsewhere (Wayland, the offscreen
// platform, builds without X11) they are unknown and every pane stays blank.
#ifndef VORLAN_UI_KEYBOARD_STATE_H
#define VORLAN_UI_KEYBOARD_STATE_H

// In the order of the status bar's panes.
enum class KeyboardLock { Kana, Caps, Num, Scroll };

// Whether the lock states can be read on this display at all.
bool KeyboardLocksKnown();
// The state of lock; false when it cannot be read.
bool KeyboardLockOn(KeyboardLock lock);

#endif
