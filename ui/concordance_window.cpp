#include "ui/concordance_window.h"

#include "engine/collocates.h"
#include "engine/concordance.h"
#include "engine/count_input.h"
#include "engine/segment.h"
#include "platform/atomic_file.h"
#include "ui/concordance_file_view.h"
#include "ui/concordance_model.h"
#include "ui/count_progress_bar.h"
#include "ui/dialog_util.h"
#include "ui/gui_count_notifier.h"
#include "ui/output_services.h"
#include "ui/result_document.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr qint64 kProgressMs = 100;

// Sends every line to two sinks: the rows and the collocates come from one
// reading (standard input could not be read twice, and files are not read
// twice either).
class CBothSinks : public IConcordanceSink {
  public:
    CBothSinks(IConcordanceSink& a, IConcordanceSink& b) : m_a(a), m_b(b) {}
    void OnLine(const ConcordanceLine& line) override {
        if (!line.hits.empty())
            m_a.OnLine(line);
        m_b.OnLine(line);
    }
    bool WantsEveryLine() const override { return true; }

  private:
    IConcordanceSink& m_a;
    IConcordanceSink& m_b;
};

// 7830 as "7,830", whatever the locale: the title's own form.
QString Grouped(std::int64_t n) {
    QString digits = QString::number(n);
    for (int at = digits.size() - 3; at > (n < 0 ? 1 : 0); at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits;
}

} // namespace

CConcordanceWindow::CConcordanceWindow(std::shared_ptr<CResultDocument> doc, std::string word,
                                       std::uint64_t nCounted, std::vector<std::string> files,
                                       QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_pDoc(std::move(doc)), m_strWord(std::move(word)),
      m_nCounted(nCounted), m_files(std::move(files)),
      m_pModel(new CConcordanceModel(m_files, this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("concordanceWindow"));
    CreateWidgets();
    CreateStatusBar();
    UpdateTitle(0);
    resize(900, 500);
    if (parent) {
        PlaceOver(this, parent);
        parent->installEventFilter(this);
    }
}

CConcordanceWindow::~CConcordanceWindow() = default;

QString CConcordanceWindow::TitleFor(const QString& word, std::int64_t hits) {
    return tr("Concordance of %1: %2 hits").arg(word, Grouped(hits));
}

void CConcordanceWindow::CreateWidgets() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* buttons = new QHBoxLayout;
    m_pSort = new QComboBox(central);
    m_pSort->setObjectName(QStringLiteral("concordanceSort"));
    for (const char* key : {"file", "1L", "2L", "3L", "1R", "2R", "3R"})
        m_pSort->addItem(QString::fromLatin1(key));
    connect(m_pSort, &QComboBox::activated, this, [this](int i) {
        m_pModel->SortBy(i == 0 ? 0 : i <= 3 ? -i : i - 3);
    });
    auto* copy = new QPushButton(tr("Copy"), central);
    copy->setObjectName(QStringLiteral("concordanceCopy"));
    connect(copy, &QPushButton::clicked, this, &CConcordanceWindow::CopyRows);
    auto* save = new QPushButton(tr("Save as..."), central);
    save->setObjectName(QStringLiteral("concordanceSave"));
    connect(save, &QPushButton::clicked, this, &CConcordanceWindow::SaveRows);
    buttons->addWidget(new QLabel(tr("Sort by"), central));
    buttons->addWidget(m_pSort);
    buttons->addStretch();
    buttons->addWidget(copy);
    buttons->addWidget(save);
    layout->addLayout(buttons);
    m_pNote = new QLabel(central);
    m_pNote->setObjectName(QStringLiteral("concordanceNote"));
    m_pNote->setWordWrap(true);
    m_pNote->hide();
    layout->addWidget(m_pNote);

    m_pTabs = new QTabWidget(central);
    m_pTable = new QTableView(m_pTabs);
    m_pTable->setObjectName(QStringLiteral("concordanceTable"));
    m_pTable->setModel(m_pModel);
    m_pTable->setSortingEnabled(false);
    m_pTable->horizontalHeader()->setSectionsClickable(true);
    connect(m_pTable->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { m_pModel->sort(column, Qt::AscendingOrder); });
    m_pTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pTable->verticalHeader()->hide();
    m_pTable->horizontalHeader()->setStretchLastSection(true);
    // One text line per hit; a long path or left context loses its start,
    // so that the file name and the words next to the hit stay in view.
    m_pTable->setWordWrap(false);
    m_pTable->setTextElideMode(Qt::ElideLeft);
    m_pTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    const int widths[] = {180, 50, 300, 90};
    for (int column = 0; column < 4; ++column)
        m_pTable->setColumnWidth(column, widths[column]);
    connect(m_pTable, &QTableView::doubleClicked, this, &CConcordanceWindow::ShowHit);
    m_pTabs->addTab(m_pTable, tr("Hits"));
    m_pCollocates = new QTableWidget(0, 5, m_pTabs);
    m_pCollocates->setObjectName(QStringLiteral("collocatesTable"));
    m_pCollocates->setHorizontalHeaderLabels(
        {tr("Word"), tr("Co-occurrences"), tr("Frequency"), tr("MI"), tr("Log-likelihood")});
    m_pCollocates->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pCollocates->verticalHeader()->hide();
    m_pTabs->addTab(m_pCollocates, tr("Collocates"));
    layout->addWidget(m_pTabs);
    setCentralWidget(central);
}

