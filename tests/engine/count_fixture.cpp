#include "count_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

CTempTree::CTempTree() {
    std::string pattern = ::testing::TempDir() + "vorlan-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    m_root = pattern;
}

CTempTree::~CTempTree() {
    std::error_code ec;
    std::filesystem::remove_all(m_root, ec);
}

std::string CTempTree::Write(const std::string& rel, const std::string& bytes) {
    std::filesystem::path path = m_root / rel;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path.string();
}

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
