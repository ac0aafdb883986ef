#include "ui/gui_count_notifier.h"

#include "platform/utf8.h"
#include "ui/output_services.h"
#include "ui/report_text.h"

#include <QApplication>

QString EngineText(std::string_view bytes) {
    if (IsValidUtf8(bytes))
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
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
