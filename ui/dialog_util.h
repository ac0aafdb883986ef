// Helpers shared by the program's dialogs.
#ifndef VORLAN_UI_DIALOG_UTIL_H
#define VORLAN_UI_DIALOG_UTIL_H

class QWidget;

// Moves widget so that it sits in the middle of its screen: left = (screen
// width - width) / 2, top likewise; the size does not change.
void CentreOnScreen(QWidget* widget);

#endif
