// The result view's output commands: Print, Preview, Copy, Save and Save as.
// Each reads the document's report; none changes it.
#include "ui/command_ids.h"
#include "ui/copy_dialog.h"
#include "ui/print_commands.h"
#include "ui/report_printer.h"
#include "ui/report_text.h"
#include "ui/result_document.h"
#include "ui/save_report.h"
#include "ui/vorlan_scroll_view.h"

bool CVorlanScrollView::QueryOutputCommand(int id, CommandState& state) const {
    switch (id) {
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
        // A report still being written or ordered by a count is not saved:
        // the file would hold part of it, and the document would count as
        // saved under a name the count then takes back.
        state.enabled = LinesExist() && !m_pDoc->IsCountRunning();
        return true;
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_PREVIEW:
    case ID_EDIT_COPY:
        state.enabled = LinesExist();
        return true;
    default:
        return false;
    }
}

void CVorlanScrollView::DoOutputCommand(int id) {
    if ((id == ID_FILE_SAVE || id == ID_FILE_SAVE_AS) && m_pDoc->IsCountRunning())
        return;
    switch (id) {
    case ID_FILE_SAVE:
        DoFileSave(m_pDoc->Doc(), window());
        break;
    case ID_FILE_SAVE_AS:
        DoSaveAs(m_pDoc->Doc(), window());
        break;
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_PREVIEW:
        OnFilePrint(id == ID_FILE_PRINT_PREVIEW);
        break;
    case ID_EDIT_COPY:
        OnEditCopy();
        break;
    default:
        break;
    }
}

// Paper shows the report in the view's font, each line decoded as the window
// decodes it.
void CVorlanScrollView::OnFilePrint(bool preview) {
    CReportTextDecoder decoder(m_logFont.lfCharSet);
    const CReportPrinter printer(
        m_pDoc->Report(), m_pDoc->Settings(),
        [&decoder](std::string_view bytes) { return decoder.DecodeForDisplay(bytes); });
    const QFont& font = m_bFontBuilt ? m_font : this->font();
    if (preview)
        RunPreviewCommand(printer, font, window());
    else
        RunPrintCommand(printer, font, window());
}

// The clipboard gets each line's characters as the window decodes them, but
// a tab stays a tab.
void CVorlanScrollView::OnEditCopy() {
    CReportTextDecoder decoder(m_logFont.lfCharSet);
    RunCopyCommand(
        m_pDoc->Report(), [&decoder](std::string_view bytes) { return decoder.Decode(bytes); },
        m_bFontBuilt ? m_font : font(), window());
}
