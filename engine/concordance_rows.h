// One occurrence of a concordance as a row: where it is, the hit, and the
// context on either side, as every front end shows and exports it.
#ifndef VORLAN_ENGINE_CONCORDANCE_ROWS_H
#define VORLAN_ENGINE_CONCORDANCE_ROWS_H

#include "engine/concordance.h"

#include <string>
#include <string_view>

struct KwicRow {
    std::string_view path; // as listed
    std::uint64_t nLine = 0;
    std::uint64_t nColumn = 0;
    // Views into the line: valid only while the line is. The left context
    // runs from the first of its words up to the hit, the right one from
    // the hit to the end of its last word; white space at their outer ends
    // is left out, punctuation kept.
    std::string_view left;
    std::string_view hit;
    std::string_view right;
};

// The row of the occurrence at words[index] with up to nContext words each
// side, within the line piece.
KwicRow MakeKwicRow(const ConcordanceLine& line, std::size_t index, unsigned nContext);

// The word nAway words to the left (negative) or right (positive) of
// words[index] in the line piece, or "" when the line has none there.
std::string_view NeighbourWord(const ConcordanceLine& line, std::size_t index, int nAway);

// TSV is how hits leave every front end (vorlan-count --format=tsv, the
// window's Copy and Save as), so the TSV field escaping of all data lives
// here: backslash, tab, LF and CR become \\, \t, \n and \r.
void AppendTsvField(std::string& out, std::string_view bytes);

// The header row and one row of a hit, each ending with LF: file, line,
// column, left, hit, right.
inline constexpr const char kKwicTsvHeader[] = "file\tline\tcolumn\tleft\thit\tright\n";
void AppendKwicTsvRow(std::string& out, const KwicRow& row);

#endif
