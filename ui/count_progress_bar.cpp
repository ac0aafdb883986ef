#include "ui/count_progress_bar.h"

#include "engine/count_notifier.h"
#include "platform/path.h"
#include "ui/gui_count_notifier.h"
#include "ui/result_document.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

namespace {
constexpr int kPermille = 1000;
constexpr int kBarWidth = 160;
} // namespace

CCountProgressBar::CCountProgressBar(QWidget* parent)
    : QWidget(parent), m_pFile(new QLabel(this)), m_pWords(new QLabel(this)),
      m_pBar(new QProgressBar(this)), m_pStop(new QPushButton(tr("Stop"), this)) {
    m_pFile->setObjectName(QStringLiteral("file"));
    m_pWords->setObjectName(QStringLiteral("words"));
    m_pBar->setObjectName(QStringLiteral("bar"));
    m_pStop->setObjectName(QStringLiteral("stop"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // A long name is cut off rather than widening the window.
    m_pFile->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // Room for the largest count, so the text never gets cut or jumps about.
    CountProgress widest;
    widest.words = -2147483647;
    m_pWords->setMinimumWidth(fontMetrics().horizontalAdvance(FormatWords(widest)) + 8);
    m_pWords->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_pBar->setRange(0, kPermille);
    m_pBar->setFixedWidth(kBarWidth);
    m_pBar->setMaximumHeight(fontMetrics().height() + 2);
    m_pStop->setFocusPolicy(Qt::NoFocus);
    m_pStop->setMaximumHeight(fontMetrics().height() + 6);
    layout->addWidget(m_pFile, 1);
    layout->addWidget(m_pWords);
    layout->addWidget(m_pBar);
    layout->addWidget(m_pStop);
    connect(m_pStop, &QPushButton::clicked, this, &CCountProgressBar::Stop);
    hide();
}

void CCountProgressBar::Watch(CResultDocument* doc) {
    const QObject* key = doc;
    if (!doc || std::find(m_watched.begin(), m_watched.end(), key) != m_watched.end())
        return;
    m_watched.push_back(key);
    connect(doc, &CResultDocument::countStarted, this, [this, doc] { OnStarted(doc); });
    connect(doc, &CResultDocument::countEnded, this, [this, doc] { OnEnded(doc); });
    connect(doc, &CResultDocument::countProgress, this,
            [this, doc](const CountProgress& progress) { OnProgress(doc, progress); });
    connect(doc, &QObject::destroyed, this, &CCountProgressBar::Forget);
}

CResultDocument* CCountProgressBar::ShownDocument() const {
    return m_counts.empty() ? nullptr : m_counts.back().doc;
}

QString CCountProgressBar::FormatFile(const CountProgress& progress) {
    QString text = tr("%1 of %2").arg(progress.fileIndex).arg(progress.fileCount);
    const std::string_view path = progress.path;
    if (path.empty())
        return text;
    return text + QLatin1String(": ") + EngineText(FileNameOf(path));
}

QString CCountProgressBar::FormatWords(const CountProgress& progress) {
    return tr("%1 words").arg(progress.words);
}

int CCountProgressBar::FormatPermille(const CountProgress& progress) {
    if (progress.bytesTotal == 0)
        return 0;
    const std::uint64_t done = std::min(progress.bytesDone, progress.bytesTotal);
    // Split so that no product overflows, whatever the sizes.
    const std::uint64_t whole = done / progress.bytesTotal * kPermille;
    const long double part = static_cast<long double>(done % progress.bytesTotal) * kPermille /
                             static_cast<long double>(progress.bytesTotal);
    return static_cast<int>(whole + static_cast<std::uint64_t>(part));
}

void CCountProgressBar::OnStarted(CResultDocument* doc) {
    m_counts.push_back({doc, doc, QString(), QString(), QString(), 0});
    ShowLatest();
}

void CCountProgressBar::OnEnded(CResultDocument* doc) {
    // The latest of this document's counts; a document runs one at a time.
    for (auto it = m_counts.rbegin(); it != m_counts.rend(); ++it) {
        if (it->doc == doc) {
            m_counts.erase(std::next(it).base());
            break;
        }
    }
    ShowLatest();
}

void CCountProgressBar::OnProgress(CResultDocument* doc, const CountProgress& progress) {
    for (auto it = m_counts.rbegin(); it != m_counts.rend(); ++it) {
        if (it->doc != doc)
            continue;
        it->fileText = FormatFile(progress);
        it->fileTip = EngineText(progress.path);
        it->wordsText = FormatWords(progress);
        it->permille = FormatPermille(progress);
        if (it == m_counts.rbegin())
            ShowLatest();
        return;
    }
}

// Only the QObject is left of the document by now.
void CCountProgressBar::Forget(QObject* doc) {
    std::erase(m_watched, doc);
    std::erase_if(m_counts, [doc](const Count& c) { return c.key == doc; });
    ShowLatest();
}

void CCountProgressBar::Stop() {
    if (CResultDocument* doc = ShownDocument())
        doc->RequestQuit();
}

void CCountProgressBar::ShowLatest() {
    if (m_counts.empty()) {
        hide();
        return;
    }
    const Count& count = m_counts.back();
    m_pFile->setText(count.fileText);
    m_pFile->setToolTip(count.fileTip);
    m_pWords->setText(count.wordsText);
    m_pBar->setValue(count.permille);
    show();
}
