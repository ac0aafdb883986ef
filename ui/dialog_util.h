// Helpers shared by the program's dialogs.
#ifndef VORLAN_UI_DIALOG_UTIL_H
#define VORLAN_UI_DIALOG_UTIL_H

#include <QSize>

class QWidget;

// The size of width by height dialog units in widget's font: a unit is a
// quarter of the average character width across and an eighth of the
// character height down.
QSize DialogUnits(const QWidget* widget, int width, int height);

// Moves widget so that it sits in the middle of its screen: left = (screen
// width - width) / 2, top likewise; the size does not change.
void CentreOnScreen(QWidget* widget);

// Gives the top-level window widget at most its size and at most nine tenths
// of over's window, and moves it over the middle of that window, kept inside
// the screen's free area: a window opened from another opens where the user
// is looking, never partly off screen.
void PlaceOver(QWidget* widget, const QWidget* over);

#endif
