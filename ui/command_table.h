// The program's command table: for every command its menu label as the menus
// hold it (the text after a tab is the shortcut shown in the menu), the keys
// bound to it and its status-bar prompt. Menus, tool bar and context menu are
// all built from the actions made from these rows.
#ifndef VORLAN_UI_COMMAND_TABLE_H
#define VORLAN_UI_COMMAND_TABLE_H

#include <span>

struct CommandInfo {
    int id;
    const char* label;      // null for commands that only keys reach
    const char* labelMenu2; // the label in the menu shown without a result window, when it differs
    const char* prompt;     // null when the command has no prompt
    const char* keys[2];    // portable key sequences, null when unused
};

// Every command, in the order of the menus.
std::span<const CommandInfo> CommandTable();

// The row of id, or null when id is no command of the program.
const CommandInfo* FindCommand(int id);

#endif
