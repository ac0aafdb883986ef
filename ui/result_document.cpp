#include "ui/result_document.h"

#include "ui/vorlan_scroll_view.h"

#include <QFile>
#include <QGuiApplication>
#include <algorithm>

namespace {

// 6226150 as "6,226,150", whatever the locale: the report's own figures
// carry no separators, the window's words are for reading at a glance.
QString GroupedNumber(std::int32_t number) {
    QString digits = QString::number(number < 0 ? -qint64(number) : qint64(number));
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    return number < 0 ? QLatin1Char('-') + digits : digits;
}

// How often captions follow the progress texts of a running count.
constexpr int kCaptionIntervalMs = 100;
// How often the progress figures of a running count are passed on.
constexpr std::chrono::milliseconds kProgressInterval{100};

} // namespace

CResultDocument::CResultDocument(CSettingsStore& settings, QString title, QObject* parent)
    : QObject(parent), m_settings(settings), m_doc(settings, m_notifier) {
    m_doc.SetTitle(QFile::encodeName(title).toStdString());
    m_doc.AddObserver(this);
    m_captionTimer.setSingleShot(true);
    m_captionTimer.setInterval(kCaptionIntervalMs);
    connect(&m_captionTimer, &QTimer::timeout, this, &CResultDocument::captionsChanged);
    m_progressTimer.setSingleShot(true);
    connect(&m_progressTimer, &QTimer::timeout, this, &CResultDocument::SendDueProgress);
    m_notifier.SetProgressSink([this](const CountProgress& p) { OnCountProgress(p); });
}

CResultDocument::~CResultDocument() {
    m_doc.RemoveObserver(this);
}

QString CResultDocument::Title() const {
    return EngineText(m_doc.GetTitle());
}

void CResultDocument::SetTitle(const QString& title) {
    m_doc.SetTitle(QFile::encodeName(title).toStdString());
}

void CResultDocument::CountWords(const std::vector<std::string>& files, std::string spec) {
    emit linesReplaced();
    emit contentChanged();
    // A run refused because one is in progress neither starts nor ends one.
    const bool starts = !m_doc.IsCountRunning();
    if (starts) {
        // The run keeps the title it starts with; an untitled document's
        // name already stands for a new report.
        if (!m_doc.GetPathName().empty() && m_newTitle)
            SetTitle(m_newTitle());
        m_bPartial = false;
        emit countStarted();
    }
    // The run reads the order's keys when it starts, but those of the
    // frequency order once it has read the files.
    const ReportOrder order = ReadReportOrder(m_settings);
    m_doc.CountWords(files, std::move(spec));
    m_captionTimer.stop();
    if (starts) {
        const CountOutcome& outcome = m_doc.LastCount();
        m_bPartial = outcome.bStopped || outcome.bOutOfMemory;
        m_reportOrder.reset();
        if (!m_bPartial) {
            m_reportOrder = order;
            m_reportOrder->byCount = ReadReportOrder(m_settings).byCount;
        }
        m_bStopForClose = false;
        m_progressTimer.stop();
        m_bProgressPending = false;
        m_bProgressSent = false;
        emit countEnded();
    }
    emit linesReplaced();
    emit captionsChanged();
    emit contentChanged();
}

// The scan reports every few thousand lines; figures go out when the
// interval since the last have passed, and the latest held back follow when
// it has. The clock decides, since a timer may fire a little early.
void CResultDocument::OnCountProgress(const CountProgress& progress) {
    m_progress = progress;
    m_strProgressPath.assign(progress.path);
    m_bProgressPending = true;
    if (!m_progressTimer.isActive())
        SendDueProgress();
}

void CResultDocument::SendDueProgress() {
    if (!m_bProgressPending)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (m_bProgressSent && now - m_lastProgressSent < kProgressInterval) {
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(kProgressInterval -
                                                                       (now - m_lastProgressSent));
        m_progressTimer.start(wait);
        return;
    }
    m_bProgressPending = false;
    m_bProgressSent = true;
    m_lastProgressSent = now;
    m_progressTimer.start(kProgressInterval);
    CountProgress progress = m_progress;
    progress.path = m_strProgressPath;
    emit countProgress(progress);
}

QString CResultDocument::PartialNote() const {
    if (!m_bPartial)
        return {};
    const CountOutcome& outcome = m_doc.LastCount();
    const QString words = GroupedNumber(outcome.nTotalWords);
    return outcome.bOutOfMemory ? QStringLiteral("out of memory at %1 words").arg(words)
                                : QStringLiteral("stopped at %1 words").arg(words);
}

QString CResultDocument::TitleWithNote() const {
    const QString note = PartialNote();
    return note.isEmpty() ? Title() : QStringLiteral("%1 (%2)").arg(Title(), note);
}

void CResultDocument::DeleteResult() {
    if (m_doc.IsCountRunning())
        return;
    m_bPartial = false;
    m_reportOrder.reset();
    m_doc.DeleteResult();
    emit captionsChanged();
}

CResultDocument::OrderLock CResultDocument::WhyOrderIsKept() const {
    if (LineCount() == 0)
        return OrderLock::noReport;
    if (IsCountRunning())
        return OrderLock::countRunning;
    if (m_bPartial)
        return OrderLock::partial;
    return m_reportOrder ? OrderLock::none : OrderLock::notCounted;
}

void CResultDocument::PutReportInOrder(const ReportOrder& order) {
    if (WhyOrderIsKept() != OrderLock::none || *m_reportOrder == order)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const ResortResult result = ResortReport(m_doc.m_listResult, m_doc.m_nTotalWords, order);
    QGuiApplication::restoreOverrideCursor();
    if (result == ResortResult::notACountReport)
        m_notifier.ShowMessage("The report keeps its order: the next count will use the new one.");
    if (result == ResortResult::outOfMemory)
        m_notifier.ShowMessage("Not enough memory to re-sort the report: it keeps its order, "
                               "and the next count will use the new one.");
    if (result != ResortResult::done)
        return;
    m_reportOrder = order;
    m_doc.SetModifiedFlag(true);
    for (CVorlanScrollView* view : m_views)
        view->ScrollToTop();
    UpdateAllViews();
}

int CResultDocument::OpenFile(const QString& path) {
    m_reportOrder.reset();
    int error = m_doc.OnOpenDocument(QFile::encodeName(path).toStdString()).value();
    UpdateAllViews();
    return error;
}

void CResultDocument::OnDocumentUpdate(CDocument&) {
    emit linesReplaced();
    for (CVorlanScrollView* view : m_views)
        view->OnUpdate();
    emit contentChanged();
}

// A count changes the title right after it empties or starts to reorder the
// report, and before it lets any event through: the moment to drop line
// positions.
void CResultDocument::OnDocumentTitleChanged(CDocument&) {
    emit linesReplaced();
    if (!IsCountRunning()) {
        emit captionsChanged();
        return;
    }
    if (!m_captionTimer.isActive())
        m_captionTimer.start();
}

void CResultDocument::AddView(CVorlanScrollView* view) {
    m_views.push_back(view);
    emit captionsChanged();
}

void CResultDocument::RemoveView(CVorlanScrollView* view) {
    std::erase(m_views, view);
    emit captionsChanged();
}

int CResultDocument::WindowNumber(const CVorlanScrollView* view) const {
    if (m_views.size() < 2)
        return 0;
    auto it = std::find(m_views.begin(), m_views.end(), view);
    return it == m_views.end() ? 0 : int(it - m_views.begin()) + 1;
}
