// The word lines of a finished report, read back as data. A word line is the
// count right-aligned in 10 characters, optionally "(percent%)", then " : ",
// the word, CR LF. The count field holds only spaces and digits and the
// percent field no " : ", so the word is everything after the first " : ":
// a word may itself hold " : " in no other way than as its own bytes.
#ifndef VORLAN_CLI_REPORT_DATA_H
#define VORLAN_CLI_REPORT_DATA_H

#include "engine/ex_string_list.h"

#include <cstdint>
#include <string_view>

struct ReportWord {
    std::string_view word;
    std::uint32_t count = 0;
};

// False for a line that is not a word line of the form above.
bool ParseWordLine(std::string_view line, ReportWord& word);

// The header's file specification, or false when the first line of the
// report is not a header line.
bool ParseHeaderLine(std::string_view line, std::string_view& spec);

// Calls fn(const ReportWord&) for each word line of report, in report order:
// the lines after the header up to the separator before the totals.
template <class Fn> void ForEachReportWord(const CExStringList& report, Fn fn) {
    const CExStringList::CNode* node = report.m_pHead;
    std::string_view spec;
    if (node && ParseHeaderLine(node->m_strLine, spec))
        node = node->m_pNextNode;
    ReportWord word;
    for (; node && ParseWordLine(node->m_strLine, word); node = node->m_pNextNode)
        fn(word);
}

#endif
