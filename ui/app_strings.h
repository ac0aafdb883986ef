// Texts of the program that several windows share.
#ifndef VORLAN_UI_APP_STRINGS_H
#define VORLAN_UI_APP_STRINGS_H

// The main window's caption and the caption of every message box.
inline constexpr char kAppTitle[] = "Word Frequency Counter VORLAN";
// The name new result documents are numbered from: Vorlan1, Vorlan2, ...
inline constexpr char kDocName[] = "Vorlan";
// The message pane's text while no command is highlighted.
inline constexpr char kIdleText[] = "Ready";

#endif
