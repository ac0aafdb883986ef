// One occurrence of a concordance as a row: where it is, the hit, and the
// context on either side, as every front end shows and exports it.
#ifndef VORLAN_ENGINE_CONCORDANCE_ROWS_H
#define VORLAN_ENGINE_CONCORDANCE_ROWS_H

#include "engine/concordance.h"

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

#endif
