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

#endif
