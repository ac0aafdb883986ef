// Positions of report lines, so that a repaint finds the first visible line
// without walking the report from its head each time. It is filled lazily,
// only as far as a repaint has asked, and dropped whenever the report may
// have been replaced or reordered (Reset).
//
// Between resets the report may only have grown at its end (a count
// appending lines): kept positions then stay right and the index grows from
// its last node. A report that shrank or has another head is indexed again.
//
// While it walks, the index also keeps the longest line it has passed (by
// bytes), so that the view can size its horizontal extent without a walk
// of its own: a line's width as drawn grows with its bytes, and any line
// the view draws is measured exactly as well.
#ifndef VORLAN_UI_REPORT_LINE_INDEX_H
#define VORLAN_UI_REPORT_LINE_INDEX_H

#include "engine/ex_string_list.h"

#include <cstdint>
#include <vector>

class CReportLineIndex {
  public:
    using CLineNode = CExStringList::CLineNode;

    void Reset() {
        m_nodes.clear();
        m_pLongest = nullptr;
    }

    // The line at index (0-based) of list, or null when list has no such
    // line. Costs the lines not yet indexed up to index, then nothing.
    const CLineNode* Line(const CExStringList& list, std::int32_t index);

    std::size_t IndexedLines() const { return m_nodes.size(); }
    // The line of most bytes among those indexed for list (the first of
    // equals), or null with none.
    const CLineNode* LongestLine(const CExStringList& list) const {
        return Follows(list) ? m_pLongest : nullptr;
    }

  private:
    // The kept positions are still those of list.
    bool Follows(const CExStringList& list) const {
        return !m_nodes.empty() && m_nodes.front() == list.m_pHead &&
               std::int32_t(m_nodes.size()) <= list.m_nLines;
    }
    void Keep(const CLineNode* node);

    std::vector<const CLineNode*> m_nodes;
    const CLineNode* m_pLongest = nullptr;
};

#endif
