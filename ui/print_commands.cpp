#include "ui/print_commands.h"

#include "ui/output_services.h"

#include <QCoreApplication>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>

bool RunPrintCommand(const CReportPrinter& report, const QFont& font, QWidget* parent,
                     FontMetrics* metrics) {
    CPrintInfo info;
    report.PreparePrint(info);
    QPrinter printer(QPrinter::HighResolution);
    if (!OutputServices().printDialog(parent, printer, info.m_nMaxPage))
        return false;
    int from = 1;
    int to = info.m_nMaxPage;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = printer.fromPage();
        to = printer.toPage() > 0 ? printer.toPage() : to;
    }
    // Between pages the user may stop the job; the box shows only when the
    // job takes a while.
    QProgressDialog progress(QStringLiteral("Printing..."), QStringLiteral("Cancel"), 0, 0, parent);
    progress.setWindowModality(Qt::ApplicationModal);
    auto newPage = [&printer, &progress] {
        QCoreApplication::processEvents();
        return !progress.wasCanceled() && printer.newPage();
    };
    return report.DrawPages(printer, newPage, font, info, from, to, metrics) > 0;
}

void RunPreviewCommand(const CReportPrinter& report, const QFont& font, QWidget* parent,
                       FontMetrics* metrics) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, parent);
    // The preview asks for the whole job each time it is redrawn; the job
    // decides where it ends.
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&report, &font, metrics](QPrinter* target) {
                         CPrintInfo info;
                         report.PreparePrint(info);
                         report.PrintPages(*target, font, info, 1, info.m_nMaxPage, metrics);
                     });
    OutputServices().execDialog(dialog);
}
