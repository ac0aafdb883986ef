// What the two tokenizer suites share: a whole tokenization over an exactly
// sized buffer, so that a sanitizer build catches any access past the
// terminator, and the named cases of their boundary tables.
#ifndef VORLAN_TESTS_TESMO_TOKENIZE_WORDS_H
#define VORLAN_TESTS_TESMO_TOKENIZE_WORDS_H

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using Words = std::vector<std::string>;

// Runs tokenize over line the way the counter does and collects every word,
// empty ones included.
inline Words TokenizeWith(char* (*tokenize)(char*), const std::string& line) {
    std::vector<char> buf(line.begin(), line.end());
    buf.push_back('\0');
    Words words;
    for (char* w = tokenize(buf.data()); w; w = tokenize(nullptr)) {
        EXPECT_GE(w, buf.data());
        EXPECT_LT(w, buf.data() + buf.size());
        words.emplace_back(w);
    }
    return words;
}

struct Case {
    const char* name;
    std::string line;
    Words words;
};

inline void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

#endif
