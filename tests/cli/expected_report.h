// Expected report lines, formatted independently of the engine's writers.
#ifndef VORLAN_TESTS_CLI_EXPECTED_REPORT_H
#define VORLAN_TESTS_CLI_EXPECTED_REPORT_H

#include <cstdio>
#include <string>

inline std::string WordLine(unsigned long count, const std::string& word) {
    char field[16];
    std::snprintf(field, sizeof field, "%10lu", count);
    return std::string(field) + " : " + word + "\r\n";
}

// The separator and totals; files < 0 leaves out the "Files processed" line.
inline std::string Totals(int files, int total, int different) {
    std::string text = "=========================\r\n";
    char line[64];
    if (files >= 0) {
        std::snprintf(line, sizeof line, "%10d : Files processed\r\n", files);
        text += line;
    }
    std::snprintf(line, sizeof line, "%10d : Total words\r\n", total);
    text += line;
    std::snprintf(line, sizeof line, "%10d : Different words used\r\n", different);
    return text + line;
}

#endif
