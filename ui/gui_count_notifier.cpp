#include "ui/gui_count_notifier.h"

#include "platform/utf8.h"
#include "ui/app_strings.h"
#include "ui/report_text.h"

#include <QApplication>
#include <QMessageBox>

QString EngineText(std::string_view bytes) {
    if (IsValidUtf8(bytes))
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    return DecodeReportLine(bytes, kShiftJisCharSet);
}

void CGuiCountNotifier::ShowMessage(const std::string& text) {
    QMessageBox::information(QApplication::activeWindow(), QString::fromLatin1(kAppTitle),
                             EngineText(text));
}

void CGuiCountNotifier::Beep() {
    QApplication::beep();
}

void CGuiCountNotifier::OnProgress(const CountProgress& progress) {
    if (m_progressSink)
        m_progressSink(progress);
}
