#include "ui/gui_count_notifier.h"

#include "ui/output_services.h"
#include "ui/report_text.h"

#include <QApplication>

// The report's own rule, so a title or message names a file as the report
// shows it.
QString EngineText(std::string_view bytes) {
    return DecodeReportLine(bytes, kShiftJisCharSet);
}

void CGuiCountNotifier::ShowMessage(const std::string& text) {
    OutputServices().message(QApplication::activeWindow(), EngineText(text));
}

void CGuiCountNotifier::Beep() {
    OutputServices().beep();
}

void CGuiCountNotifier::OnProgress(const CountProgress& progress) {
    if (m_progressSink)
        m_progressSink(progress);
}
