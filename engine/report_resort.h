// Reordering a finished report without counting again: the word table is
// emptied at the end of every count, so the table is rebuilt from the
// report's own word lines (each distinct word has one, with its count and
// the text first met) and written out by the count's own writers. The result
// is byte for byte what a count of the same files in the new order gives.
#ifndef VORLAN_ENGINE_REPORT_RESORT_H
#define VORLAN_ENGINE_REPORT_RESORT_H

#include "engine/ex_string_list.h"

#include <cstdint>
#include <optional>

class CSettingsStore;

// The order of a report's word lines as the "Sort" options give it to a
// count: the writer's order and form, then an optional ordering by count.
struct ReportOrder {
    bool bAbc = false;     // ascending; else descending
    bool bTail = false;    // by endings, which overrides the direction
    bool bPercent = false; // each line shows the word's share
    std::optional<CExStringList::SortDirection> byCount;

    friend bool operator==(const ReportOrder&, const ReportOrder&) = default;
};

// The order a count started now would give, read as the count reads it.
ReportOrder ReadReportOrder(const CSettingsStore& settings);

enum class ResortResult {
    done,
    // The report is not the whole report of one count: no word lines in one
    // run after the header, two lines for one word, or counts that do not
    // add up to the total. It is left as it was.
    notACountReport,
    // Memory ran out; the report is left as it was.
    outOfMemory,
};

// Puts the word lines of report, the whole report of a count that counted
// nTotalWords words, into order. The header, separator and totals stay as
// they are. No event is let through while it works: the report's lines are
// in use until it returns.
ResortResult ResortReport(CExStringList& report, std::int64_t nTotalWords,
                          const ReportOrder& order);

#endif
