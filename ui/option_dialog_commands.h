// The result view's option commands: Print Option and Output Option run
// their dialogs modally and ignore the result; new options take effect at the
// next count or print.
#ifndef VORLAN_UI_OPTION_DIALOG_COMMANDS_H
#define VORLAN_UI_OPTION_DIALOG_COMMANDS_H

class CSettingsStore;
class QWidget;

class COptionDialogCommands {
  public:
    // settings must outlive the commands.
    explicit COptionDialogCommands(CSettingsStore& settings) : m_settings(settings) {}

    // True for the two commands this class carries out; they are always
    // enabled.
    static bool Handles(int id);
    // The dialogs belong to owner (may be null).
    void DoCommand(int id, QWidget* owner);

    void OnPrintOption(QWidget* owner);
    void OnOutputOption(QWidget* owner);

  private:
    CSettingsStore& m_settings;
};

#endif
