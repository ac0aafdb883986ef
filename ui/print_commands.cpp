#include "ui/print_commands.h"

#include "ui/output_services.h"
#include "ui/print_preview_dlg.h"
#include "ui/print_setup.h"

#include <QCoreApplication>
#include <QPrinter>
#include <QProgressDialog>
#include <algorithm>

namespace {

// The application's print set-up when there is one, else one for this job
// alone.
class CJobSetup {
  public:
    CJobSetup() {
        if (OutputServices().printSetup)
            m_pShared = OutputServices().printSetup();
    }
    CPrintSetup& Get() { return m_pShared ? *m_pShared : m_own; }

  private:
    CPrintSetup* m_pShared = nullptr;
    CPrintSetup m_own;
};

} // namespace

bool RunPrintCommand(const CReportPrinter& report, const QFont& font, QWidget* parent,
                     FontMetrics* metrics) {
    CPrintInfo info;
    report.PreparePrint(info);
    CJobSetup setup;
    QPrinter& printer = setup.Get().Printer();
    // The page range belongs to one job: the dialog offers all pages again,
    // whatever the last job printed.
    printer.setPrintRange(QPrinter::AllPages);
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
    const int printed = report.DrawPages(printer, newPage, font, info, from, to, metrics);
    // The first page of a range that has one is always drawn: none means the
    // printer could not be opened (an output file that cannot be written, a
    // printer gone), which the user must hear of.
    if (printed == 0 && std::max(from, 1) <= std::min(to, info.m_nMaxPage)) {
        OutputServices().message(parent, QStringLiteral("Failed to print."));
        return false;
    }
    if (info.m_bCutAtMaxPage)
        OutputServices().message(parent, PageLimitNotice(printed, info.m_nReportPages, false));
    return printed > 0;
}

bool RunPreviewCommand(const CReportPrinter& report, const QFont& font, QWidget* parent,
                       FontMetrics* metrics) {
    CJobSetup setup;
    CPrintPreviewDlg dialog(setup.Get().Printer(), setup.Get().PreviewPages(), parent);
    // The preview asks for the whole job each time it is redrawn; the job
    // decides where it ends.
    QObject::connect(
        dialog.Preview(), &QPrintPreviewWidget::paintRequested, &dialog,
        [&report, &font, metrics, &dialog](QPrinter* target) {
            CPrintInfo info;
            report.PreparePrint(info);
            const int shown = report.PrintPages(*target, font, info, 1, info.m_nMaxPage, metrics);
            dialog.SetPageLimitNotice(info.m_bCutAtMaxPage
                                          ? PageLimitNotice(shown, info.m_nReportPages, true)
                                          : QString());
        });
    OutputServices().execDialog(dialog);
    setup.Get().SetPreviewPages(dialog.PreviewPages());
    // Printing from the preview is the Print command: its dialog, range and
    // last page.
    if (!dialog.PrintChosen())
        return false;
    return RunPrintCommand(report, font, parent, metrics);
}
