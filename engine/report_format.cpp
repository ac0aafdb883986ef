#include "engine/report_format.h"

#include "engine/ex_string_list.h"
#include "engine/report_sink.h"
#include "engine/string_tree.h"
#include "platform/event_pump.h"

#include "tesmo.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kCountWidth = 10;
constexpr std::string_view kColon = " : ";
constexpr std::string_view kLineEnd = "\r\n";

// Appends value right-aligned in a 10-character field, or whole when longer:
// the bytes of printf's "%10ld" / "%10lu".
template <class Number> void AppendCountField(std::string& out, Number value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    const auto nDigits = static_cast<std::size_t>(result.ptr - digits);
    if (nDigits < kCountWidth)
        out.append(kCountWidth - nDigits, ' ');
    out.append(digits, nDigits);
}

// "(%6.3f%%)" with count * 100 / total, rounded as the C library rounds.
void AppendPercentField(std::string& out, std::uint64_t nCount, std::int64_t nTotal) {
    char field[64];
    const double percent = static_cast<double>(nCount) * 100.0 / static_cast<double>(nTotal);
    const int n = std::snprintf(field, sizeof field, "(%6.3f%%)", percent);
    out.append(field, static_cast<std::size_t>(n));
}

std::string TotalsLine(std::int64_t value, std::string_view label) {
    std::string line;
    line.reserve(kCountWidth + kColon.size() + label.size() + kLineEnd.size());
    AppendCountField(line, value);
    line.append(kColon).append(label).append(kLineEnd);
    return line;
}

// Everything of a word line up to the word, in line (emptied first).
void StartWordLine(std::string& line, std::uint64_t nCount, const std::int64_t* pTotal,
                   std::size_t nWordLength) {
    line.clear();
    line.reserve(kCountWidth + 16 + kColon.size() + nWordLength + kLineEnd.size());
    AppendCountField(line, nCount);
    if (pTotal)
        AppendPercentField(line, nCount, *pTotal);
    line.append(kColon);
}

std::string WordLineStart(std::uint64_t nCount, const std::int64_t* pTotal,
                          std::size_t nWordLength) {
    std::string line;
    StartWordLine(line, nCount, pTotal, nWordLength);
    return line;
}

} // namespace

std::string FormatHeaderLine(std::string_view spec) {
    std::string line;
    line.reserve(spec.size() + 16);
    line.append("=====[ ").append(spec).append(" ]=====").append(kLineEnd);
    return line;
}

std::string FormatFilesProcessedLine(std::int64_t nFiles) {
    return TotalsLine(nFiles, "Files processed");
}

std::string FormatTotalWordsLine(std::int64_t nWords) {
    return TotalsLine(nWords, "Total words");
}

std::string FormatDifferentWordsLine(std::int64_t nWords) {
    return TotalsLine(nWords, "Different words used");
}

std::string FormatWordLine(std::uint64_t nCount, std::string_view word) {
    std::string line = WordLineStart(nCount, nullptr, word.size());
    line.append(word).append(kLineEnd);
    return line;
}

std::string FormatWordPercentLine(std::uint64_t nCount, std::int64_t nTotal,
                                  std::string_view word) {
    std::string line = WordLineStart(nCount, &nTotal, word.size());
    line.append(word).append(kLineEnd);
    return line;
}

std::string UpperCased(std::string text) {
    mbstrupr(text.data());
    return text;
}

void CListLineSink::WriteLine(std::string line) {
    m_list.AppendLine(std::move(line));
}

void CListLineSink::WriteWordLine(std::string& line, std::uint64_t nCount,
                                  std::size_t nWordLength) {
    m_list.AppendWordLine(std::move(line), nCount, nWordLength);
    line = std::string(); // moved from: empty, as the sink promises
}

// The one walk behind the six writers.
void CStringTree::WriteLines(IReportLineSink& sink, const CNode* pNode, bool bDescending,
                             bool bReversed, bool bPercent, CountOrder byCount) const {
    const std::int64_t* pTotal = bPercent ? &m_nTotal : nullptr;
    std::string line;
    const auto write = [&](const char* pszWord, std::size_t nLength, std::uint64_t nCount) {
        StartWordLine(line, nCount, pTotal, nLength);
        const std::size_t nWordAt = line.size();
        line.append(pszWord, nLength);
        if (bReversed) // the stored word was counted reversed; print it as counted
            mbstrrev(line.data() + nWordAt);
        line.append(kLineEnd);
        sink.WriteWordLine(line, nCount, nLength);
        PumpMessages();
    };
    // The whole table, whatever holds its words; a subtree is the tree's.
    if (pNode == m_pRoot) {
        VisitInOrder(bDescending, byCount, write);
        return;
    }
    Walk(pNode, bDescending, [&](const CNode& node) {
        write(node.m_pszWord, std::strlen(node.m_pszWord), node.m_nCount);
    });
}

void CStringTree::WriteLines(CExStringList& list, const CNode* pNode, bool bDescending,
                             bool bReversed, bool bPercent) const {
    CListLineSink sink(list);
    WriteLines(sink, pNode, bDescending, bReversed, bPercent);
}

void CStringTree::WriteAscending(CExStringList& list, const CNode* pNode) const {
    WriteLines(list, pNode, false, false, false);
}

void CStringTree::WriteDescending(CExStringList& list, const CNode* pNode) const {
    WriteLines(list, pNode, true, false, false);
}

void CStringTree::WriteByEndings(CExStringList& list, const CNode* pNode) const {
    WriteLines(list, pNode, false, true, false);
}

void CStringTree::WriteAscendingPercent(CExStringList& list, const CNode* pNode) const {
    WriteLines(list, pNode, false, false, true);
}

void CStringTree::WriteDescendingPercent(CExStringList& list, const CNode* pNode) const {
    WriteLines(list, pNode, true, false, true);
}

void CStringTree::WriteByEndingsPercent(CExStringList& list, const CNode* pNode) const {
    WriteLines(list, pNode, false, true, true);
}
