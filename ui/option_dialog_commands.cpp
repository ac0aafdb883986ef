#include "ui/option_dialog_commands.h"

#include "ui/command_ids.h"
#include "ui/out_opt_dlg.h"
#include "ui/output_services.h"
#include "ui/print_opt_dlg.h"

bool COptionDialogCommands::Handles(int id) {
    return id == ID_PRINT_OPTION || id == ID_OUTPUT_OPTION;
}

void COptionDialogCommands::DoCommand(int id, QWidget* owner) {
    if (id == ID_PRINT_OPTION)
        OnPrintOption(owner);
    else if (id == ID_OUTPUT_OPTION)
        OnOutputOption(owner);
}

void COptionDialogCommands::OnPrintOption(QWidget* owner) {
    CPrintOptDlg dialog(m_settings, owner);
    OutputServices().execDialog(dialog);
}

void COptionDialogCommands::OnOutputOption(QWidget* owner) {
    COutOptDlg dialog(m_settings, owner);
    OutputServices().execDialog(dialog);
}
