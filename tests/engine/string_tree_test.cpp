#include "engine/string_tree.h"

#include "word_table_checks.h"

#include "tesmo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using word_table_checks::Ascending;
using word_table_checks::AscendingWords;
using word_table_checks::Entry;
using word_table_checks::IsConsistent;

std::vector<std::string> DescendingWords(const CStringTree& table) {
    std::vector<std::string> words;
    CStringTree::WalkDescending(table.m_pRoot,
                                [&](const CNode& node) { words.push_back(node.m_pszWord); });
    return words;
}

void InsertAll(CStringTree& table, const std::vector<std::string>& words) {
    for (const std::string& word : words)
        ASSERT_NE(table.Insert(word.c_str()), nullptr) << word;
}

TEST(WordTableInsert, CaseVariantsCountAsOneWordKeepingTheFirstText) {
    CStringTree table;
    CNode* first = table.Insert("The");
    EXPECT_EQ(first, table.m_pRoot);
    EXPECT_EQ(table.Insert("the"), first);
    EXPECT_EQ(table.Insert("THE", table.m_pRoot), first);
    EXPECT_STREQ(first->m_pszWord, "The");
    EXPECT_EQ(first->m_nCount, 3u);
    EXPECT_EQ(table.m_nCount, 1);
    EXPECT_EQ(table.m_nTotal, 3);
    EXPECT_TRUE(IsConsistent(table));
}

TEST(WordTableInsert, StoresACopyOfTheWord) {
    CStringTree table;
    char buffer[] = "word";
    table.Insert(buffer);
    buffer[0] = 'c';
    EXPECT_EQ(AscendingWords(table), std::vector<std::string>{"word"});
}

// Only the bytes A-Z fold; everything else compares by its value. Long
// words make the folding run over whole eight-byte groups and a tail.
struct SamenessCase {
    const char* name;
    std::string a;
    std::string b;
    bool same;
    friend void PrintTo(const SamenessCase& c, std::ostream* os) { *os << c.name; }
};

class WordTableSameness : public ::testing::TestWithParam<SamenessCase> {};

