#include "ui/gui_count_notifier.h"

#include "ui/output_services.h"
#include "ui/report_text.h"

#include <QApplication>
#include <QStringDecoder>

QString EngineText(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    if (!utf8.hasError())
        return text;
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
