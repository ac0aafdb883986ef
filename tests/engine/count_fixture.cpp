#include "count_fixture.h"

#include <cstdio>

std::string ReportText(const CVorlanDoc& doc) {
    std::string text;
    for (const auto* node = doc.m_listResult.m_pHead; node; node = node->m_pNextNode)
        text += node->m_strLine;
    return text;
}

std::vector<std::string> ReportLines(const CVorlanDoc& doc) {
    std::vector<std::string> lines;
    for (const auto* node = doc.m_listResult.m_pHead; node; node = node->m_pNextNode)
        lines.emplace_back(node->m_strLine);
    return lines;
}

std::string WordLine(unsigned long count, const std::string& word) {
    char field[32];
    std::snprintf(field, sizeof field, "%10lu", count);
    return std::string(field) + " : " + word + "\r\n";
}
