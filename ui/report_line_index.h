// Positions of report lines, so that a repaint finds the first visible line
// without walking the report from its head each time. It is filled lazily,
// only as far as a repaint has asked, and dropped whenever the report may
// have been replaced or reordered (Reset).
//
// Between resets the report may only have grown at its end (a count
// appending lines): kept positions then stay right and the index grows from
// its last node. A report that shrank or has another head is indexed again.
#ifndef VORLAN_UI_REPORT_LINE_INDEX_H
#define VORLAN_UI_REPORT_LINE_INDEX_H

#include "engine/ex_string_list.h"

#include <cstdint>
#include <vector>

class CReportLineIndex {
  public:
    using CLineNode = CExStringList::CLineNode;

    void Reset() { m_nodes.clear(); }

    // The line at index (0-based) of list, or null when list has no such
    // line. Costs the lines not yet indexed up to index, then nothing.
    const CLineNode* Line(const CExStringList& list, std::int32_t index);

    std::size_t IndexedLines() const { return m_nodes.size(); }

  private:
    std::vector<const CLineNode*> m_nodes;
};

#endif