void CConcordanceWindow::CreateStatusBar() {
    m_pFile = new QLabel(this);
    m_pWords = new QLabel(this);
    m_pBar = new QProgressBar(this);
    m_pBar->setRange(0, 1000);
    m_pBar->setTextVisible(false);
    m_pStop = new QPushButton(tr("Stop"), this);
    m_pStop->setObjectName(QStringLiteral("concordanceStop"));
    connect(m_pStop, &QPushButton::clicked, this, [this] { m_nQuit = 1; });
    statusBar()->addWidget(m_pFile, 1);
    statusBar()->addPermanentWidget(m_pWords);
    statusBar()->addPermanentWidget(m_pBar);
    statusBar()->addPermanentWidget(m_pStop);
}

void CConcordanceWindow::UpdateTitle(std::int64_t hits) {
    setWindowTitle(TitleFor(EngineText(m_strWord), hits));
}

void CConcordanceWindow::Search() {
    if (m_bSearching)
        return;
    m_bSearching = true;
    m_nQuit = 0;
    m_pStop->setEnabled(true);
    m_sinceProgress.start();
    CVorlanDoc& doc = m_pDoc->Doc();
    const CCountInput input;
    const ConcordanceReading reading = ReadConcordanceReading(m_pDoc->Settings());
    m_bTagsRemoved = reading.variant.stripHtml;
    const CSegmentation segmentation(m_pDoc->Settings());
    if (!segmentation.Ready()) {
        // As a count without the analyser: its message, and nothing read.
        // The message box lets events through, a close among them.
        m_pStop->setEnabled(false);
        m_bSearching = false;
        ShowMessage(segmentation.Error());
        return;
    }
    CConcordance concordance(input, *this, doc.m_listExclude, reading, segmentation, m_nQuit);
    CCollocates collocates(5, 5);
    CBothSinks sinks(*m_pModel, collocates);
    const ConcordanceOutcome outcome = concordance.Run(m_files, {m_strWord, m_strWord}, sinks);
    m_pModel->Flush();
    ShowEnd(outcome.nHits, outcome.bStopped, collocates);
    m_bSearching = false;
    if (m_bCloseWhenDone)
        close();
}

void CConcordanceWindow::ShowEnd(std::int64_t hits, bool stopped, const CCollocates& collocates) {
    UpdateTitle(hits);
    m_pStop->setEnabled(false);
    m_pBar->setValue(stopped ? m_pBar->value() : 1000);
    FillCollocates(collocates);
    QString note;
    if (stopped)
        note = tr("Stopped: the table holds the hits found until then.");
    else if (static_cast<std::uint64_t>(hits) != m_nCounted)
        note = tr("The files changed since the count: the report counts %1, the files hold %2 "
                  "now; the table shows what they hold now.")
                   .arg(Grouped(static_cast<std::int64_t>(m_nCounted)), Grouped(hits));
    m_pNote->setText(note);
    m_pNote->setVisible(!note.isEmpty());
}

void CConcordanceWindow::FillCollocates(const CCollocates& collocates) {
    const std::vector<CollocateRow> rows = collocates.Rows(2);
    m_pCollocates->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const CollocateRow& row = rows[static_cast<std::size_t>(r)];
        const QString cells[] = {EngineText(row.word), QString::number(row.nCooccurrences),
                                 QString::number(row.nFrequency), QString::number(row.mi, 'f', 3),
                                 QString::number(row.logLikelihood, 'f', 3)};
        for (int c = 0; c < 5; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_pCollocates->setItem(r, c, item);
        }
    }
}

void CConcordanceWindow::CopyRows() {
    QApplication::clipboard()->setText(EngineText(m_pModel->Tsv()));
}

void CConcordanceWindow::SaveRows() {
    const QString path =
        OutputServices().saveFileName(this, EngineText(m_strWord) + QStringLiteral(".tsv"));
    if (path.isEmpty())
        return;
    const std::string name = QFile::encodeName(path).toStdString();
    if (const std::error_code ec = ReplaceFileAtomically(name, m_pModel->Tsv()))
        OutputServices().message(
            this, tr("Failed to save %1: %2").arg(path, QString::fromLocal8Bit(ec.message())));
}

void CConcordanceWindow::ShowHit(const QModelIndex& index) {
    if (!index.isValid())
        return;
    const KwicRow row = m_pModel->Row(index.row());
    auto* view = new CConcordanceFileView(std::string(row.path), row.nLine, row.nColumn,
                                          std::string(row.hit), m_bTagsRemoved, this);
    PlaceOver(view, this);
    view->show();
}

void CConcordanceWindow::closeEvent(QCloseEvent* event) {
    // The search runs further up this thread's stack: it stops first, and
    // the window closes once it has returned.
    if (m_bSearching) {
        m_nQuit = 1;
        m_bCloseWhenDone = true;
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

bool CConcordanceWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close && watched == parent())
        m_nQuit = 1;
    return QMainWindow::eventFilter(watched, event);
}

void CConcordanceWindow::ShowMessage(const std::string& text) {
    OutputServices().message(this, EngineText(text));
}

void CConcordanceWindow::Beep() {
    OutputServices().beep();
}

void CConcordanceWindow::OnProgress(const CountProgress& progress) {
    if (m_sinceProgress.elapsed() < kProgressMs && progress.fileIndex != progress.fileCount)
        return;
    m_sinceProgress.restart();
    m_pFile->setText(CCountProgressBar::FormatFile(progress));
    m_pWords->setText(CCountProgressBar::FormatWords(progress));
    m_pBar->setValue(CCountProgressBar::FormatPermille(progress));
    UpdateTitle(m_pModel->rowCount());
}
