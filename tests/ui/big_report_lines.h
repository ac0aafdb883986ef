// The report of two million distinct words that the big-report tests and the
// benchmark both open: a header, a word line each, and the separator.
#ifndef VORLAN_TESTS_UI_BIG_REPORT_LINES_H
#define VORLAN_TESTS_UI_BIG_REPORT_LINES_H

#include "engine/ex_string_list.h"
#include "engine/report_format.h"

#include <cstdint>
#include <cstdio>
#include <string>

constexpr int kBigReportLines = 2'000'000;

// The i-th word of the big report: distinct, eight bytes, in ascending order.
inline std::string BigReportWord(int i) {
    char word[16];
    std::snprintf(word, sizeof word, "w%07d", i);
    return word;
}

inline void AppendBigReport(CExStringList& report) {
    report.AppendLine(FormatHeaderLine("/DATA/*.TXT"));
    for (int i = 0; i < kBigReportLines - 2; ++i)
        report.AppendLine(FormatWordLine(std::uint32_t(kBigReportLines - i), BigReportWord(i)));
    report.AppendLine(kSeparatorLine);
}

#endif
