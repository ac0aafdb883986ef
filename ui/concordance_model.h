// The hits of a concordance window as a table: File, Line, Left, Hit,
// Right. It is the concordance's sink: rows arrive while the files are read.
// Each hit keeps its place (file index, line, column) and its context words,
// never the line: the memory grows with the hits, not with the files.
#ifndef VORLAN_UI_CONCORDANCE_MODEL_H
#define VORLAN_UI_CONCORDANCE_MODEL_H

#include "engine/concordance.h"
#include "engine/concordance_rows.h"

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CConcordanceModel : public QAbstractTableModel, public IConcordanceSink {
    Q_OBJECT
  public:
    enum Column { kFile, kLine, kLeft, kHit, kRight, kColumns };
    // The words of context each side of a hit, enough for every sort key.
    static constexpr unsigned kContext = 5;
    static constexpr int kSortKeys = 3; // 1L..3L and 1R..3R

    // files is the list the concordance reads (copied: paths, not text).
    explicit CConcordanceModel(std::vector<std::string> files, QObject* parent = nullptr);

    void OnLine(const ConcordanceLine& line) override;
    // Shows the rows that arrived since the last call.
    void Flush();

    // Orders the rows by the word nAway words left (negative) or right of
    // the hit, in the report's case-insensitive order, ties in list order;
    // 0 for list order.
    void SortBy(int nAway);
    int SortKey() const { return m_nSortAway; }

    // The row as shown (after sorting), with views into the model's text.
    KwicRow Row(int row) const;
    // Every row, in the order shown, as vorlan-count --format=tsv writes it.
    std::string Tsv() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

  private:
    struct Span {
        std::uint16_t offset = 0; // from the hit's first byte in m_text
        std::uint16_t length = 0;
    };
    struct Hit {
        std::uint32_t nFile;
        std::uint64_t nLine;
        std::uint64_t nColumn;
        std::uint64_t nText; // left, hit, right, one after the other
        std::uint16_t nLeft, nHit, nRight;
        std::array<Span, 2 * kSortKeys> keys; // 1L..3L, then 1R..3R
    };
    std::string_view Key(const Hit& hit, int nAway) const;

    std::vector<std::string> m_files;
    std::vector<Hit> m_hits;            // in list order
    std::vector<std::uint32_t> m_order; // rows shown, as indices into m_hits
    std::string m_text;
    int m_nSortAway = 0;
    QElapsedTimer m_sinceFlush;
};

#endif
