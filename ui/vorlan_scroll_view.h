// The result view: shows one result document's report in a scrolling window
// with the user's font and colours, runs the count command, and owns the
// window's commands and their enabled states.
#ifndef VORLAN_UI_VORLAN_SCROLL_VIEW_H
#define VORLAN_UI_VORLAN_SCROLL_VIEW_H

#include "settings/font_setting.h"
#include "settings/setting_values.h"
#include "ui/command_target.h"
#include "ui/display_font.h"
#include "ui/font_color_commands.h"
#include "ui/option_dialog_commands.h"
#include "ui/report_line_index.h"
#include "ui/report_text.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QFontMetrics>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CResultDocument;

// Where a repaint draws: line f at y = f x (H + 2) + 1 (at least 1) in the
// coordinates of the whole scrollable area, at most V / H + 2 lines.
struct ReportLayout {
    int firstLine = 0;
    int firstTop = 1;
    int maxLines = 0;
    int pitch = 0;
};
ReportLayout ComputeReportLayout(int charHeight, int scrollY, int viewHeight);

// The scrollable extent for N lines: the widest line (in pixels) with a
// margin on either side across, N x (H + 2) down.
QSize ReportExtent(const FontMetrics& metrics, int lineCount, int widestLine);

// A scroll bar's steps in pixels: an arrow key's and a page's.
struct ScrollSteps {
    int line = 1;
    int page = 1;
};
// Down: a line is one pitch, a page the window less one line.
ScrollSteps VerticalSteps(const FontMetrics& metrics, int viewHeight);
// Across: a line is one average character, a page the window less one.
ScrollSteps HorizontalSteps(const FontMetrics& metrics, int viewWidth);

class CVorlanScrollView : public QAbstractScrollArea, public CCommandTarget {
    Q_OBJECT
  public:
    // Left margin of every line, in pixels.
    static constexpr int kLeftMargin = 5;

    // The view keeps its document alive; the document lives as long as any
    // of its views.
    explicit CVorlanScrollView(std::shared_ptr<CResultDocument> doc, QWidget* parent = nullptr);
    ~CVorlanScrollView() override;

    CResultDocument* GetDocument() const { return m_pDoc.get(); }
    const std::shared_ptr<CResultDocument>& SharedDocument() const { return m_pDoc; }

    // This view's count command runs: choosing files, listing or counting them.
    bool IsCountBusy() const { return m_bCountBusy; }
    const std::vector<std::string>& Files() const { return m_listFiles; }

    // The font the view draws with and the description it was built from.
    const QFont& DisplayFont() const { return m_font; }
    const LogFont& GetLogFont() const { return m_logFont; }
    // Replaces the description and rebuilds the font from it; repaints.
    // Report bytes are decoded by the character set of the font built last.
    void SetLogFont(const LogFont& logFont);
    ColorRef BackColor() const { return m_crBack; }
    ColorRef TextColor() const { return m_crText; }
    void SetBackColor(ColorRef color) { m_crBack = color; }
    void SetTextColor(ColorRef color) { m_crText = color; }
    // Report lines whose place the view keeps (they were above or at the
    // top of the window at some repaint since the report last changed).
    std::size_t IndexedLines() const { return m_lineIndex.IndexedLines(); }
    // The widest report line measured so far, in pixels (see WidenTo).
    int WidestLine() const { return m_nWidestLine; }
    // H and W as the last repaint measured them.
    const FontMetrics& Metrics() const { return m_tm; }

    // The document changed: repaint it and follow its line count.
    void OnUpdate();
    void ScrollToTop();
    // At least one report line: the report commands may run.
    bool LinesExist() const;

    bool QueryCommand(int id, CommandState& state) const override;
    void DoCommand(int id) override;

    // The count command: the Select Files dialog, the file list, the count.
    void OnCountFrequency();
    void OnDeleteResult();
    // The concordance window of the word line at index (0-based) of the
    // report, over the files of the count that made it; false, with nothing
    // opened, when that line is no word line or the files are not known.
    bool OpenConcordance(int line);
    // Where the context menu opens (viewport coordinates): its Concordance
    // item is for the line there.
    void SetMenuPoint(const QPoint& pos);
    int LineAt(const QPoint& pos) const;
    void OnQuitCounting();

    // The output commands (Save, Save as, Print, Preview, Copy); their
    // bodies are in view_output.cpp.
    bool QueryOutputCommand(int id, CommandState& state) const;
    void DoOutputCommand(int id);
    void OnFilePrint(bool preview);
    void OnEditCopy();

  signals:
    // Something that decides this view's command states changed.
    void commandStateChanged();
    // This view's count command has ended (or stopped before counting).
    void countFinished();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void InitView();
    void PaintReport(QPainter& painter);
    void ReadColors();
    void UpdateScrollExtent();
    void WidenTo(const QFontMetrics& metrics);
    // The report may have been replaced: no kept place or width holds.
    void ForgetLines();
    void SetCountBusy(bool busy);
    // The line decoder for the font's character set.
    void SyncDecoder();
    // The report's word line at index and the files of its count, or null.
    const CExStringList::CLineNode* WordLine(int line);
    const std::vector<std::string>* CountFiles() const;

    std::shared_ptr<CResultDocument> m_pDoc;
    QFont m_font;
    bool m_bFontBuilt = false;
    LogFont m_logFont;
    FontMetrics m_tm;
    bool m_bCountBusy = false;
    ColorRef m_crBack = 0x00FFFFFF;
    ColorRef m_crText = 0x00000000;
    std::vector<std::string> m_listFiles;
    bool m_bInitDone = false;
    int m_nMenuLine = -1;
    bool m_bMenuOnWord = false; // m_nMenuLine is a word line
    CReportLineIndex m_lineIndex;
    int m_nWidestLine = 0;
    // The index's longest line when it was last measured.
    const CExStringList::CLineNode* m_pMeasuredLongest = nullptr;
    std::optional<CReportTextDecoder> m_decoder;
    // Last: they read the document's settings when made.
    CViewFontColorCommands m_fontColorCommands{*this};
    COptionDialogCommands m_optionDialogCommands;
};

#endif
