// Boyer-Moore search: leftmost matches, and the states in which the classic
// scan would leave its strings.
#include "tesmo.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace {

// A heap copy of exactly the string's size, so that a read past the
// terminator is an error under the address sanitizer.
std::unique_ptr<char[]> Exact(const std::string& s) {
    std::unique_ptr<char[]> p(new char[s.size() + 1]);
    std::memcpy(p.get(), s.c_str(), s.size() + 1);
    return p;
}

const char* Naive(const char* text, const char* pattern) {
    const std::size_t n = std::strlen(text), m = std::strlen(pattern);
    for (std::size_t i = 0; i + m <= n; ++i)
        if (std::memcmp(text + i, pattern, m) == 0)
            return text + i;
    return nullptr;
}

// True when a search in a process that has prepared no pattern yet finds
// nothing; frees what it made before the caller exits.
bool SearchAtLoadFindsNothing() {
    auto text = Exact("abc");
    auto pattern = Exact("");
    return bmstrstr(text.get(), pattern.get()) == nullptr && bmstrstr(text.get(), "a") == nullptr;
}

// The state at load is seen only by a process in which no test has prepared
// a pattern: the search runs in a fresh run of this program, whatever the
// order of the tests.
TEST(BmStateDeathTest, SearchBeforeAnyInitializeFindsNothing) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(SearchAtLoadFindsNothing() ? 0 : 1), ::testing::ExitedWithCode(0), "");
}

TEST(BmState, EmptyOrNullPatternFindsNothing) {
    bminitialize("");
    EXPECT_EQ(bmstrstr("abc", ""), nullptr);
    bminitialize(nullptr);
    EXPECT_EQ(bmstrstr("abc", ""), nullptr);
    bminitialize("b");
    EXPECT_EQ(bmstrstr(nullptr, "b"), nullptr);
    EXPECT_EQ(bmstrstr("abc", nullptr), nullptr);
}

TEST(BmState, PatternOfAnotherLengthFindsNothing) {
    bminitialize("abcdef");
    auto text = Exact("xxabcdefxx");
    auto shorter = Exact("ab");
    auto longer = Exact("abcdefgh");
    EXPECT_EQ(bmstrstr(text.get(), shorter.get()), nullptr);
    EXPECT_EQ(bmstrstr(text.get(), longer.get()), nullptr);
}

// Same length, other bytes: the scan stays within both strings and moves by
// the shifts of the prepared pattern, so it can step over an occurrence.
TEST(BmState, PatternOfTheSameLengthIsSearchedWithThePreparedShifts) {
    bminitialize("abcdef");
    auto other = Exact("xabcde");
    struct Case {
        const char* text;
        int offset; // -1: not found
    } const cases[] = {
        {"xabcdexxxx", 0},  // compared from its last byte on: a match
        {"xxabcdefxx", -1}, // the shift of 'd' jumps over the match at 1
    };
    for (const Case& c : cases) {
        auto text = Exact(c.text);
        const char* hit = bmstrstr(text.get(), other.get());
        EXPECT_EQ(hit ? hit - text.get() : -1, c.offset) << c.text;
    }
}

TEST(BmSearch, FindsTheLeftmostOccurrence) {
    struct Case {
        const char* text;
        const char* pattern;
        int offset; // -1: not found
    } const cases[] = {
        {"xxabcxxabc", "abc", 2}, {"ab", "abc", -1},
        {"abc", "abc", 0},        {"", "a", -1},
        {"aaaa", "aa", 0},        {"abababx", "abx", 4},
        {"hello world", "o", 4},  {"hello world", "world", 6},
        {"abcab", "cab", 2},      {"xyz", "q", -1},
    };
    for (const Case& c : cases) {
        bminitialize(c.pattern);
        auto text = Exact(c.text);
        auto pattern = Exact(c.pattern);
        const char* hit = bmstrstr(text.get(), pattern.get());
        EXPECT_EQ(hit ? hit - text.get() : -1, c.offset) << c.text << " / " << c.pattern;
    }
}

TEST(BmSearch, ComparesBytesNotCharacters) {
    // The second byte of 0x82 0x61 is found as the letter a.
    bminitialize("ab");
    auto text = Exact("\x82"
                      "ab");
    EXPECT_EQ(bmstrstr(text.get(), "ab"), text.get() + 1);
}

TEST(BmSearch, AgreesWithNaiveSearchOnRandomInput) {
    std::mt19937 rng(20261207);
    const char alphabet[] = {'a', 'b', 'c', '\x82', '\x5C', '\xFF'};
    auto random_string = [&](std::size_t max) {
        std::string s(std::uniform_int_distribution<std::size_t>(0, max)(rng), 'a');
        for (char& c : s)
            c = alphabet[std::uniform_int_distribution<int>(0, 5)(rng)];
        return s;
    };
    for (int round = 0; round < 5000; ++round) {
        std::string p = random_string(8);
        if (p.empty())
            p.push_back('a');
        auto text = Exact(random_string(80));
        auto pattern = Exact(p);
        bminitialize(pattern.get());
        ASSERT_EQ(bmstrstr(text.get(), pattern.get()), Naive(text.get(), pattern.get()))
            << "text " << text.get() << " pattern " << p;
    }
}

} // namespace
