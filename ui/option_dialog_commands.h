// The result view's option commands: Print Option and Output Option run
// their dialogs modally. New options take effect at the next count or print;
// besides, after OK in Output Option the window's report is put into the
// order chosen, when it can be exactly, and the dialog says so when not.
#ifndef VORLAN_UI_OPTION_DIALOG_COMMANDS_H
#define VORLAN_UI_OPTION_DIALOG_COMMANDS_H

class CResultDocument;
class CSettingsStore;
class QWidget;

class COptionDialogCommands {
  public:
    // settings (and doc, when given: the document whose report Output Option
    // re-sorts) must outlive the commands.
    explicit COptionDialogCommands(CSettingsStore& settings, CResultDocument* doc = nullptr)
        : m_settings(settings), m_pDoc(doc) {}

    // True for the two commands this class carries out; they are always
    // enabled.
    static bool Handles(int id);
    // The dialogs belong to owner (may be null).
    void DoCommand(int id, QWidget* owner);

    void OnPrintOption(QWidget* owner);
    void OnOutputOption(QWidget* owner);

  private:
    CSettingsStore& m_settings;
    CResultDocument* m_pDoc;
};

#endif
