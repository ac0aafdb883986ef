// The Print and Preview commands on the platform's print machinery: the
// printer dialog with its page range, the preview window with its page
// buttons and zoom, both on the application's printer when there is one.
// The pages themselves are CReportPrinter's.
#ifndef VORLAN_UI_PRINT_COMMANDS_H
#define VORLAN_UI_PRINT_COMMANDS_H

#include "ui/report_printer.h"

class QWidget;

// Print: the job's maximum page from the settings, the printer dialog with
// the range preset from 1 to it, then the pages chosen. False when the
// dialog was cancelled or nothing could be printed. metrics, when given,
// receives the font's measurements on the last page drawn.
bool RunPrintCommand(const CReportPrinter& report, const QFont& font, QWidget* parent,
                     FontMetrics* metrics = nullptr);

// Preview: a preview window that shows the job's pages from the first to
// the page at which the job ends, as many side by side as last chosen. Its
// Print button closes it and runs the Print command; true when that printed.
bool RunPreviewCommand(const CReportPrinter& report, const QFont& font, QWidget* parent,
                       FontMetrics* metrics = nullptr);

#endif
