#include "ui/option_dialog_commands.h"

#include "engine/report_resort.h"
#include "ui/command_ids.h"
#include "ui/out_opt_dlg.h"
#include "ui/output_services.h"
#include "ui/print_opt_dlg.h"
#include "ui/result_document.h"

namespace {

// Why the report on screen will not be put into a new order, for the
// dialog's note; empty when it will be, or when there is no report.
QString KeepsOrderNote(CResultDocument::OrderLock lock) {
    switch (lock) {
    case CResultDocument::OrderLock::countRunning:
        return QStringLiteral("A count is running: the next count will use the new order.");
    case CResultDocument::OrderLock::partial:
        return QStringLiteral("This report is partial: the next count will use the new order.");
    case CResultDocument::OrderLock::notCounted:
        return QStringLiteral(
            "This report was opened from a file: the next count will use the new order.");
    default:
        return {};
    }
}

} // namespace

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
    if (m_pDoc)
        dialog.SetReportNote(KeepsOrderNote(m_pDoc->WhyOrderIsKept()));
    if (OutputServices().execDialog(dialog) == QDialog::Accepted && m_pDoc)
        m_pDoc->PutReportInOrder(ReadReportOrder(m_settings));
}
