// The text of a report, line by line. Every line ends with CR LF. The word
// lines are written by the word table's writers (CStringTree::Write...);
// this header forms the single lines the count run puts around them.
#ifndef VORLAN_ENGINE_REPORT_FORMAT_H
#define VORLAN_ENGINE_REPORT_FORMAT_H

#include <cstdint>
#include <string>
#include <string_view>

// Between the word lines and the totals: 25 equals signs.
inline constexpr const char kSeparatorLine[] = "=========================\r\n";

// "=====[ SPEC ]=====": spec is written as given (the count run upper-cases it).
std::string FormatHeaderLine(std::string_view spec);

// text with the single-byte letters a to z upper-cased and double-byte
// characters left alone: the file specification as the header shows it, and
// a path as the exclusion list and the failure messages see it.
std::string UpperCased(std::string text);

// The totals, each with its number right-aligned in 10 characters (a longer
// number takes the digits it needs).
std::string FormatFilesProcessedLine(std::int64_t nFiles);
std::string FormatTotalWordsLine(std::int64_t nWords);
std::string FormatDifferentWordsLine(std::int64_t nWords);

// One word line: the count right-aligned in 10 characters (or longer, as
// above), " : ", the word. The percent form puts "(%6.3f%%)" after the count,
// with count * 100 / nTotal.
std::string FormatWordLine(std::uint64_t nCount, std::string_view word);
std::string FormatWordPercentLine(std::uint64_t nCount, std::int64_t nTotal, std::string_view word);

#endif
