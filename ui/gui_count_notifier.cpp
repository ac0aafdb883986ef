#include "ui/gui_count_notifier.h"

#include "ui/app_strings.h"
#include "ui/report_text.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringDecoder>

QString EngineText(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (!utf8.hasError())
        return text;
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
