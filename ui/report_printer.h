// Printed pages of a report: a page number at the top, then the report lines
// word-wrapped to a fixed column width, a row budget per page and a largest
// page number, all read from section "Print" of the settings for every page.
// Distances on a page are hundredths of an inch from the top-left corner of
// the printable area; the view's font is applied unchanged, so its pixel size
// counts hundredths of an inch there.
#ifndef VORLAN_UI_REPORT_PRINTER_H
#define VORLAN_UI_REPORT_PRINTER_H

#include "engine/ex_string_list.h"
#include "ui/display_font.h"

#include <QFont>
#include <QString>
#include <functional>
#include <string_view>

class CSettingsStore;
struct StringKey;
class QPainter;
class QPaintDevice;
class QPrinter;

// One layout key of "Print" as printing reads it: numeric text, with the
// key's default when absent.
int ReadPrintNumber(const CSettingsStore& settings, const StringKey& key);

// The layout keys, each read as numeric text with its default.
struct PrintLayout {
    int nLine = 50;   // rows per page stay below this
    int nColumn = 70; // wrapping width, average character widths
    int nOffset = 0;  // indent of the rows, average character widths
    int nTop = 0;     // horizontal distance from the left edge
    int nLeft = 0;    // vertical distance from the top edge
};
PrintLayout ReadPrintLayout(const CSettingsStore& settings);

// "MaxPage" (default 10), kept within the 16-bit page numbers of a job and
// at least 1: a job always has its first page.
int ReadMaxPage(const CSettingsStore& settings);

// The state of one print or preview job.
struct CPrintInfo {
    int m_nCurPage = 1;
    int m_nMaxPage = 1;
    bool m_bContinuePrinting = true;
    // Set when the job's maximum page ended it with report lines left over.
    bool m_bCutAtMaxPage = false;
    // Once a job drawn by DrawPages was cut: the pages the whole report
    // needs, or kEndlessReport when a line never fits on a page.
    int m_nReportPages = 0;
};
inline constexpr int kEndlessReport = -1;

// What the user is told once when the maximum page cut a job short: printed
// pages of it were drawn, of reportPages the report needs (kEndlessReport:
// a line never fits). preview words it for the preview's window.
QString PageLimitNotice(int printed, int reportPages, bool preview);

// Turns a report line's bytes (without CR LF) into the text to draw; the
// screen's decoding, so paper shows what the window shows.
using ReportLineDecoder = std::function<QString(std::string_view bytes)>;

class CReportPrinter {
  public:
    // report and settings must outlive the printer object.
    CReportPrinter(const CExStringList& report, const CSettingsStore& settings,
                   ReportLineDecoder decode);

    // Before a job: its maximum page number from the settings.
    void PreparePrint(CPrintInfo& info) const;

    // Where the page after the last one drawn starts, kept by a job that
    // draws its pages in order so that page p need not lay out pages 1 to
    // p - 1 again. Valid only for the same row budget and wrapping width.
    struct PageCursor {
        int nPage = 0;
        int nLine = 0;
        int nWidth = 0;
        const CExStringList::CLineNode* pFirst = nullptr;
    };

    // Lays out and draws page info.m_nCurPage with font. painter must draw in
    // hundredths of an inch (SetHundredthsOfInch). Without a cursor for this
    // page, the page's first line is found by filling pages 1 to p - 1 again.
    // Ends the job (maximum page = this page, no more printing) when no lines
    // remain after it or it is the maximum page. Returns the metrics it
    // measured.
    FontMetrics PrintPage(QPainter& painter, const QFont& font, CPrintInfo& info,
                          PageCursor* cursor = nullptr) const;

    // Draws pages from..to of the job on printer, stopping after the job's
    // last page; the pages come out numbered as in a full printout. Returns
    // the number of pages drawn; 0 when the printer cannot be drawn on. When
    // the maximum page cut the job, info.m_nReportPages is set as well.
    int PrintPages(QPrinter& printer, const QFont& font, CPrintInfo& info, int from, int to,
                   FontMetrics* metrics = nullptr) const;
    // The same on any device; newPage starts the next page (false stops).
    int DrawPages(QPaintDevice& device, const std::function<bool()>& newPage, const QFont& font,
                  CPrintInfo& info, int from, int to, FontMetrics* metrics = nullptr) const;

  private:
    class CPageComposer;
    // The pages the whole report needs with no maximum, given that page
    // starts with first, laid out as PrintPage lays them out on painter's
    // device; kEndlessReport when a line never fits.
    int CountPages(QPainter& painter, const QFont& font, int page,
                   const CExStringList::CLineNode* first) const;
    // The filling rule: from start, the lines that belong to one page are
    // passed to place (with their rows); returns the first line of the next
    // page, or null when the lines ran out.
    const CExStringList::CLineNode*
    FillPage(const CExStringList::CLineNode* start, int nLine, const CPageComposer& composer,
             const std::function<void(const CExStringList::CLineNode*, int rows)>& place) const;

    const CExStringList& m_report;
    const CSettingsStore& m_settings;
    ReportLineDecoder m_decode;
};

// Makes painter draw in hundredths of an inch, origin at the top-left of
// device's printable area.
void SetHundredthsOfInch(QPainter& painter, const QPaintDevice& device);

#endif
