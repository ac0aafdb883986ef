// Where the main window opens: the first time at about two thirds of its
// screen, centred; after that with the size, position and maximised state
// it was closed with, kept in the profile's section "Window".
#ifndef VORLAN_UI_WINDOW_PLACEMENT_H
#define VORLAN_UI_WINDOW_PLACEMENT_H

#include <QRect>

class CSettingsStore;
class QWidget;

// The first placement on a screen whose free area is available.
QRect DefaultWindowRect(const QRect& available);

// Gives window its stored size and position, or the first placement when
// none is stored or the stored one lies off every screen. Returns whether
// the window is to be shown maximised; the caller shows it.
bool RestoreWindowPlacement(QWidget& window, const CSettingsStore& settings);

// Stores window's size and position when not maximised, and whether it is.
void SaveWindowPlacement(const QWidget& window, CSettingsStore& settings);

#endif
