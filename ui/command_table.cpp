#include "ui/command_table.h"

#include "ui/command_ids.h"

namespace {

const CommandInfo kCommands[] = {
    {ID_FILE_NEW, "New(&N)\tCtrl+N", nullptr, "Create new file.", {"Ctrl+N", nullptr}},
    {ID_FILE_OPEN, "Open(&O)...\tCtrl+O", nullptr, "Open a file.", {"Ctrl+O", nullptr}},
    {ID_FILE_CLOSE, "Close(&C)", nullptr, "Close this Window.", {"Ctrl+W", "Ctrl+F4"}},
    {ID_FILE_SAVE,
     "Save(&S)\tCtrl+S",
     nullptr,
     "Save this file to a text file.",
     {"Ctrl+S", nullptr}},
    {ID_FILE_SAVE_AS, "Save as...(&A)...", nullptr, "Save this file as...", {}},
    {ID_FILE_PRINT, "Print(P)...\tCtrl+P", nullptr, "Print this file.", {"Ctrl+P", nullptr}},
    {ID_FILE_PRINT_PREVIEW, "Preview(&V)", nullptr, "Preview this file...", {}},
    {ID_FILE_PRINT_SETUP, "Printer setting(&R)...", nullptr, "Printer setting", {}},
    {ID_FILE_MRU_FILE1,
     "Most Recently Used Files",
     "Most recently Used Files",
     "Open this file",
     {}},
    {ID_APP_EXIT, "Exit(&X)", nullptr, "Exit VORLAN", {}},
    {ID_EDIT_UNDO, "Undo(&U)\tCtrl+Z", nullptr, "Undo...", {"Ctrl+Z", "Alt+Backspace"}},
    {ID_EDIT_CUT,
     "Cut(&T)\tCtrl+X",
     nullptr,
     "Cut and copy to the clipboard",
     {"Ctrl+X", "Shift+Del"}},
    {ID_EDIT_COPY,
     "Copy(&C)\tCtrl+C",
     nullptr,
     "Copy and Save to the Clipboard",
     {"Ctrl+C", "Ctrl+Ins"}},
    {ID_EDIT_PASTE, "Paste(&P)\tCtrl+V", nullptr, "Paste...", {"Ctrl+V", "Shift+Ins"}},
    {ID_QUIT_COUNTING, "Quit counting...", nullptr, "Quit counting...", {}},
    {ID_DELETE_RESULT, "Delete result", nullptr, "Delete result.", {}},
    {ID_COUNT_FREQUENCY, "FREQ", nullptr, "Count the frequency of each word", {"Ctrl+F", nullptr}},
    {ID_PRINT_OPTION, "Print Option", nullptr, "Printing setting", {}},
    {ID_OUTPUT_OPTION, "Output Option...", nullptr, "Output setting", {}},
    {ID_TEXT_COLOR, "Text Color", nullptr, "Please choose the text color", {}},
    {ID_BACK_COLOR, "Back Ground Color", nullptr, nullptr, {}},
    {ID_CHANGE_FONT, "Font", nullptr, "Change Font", {}},
    {ID_CONCORDANCE,
     "Concordance",
     nullptr,
     "Show every occurrence of the word in its context",
     {}},
    {ID_VIEW_TOOLBAR, "Toolbar(&T)", nullptr, "Toggle toolbar", {}},
    {ID_VIEW_STATUS_BAR, "Statusbar(&S)", nullptr, "Toggle statusbar", {}},
    {ID_WINDOW_NEW, "New Window(&N)", nullptr, "Create New Window", {}},
    {ID_WINDOW_CASCADE, "Cascade(&C)", nullptr, "Cascade", {}},
    {ID_WINDOW_TILE_HORZ, "Tile(&T)", nullptr, "Tile Horizontal", {}},
    {ID_WINDOW_ARRANGE, "Arrange icons(&A)", nullptr, "Arrange icons", {}},
    {ID_APP_ABOUT, "About Vorlan(&A)...", nullptr, "About this application", {}},
    // Reached only by keys; no window of the program splits into panes.
    {ID_NEXT_PANE, nullptr, nullptr, nullptr, {"F6", nullptr}},
    {ID_PREV_PANE, nullptr, nullptr, nullptr, {"Shift+F6", nullptr}},
};

} // namespace

std::span<const CommandInfo> CommandTable() {
    return kCommands;
}

const CommandInfo* FindCommand(int id) {
    for (const CommandInfo& info : kCommands) {
        if (info.id == id)
            return &info;
    }
    return nullptr;
}