TEST_P(WordTableSameness, FollowsCaseInsensitiveByteComparison) {
    const SamenessCase& c = GetParam();
    CStringTree table;
    table.Insert(c.a.c_str());
    table.Insert(c.b.c_str());
    EXPECT_EQ(table.m_nCount, c.same ? 1 : 2);
    EXPECT_EQ(mbstricmp(c.a.c_str(), c.b.c_str()) == 0, c.same);
    EXPECT_TRUE(IsConsistent(table));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WordTableSameness,
    ::testing::Values(
        SamenessCase{"AsciiCase", "Counting", "cOUNTING", true},
        SamenessCase{"Latin1AccentsDiffer", "\xC4pfel", "\xE4pfel", false},
        SamenessCase{"HighBytesThatLookLikeCapitals", "\xC1\xDA", "\xE1\xFA", false},
        SamenessCase{"ShiftJisSecondByteFolds", "\x83\x41", "\x83\x61", true},
        SamenessCase{"BracketIsNotAFoldedLetter", "[", "{", false},
        SamenessCase{"AtSignIsNotAFoldedLetter", "@", "`", false},
        SamenessCase{"LongWordsFoldInEveryGroup", "abcdefghIJKLMNOPqrstuvWXyz",
                     "ABCDEFGHijklmnopQRSTUVwxYZ", true},
        SamenessCase{"DifferenceInTheTail", "abcdefghijklmnopq", "abcdefghijklmnopr", false},
        SamenessCase{"DifferenceInAGroup", "abcdefgXijklmnopq", "abcdefgYijklmnopq", false},
        SamenessCase{"PrefixIsAnotherWord", "abcdefgh", "abcdefghi", false},
        SamenessCase{"HighByteInTailDoesNotFold", "abcdefgh\xC1", "abcdefgh\xE1", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WordTableOrder, WalksFollowMbstricmpBothWays) {
    CStringTree table;
    InsertAll(table, {"b", "a", "c"});
    EXPECT_EQ(AscendingWords(table), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(DescendingWords(table), (std::vector<std::string>{"c", "b", "a"}));
}

TEST(WordTableOrder, CapitalsSortAsLowerCaseAndHighBytesLast) {
    CStringTree table;
    InsertAll(table, {"Z", "\xE0", "[", "a", "_"});
    // '[' (0x5B) and '_' (0x5F) come before 'a'; 'Z' sorts as 'z'.
    EXPECT_EQ(AscendingWords(table), (std::vector<std::string>{"[", "_", "a", "Z", "\xE0"}));
}

TEST(WordTableOrder, EndingOrderOfReversedWords) {
    CStringTree table;
    for (std::string word : {"walked", "talked", "walks"}) {
        std::reverse(word.begin(), word.end());
        table.Insert(word.c_str());
    }
    std::vector<std::string> words = AscendingWords(table);
    for (std::string& word : words)
        std::reverse(word.begin(), word.end());
    EXPECT_EQ(words, (std::vector<std::string>{"talked", "walked", "walks"}));
}

TEST(WordTableOrder, WalkOfASubtreeStaysInside) {
    CStringTree table;
    char word[8];
    for (int i = 0; i < 100; ++i) {
        std::snprintf(word, sizeof word, "w%d", 100 + i);
        table.Insert(word);
    }
    const CNode* lesser = table.m_pRoot->m_pLesser;
    ASSERT_NE(lesser, nullptr);
    std::vector<std::string> inside;
    CStringTree::WalkAscending(lesser, [&](const CNode& n) { inside.push_back(n.m_pszWord); });
    ASSERT_FALSE(inside.empty());
    EXPECT_TRUE(std::is_sorted(inside.begin(), inside.end()));
    EXPECT_LT(inside.back(), std::string(table.m_pRoot->m_pszWord));
    EXPECT_EQ(inside.front(), "w100");
}

TEST(WordTableClear, EmptiesTheTableAndTheNextWordLandsInTheRoot) {
    CStringTree table;
    InsertAll(table, {"one", "two", "three", "two"});
    table.Clear();
    EXPECT_EQ(table.m_nCount, 0);
    EXPECT_EQ(table.m_nTotal, 0);
    EXPECT_EQ(table.m_pRoot->m_pszWord, nullptr);
    EXPECT_TRUE(Ascending(table).empty());
    EXPECT_TRUE(IsConsistent(table));
    EXPECT_EQ(table.Insert("Two"), table.m_pRoot);
    EXPECT_EQ(Ascending(table), (std::vector<Entry>{{"Two", 1}})); // no count left over
}

TEST(WordTableClear, EmptyTableWalksNothing) {
    CStringTree table;
    int visits = 0;
    CStringTree::WalkAscending(table.m_pRoot, [&](const CNode&) { ++visits; });
    CStringTree::WalkDescending(table.m_pRoot, [&](const CNode&) { ++visits; });
    EXPECT_EQ(visits, 0);
    table.Clear();
    table.Clear();
    EXPECT_TRUE(IsConsistent(table));
}

// A sorted word list is the worst order for an unbalanced tree: the table
// must stay shallow, and walking and clearing must not recurse.
class WordTableSortedInput : public ::testing::TestWithParam<bool> {};

TEST_P(WordTableSortedInput, StaysShallowAndWalksInOrder) {
    const bool descending = GetParam();
    constexpr int kWords = 200000;
    CStringTree table;
    char word[16];
    for (int i = 0; i < kWords; ++i) {
        std::snprintf(word, sizeof word, "w%07d", descending ? kWords - 1 - i : i);
        ASSERT_NE(table.Insert(word), nullptr);
    }
    ASSERT_EQ(table.m_nCount, kWords);
    int maxDepth = 0, index = 0;
    bool inOrder = true;
    CStringTree::WalkAscending(table.m_pRoot, [&](const CNode& node) {
        std::snprintf(word, sizeof word, "w%07d", index++);
        inOrder = inOrder && std::string(node.m_pszWord) == word;
        maxDepth = std::max(maxDepth, word_table_checks::Depth(&node));
    });
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(index, kWords);
    EXPECT_LE(maxDepth, 2 * std::log2(kWords + 1.0));
    EXPECT_TRUE(IsConsistent(table));
    table.Clear();
    EXPECT_TRUE(IsConsistent(table));
}

INSTANTIATE_TEST_SUITE_P(Directions, WordTableSortedInput, ::testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "Descending" : "Ascending");
});

// Many case variants of few words, in random order, against a plain map
// keyed by the folded word: same words, same counts, same first texts.
TEST(WordTableRandomized, MatchesAReferenceCount) {
    std::mt19937 random(20261207);
    std::map<std::string, Entry> reference;
    CStringTree table;
    const std::string letters = "aAbBzZ[_\x83";
    for (int round = 0; round < 3; ++round) {
        reference.clear();
        for (int i = 0; i < 50000; ++i) {
            std::string word(1 + random() % 12, ' ');
            for (char& c : word)
                c = letters[random() % letters.size()];
            std::string folded = word;
            for (char& c : folded)
                c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
            auto [it, added] = reference.try_emplace(folded, Entry{word, 0});
            ++it->second.count;
            CNode* node = table.Insert(word.c_str());
            ASSERT_NE(node, nullptr);
            ASSERT_STREQ(node->m_pszWord, it->second.word.c_str());
        }
        std::vector<Entry> expected;
        for (const auto& [folded, entry] : reference)
            expected.push_back(entry);
        std::sort(expected.begin(), expected.end(), [](const Entry& a, const Entry& b) {
            return mbstricmp(a.word.c_str(), b.word.c_str()) < 0;
        });
        EXPECT_EQ(Ascending(table), expected);
        EXPECT_EQ(table.m_nTotal, 50000);
        EXPECT_TRUE(IsConsistent(table));
        table.Clear();
    }
}

} // namespace
