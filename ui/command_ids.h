// The numeric command ids of the program's menus, accelerators and tool bar.
// The values are fixed: menus, tests and the context menu refer to them.
#ifndef VORLAN_UI_COMMAND_IDS_H
#define VORLAN_UI_COMMAND_IDS_H

enum CommandId : int {
    ID_COUNT_FREQUENCY = 32768,
    ID_CHANGE_FONT = 32769,
    ID_PRINT_OPTION = 32770,
    ID_OUTPUT_OPTION = 32771,
    ID_QUIT_COUNTING = 32773,
    ID_DELETE_RESULT = 32774,
    ID_TEXT_COLOR = 32776,
    ID_BACK_COLOR = 32778,
    // The concordance of the word line under the pointer.
    ID_CONCORDANCE = 32800,

    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_PREVIEW = 57608,
    ID_FILE_MRU_FILE1 = 57616,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_WINDOW_NEW = 57648,
    ID_WINDOW_ARRANGE = 57649,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_HORZ = 57651,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
};

#endif
