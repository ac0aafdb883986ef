#include "ui/concordance_model.h"

#include "ui/gui_count_notifier.h"

#include "tesmo.h"

#include <algorithm>
#include <numeric>

namespace {

// Rows show in batches while the files are read: often enough to watch them
// fill, seldom enough that the view keeps up with a count's pace.
constexpr qint64 kFlushMs = 100;

constexpr const char* kHeaders[] = {"File", "Line", "Left", "Hit", "Right"};

} // namespace

CConcordanceModel::CConcordanceModel(std::vector<std::string> files, QObject* parent)
    : QAbstractTableModel(parent), m_files(std::move(files)) {
    m_sinceFlush.start();
}

void CConcordanceModel::OnLine(const ConcordanceLine& line) {
    for (std::uint32_t i : line.hits) {
        const KwicRow row = MakeKwicRow(line, i, kContext);
        Hit hit{static_cast<std::uint32_t>(line.nFile),
                row.nLine,
                row.nColumn,
                m_text.size(),
                static_cast<std::uint16_t>(row.left.size()),
                static_cast<std::uint16_t>(row.hit.size()),
                static_cast<std::uint16_t>(row.right.size()),
                {}};
        // Left, hit and right are consecutive views of one piece of at most
        // 5,119 bytes, so every offset fits 16 bits.
        const char* first = row.left.empty() ? row.hit.data() : row.left.data();
        m_text.append(row.left).append(row.hit).append(row.right);
        for (int n = 1; n <= kSortKeys; ++n) {
            for (int side : {-1, 1}) {
                const std::string_view word = NeighbourWord(line, i, side * n);
                if (word.empty())
                    continue;
                const std::ptrdiff_t at =
                    side < 0 ? word.data() - first
                             : word.data() - row.right.data() +
                                   static_cast<std::ptrdiff_t>(row.left.size() + row.hit.size());
                hit.keys[(side < 0 ? 0 : kSortKeys) + n - 1] = {
                    static_cast<std::uint16_t>(at), static_cast<std::uint16_t>(word.size())};
            }
        }
        m_hits.push_back(hit);
    }
    if (m_sinceFlush.elapsed() >= kFlushMs)
        Flush();
}

void CConcordanceModel::Flush() {
    m_sinceFlush.restart();
    if (m_order.size() == m_hits.size())
        return;
    const int first = static_cast<int>(m_order.size());
    beginInsertRows({}, first, static_cast<int>(m_hits.size()) - 1);
    for (std::size_t i = m_order.size(); i < m_hits.size(); ++i)
        m_order.push_back(static_cast<std::uint32_t>(i));
    endInsertRows();
}

std::string_view CConcordanceModel::Key(const Hit& hit, int nAway) const {
    if (nAway == 0 || std::abs(nAway) > kSortKeys)
        return {};
    const Span span = hit.keys[(nAway < 0 ? 0 : kSortKeys) + std::abs(nAway) - 1];
    return std::string_view(m_text).substr(hit.nText + span.offset, span.length);
}

void CConcordanceModel::SortBy(int nAway) {
    beginResetModel();
    m_nSortAway = nAway;
    std::iota(m_order.begin(), m_order.end(), 0u);
    if (nAway != 0) {
        std::vector<std::string> keys(m_order.size());
        for (std::size_t i = 0; i < keys.size(); ++i)
            keys[i] = Key(m_hits[i], nAway);
        std::stable_sort(m_order.begin(), m_order.end(), [&](std::uint32_t a, std::uint32_t b) {
            return mbstricmp(keys[a].c_str(), keys[b].c_str()) < 0;
        });
    }
    endResetModel();
}

KwicRow CConcordanceModel::Row(int row) const {
    const Hit& hit = m_hits[m_order[static_cast<std::size_t>(row)]];
    const std::string_view text = std::string_view(m_text).substr(hit.nText);
    return {m_files[hit.nFile],
            hit.nLine,
            hit.nColumn,
            text.substr(0, hit.nLeft),
            text.substr(hit.nLeft, hit.nHit),
            text.substr(hit.nLeft + hit.nHit, hit.nRight)};
}

std::string CConcordanceModel::Tsv() const {
    std::string tsv = kKwicTsvHeader;
    for (int row = 0; row < rowCount(); ++row)
        AppendKwicTsvRow(tsv, Row(row));
    return tsv;
}

int CConcordanceModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_order.size());
}

int CConcordanceModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant CConcordanceModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole) {
        switch (index.column()) {
        case kLine:
        case kLeft:
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        case kHit:
            return QVariant::fromValue(Qt::AlignHCenter | Qt::AlignVCenter);
        default:
            return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
    if (role != Qt::DisplayRole)
        return {};
    const KwicRow row = Row(index.row());
    switch (index.column()) {
    case kFile:
        return EngineText(row.path);
    case kLine:
        return QVariant::fromValue<qulonglong>(row.nLine);
    case kLeft:
        return EngineText(row.left);
    case kHit:
        return EngineText(row.hit);
    default:
        return EngineText(row.right);
    }
}

QVariant CConcordanceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section >= kColumns)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromLatin1(kHeaders[section]);
}

// A click on Left sorts by the first word left of the hit, on Right by the
// first word right; any other column shows the list order.
void CConcordanceModel::sort(int column, Qt::SortOrder) {
    SortBy(column == kLeft ? -1 : column == kRight ? 1 : 0);
}
