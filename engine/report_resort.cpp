#include "engine/report_resort.h"

#include "engine/count_run.h"
#include "engine/string_tree.h"
#include "platform/event_pump.h"
#include "settings/setting_keys.h"

#include <algorithm>
#include <new>
#include <string>

namespace {

using CLineNode = CExStringList::CLineNode;

// The run of word lines right after the header line.
struct WordLines {
    CLineNode* pFirst = nullptr;
    std::int64_t nLines = 0;
};

// False when the report's word lines are not one run after its first line.
bool FindWordLines(const CExStringList& report, WordLines& lines) {
    const CLineNode* header = report.m_pHead;
    if (!header || header->IsWordLine())
        return false;
    CLineNode* node = header->m_pNextNode;
    lines.pFirst = node && node->IsWordLine() ? node : nullptr;
    while (node && node->IsWordLine()) {
        ++lines.nLines;
        node = node->m_pNextNode;
    }
    for (; node; node = node->m_pNextNode) {
        if (node->IsWordLine())
            return false;
    }
    return true;
}

// A count by endings keys its table by each word's bytes reversed.
bool FillTable(CStringTree& table, const WordLines& lines, bool bReversed) {
    std::string word;
    const CLineNode* node = lines.pFirst;
    for (std::int64_t i = 0; i < lines.nLines; ++i, node = node->m_pNextNode) {
        word.assign(node->Word());
        if (bReversed)
            std::reverse(word.begin(), word.end());
        if (!table.InsertRepeated(word.c_str(), node->WordCount()))
            throw std::bad_alloc();
    }
    return table.m_nCount == lines.nLines;
}

// Moves the new lines onto the old nodes, which are as many: nothing is
// allocated, so the report is never left half changed.
void TakeLines(const WordLines& lines, CExStringList& written) noexcept {
    CLineNode* to = lines.pFirst;
    for (CLineNode* from = written.m_pHead; from; from = from->m_pNextNode, to = to->m_pNextNode) {
        to->m_strLine.swap(from->m_strLine);
        to->m_nWordCount = from->m_nWordCount;
        to->m_nWordLength = from->m_nWordLength;
    }
}

} // namespace

ReportOrder ReadReportOrder(const CSettingsStore& settings) {
    using namespace setting_keys;
    ReportOrder order;
    order.bAbc = IsOn(settings, kAbc);
    order.bTail = IsOn(settings, kTail);
    order.bPercent = IsOn(settings, kPercent);
    if (IsOn(settings, kFreq))
        order.byCount = CExStringList::MoreToLess;
    else if (IsOn(settings, kLowFreq))
        order.byCount = CExStringList::LessToMore;
    return order;
}

ResortResult ResortReport(CExStringList& report, std::int64_t nTotalWords,
                          const ReportOrder& order) {
    const CScopedPumpHook noEvents(nullptr, nullptr);
    WordLines lines;
    if (!FindWordLines(report, lines))
        return ResortResult::notACountReport;
    try {
        CExStringList written;
        {
            CStringTree table;
            if (!FillTable(table, lines, order.bTail) || table.m_nTotal != nTotalWords)
                return ResortResult::notACountReport;
            WriteReportWordLines(table, written, order.bAbc, order.bTail, order.bPercent);
        }
        if (order.byCount)
            written.SortByCount(kCountFieldWidth, *order.byCount);
        TakeLines(lines, written);
    } catch (const std::bad_alloc&) {
        return ResortResult::outOfMemory;
    }
    return ResortResult::done;
}
