#include "engine/string_tree.h"

#include "word_table_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>

namespace {

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
}

// Only bytes A-Z fold, also inside Shift-JIS characters; long words make the
// folding run over whole eight-byte groups and a tail.
TEST(WordTableInsert, SamenessFollowsCaseInsensitiveByteComparison) {
    const struct {
        const char *a, *b;
        bool same;
    } cases[] = {
        {"Counting", "cOUNTING", true},
        {"\xC4pfel", "\xE4pfel", false},
        {"\xC1\xDA", "\xE1\xFA", false},
        {"\x83\x41", "\x83\x61", true},
        {"[", "{", false},
        {"@", "`", false},
        {"abcdefghIJKLMNOPqrs", "ABCDEFGHijklmnopQRS", true},
        {"abcdefghijklmnopq", "abcdefghijklmnopr", false},
        {"abcdefgh", "abcdefghi", false},
        {"abcdefgh\xC1", "abcdefgh\xE1", false},
    };
    for (const auto& c : cases) {
        CStringTree table;
        table.Insert(c.a);
        table.Insert(c.b);
        EXPECT_EQ(table.m_nCount, c.same ? 1 : 2) << c.a << " / " << c.b;
    }
}

TEST(WordTableOrder, WalksFollowMbstricmpBothWays) {
    CStringTree table;
    for (const char* word : {"b", "Z", "\xE0", "[", "a", "_"})
        table.Insert(word);
    const std::vector<std::string> ascending = {"[", "_", "a", "b", "Z", "\xE0"};
    EXPECT_EQ(AscendingWords(table), ascending);
    std::vector<std::string> descending;
    CStringTree::WalkDescending(table.m_pRoot,
                                [&](const CNode& n) { descending.push_back(n.m_pszWord); });
    EXPECT_TRUE(
        std::equal(descending.begin(), descending.end(), ascending.rbegin(), ascending.rend()));
    // A subtree's walk stays inside it.
    std::vector<std::string> lesser;
    CStringTree::WalkAscending(table.m_pRoot->m_pLesser,
                               [&](const CNode& n) { lesser.push_back(n.m_pszWord); });
    EXPECT_EQ(lesser,
              std::vector<std::string>(ascending.begin(), ascending.begin() + lesser.size()));
    EXPECT_EQ(ascending[lesser.size()], table.m_pRoot->m_pszWord);
}

TEST(WordTableOrder, ReversedWordsWalkInEndingOrder) {
    CStringTree table;
    for (std::string word : {"walked", "talked", "walks"}) {
        std::reverse(word.begin(), word.end());
        table.Insert(word.c_str());
    }
    EXPECT_EQ(AscendingWords(table), (std::vector<std::string>{"deklat", "deklaw", "sklaw"}));
}

TEST(WordTableClear, EmptiesTheTableAndTheNextWordLandsInTheRoot) {
    CStringTree table;
    table.Clear(); // an empty table clears too
    for (const char* word : {"one", "two", "three", "two"})
        table.Insert(word);
    table.Clear();
    EXPECT_EQ(table.m_nCount, 0);
    EXPECT_EQ(table.m_nTotal, 0);
    EXPECT_EQ(table.m_pRoot->m_pszWord, nullptr);
    EXPECT_TRUE(AscendingWords(table).empty());
    EXPECT_EQ(table.Insert("Two"), table.m_pRoot);
    EXPECT_EQ(table.m_pRoot->m_nCount, 1u); // nothing left over from before
    EXPECT_TRUE(IsConsistent(table));
}

// A sorted word list must neither make the tree deep nor recurse.
TEST(WordTableLarge, SortedInputStaysShallowBothWays) {
    constexpr int kWords = 200000;
    for (bool descending : {false, true}) {
        CStringTree table;
        char word[16];
        for (int i = 0; i < kWords; ++i) {
            std::snprintf(word, sizeof word, "w%07d", descending ? kWords - 1 - i : i);
            ASSERT_NE(table.Insert(word), nullptr);
        }
        int index = 0, maxDepth = 0;
        bool inOrder = true;
        CStringTree::WalkAscending(table.m_pRoot, [&](const CNode& node) {
            std::snprintf(word, sizeof word, "w%07d", index++);
            inOrder = inOrder && std::strcmp(node.m_pszWord, word) == 0;
            int depth = 0;
            for (const CNode* n = &node; n->m_pParent; n = n->m_pParent)
                ++depth;
            maxDepth = std::max(maxDepth, depth);
        });
        EXPECT_TRUE(inOrder && index == kWords);
        EXPECT_LE(maxDepth, 2 * std::log2(kWords + 1.0));
        EXPECT_TRUE(IsConsistent(table));
        table.Clear();
    }
}

// Many case variants of few words against a map keyed by the folded word:
// same words in the same order, same counts, same first texts.
TEST(WordTableLarge, MatchesAReferenceCount) {
    std::mt19937 random(20261207);
    const std::string letters = "aAbBzZ[_\x83";
    CStringTree table;
    for (int round = 0; round < 2; ++round) {
        std::map<std::string, std::pair<std::string, std::uint32_t>> reference;
        for (int i = 0; i < 50000; ++i) {
            std::string word(1 + random() % 12, ' '), folded;
            for (char& c : word) {
                c = letters[random() % letters.size()];
                folded += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
            }
            auto& [text, count] = reference.try_emplace(folded, word, 0).first->second;
            ++count;
            ASSERT_STREQ(table.Insert(word.c_str())->m_pszWord, text.c_str());
        }
        std::vector<std::pair<std::string, std::uint32_t>> expected, actual;
        for (const auto& entry : reference)
            expected.push_back(entry.second);
        std::sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
            return mbstricmp(a.first.c_str(), b.first.c_str()) < 0;
        });
        CStringTree::WalkAscending(
            table.m_pRoot, [&](const CNode& n) { actual.emplace_back(n.m_pszWord, n.m_nCount); });
        EXPECT_EQ(actual, expected);
        EXPECT_TRUE(IsConsistent(table));
        table.Clear();
    }
}

// Words of the tree (Insert) and of the counting paths are one table:
// repeats in another letter case find either kind, before and after the
// counted words are settled into the tree.
TEST(WordTableSettle, MergesCountedWordsWithThoseInTheTree) {
    constexpr int kWords = 20000;
    std::vector<std::string> words;
    char word[16];
    for (int i = 0; i < kWords; ++i) {
        std::snprintf(word, sizeof word, "w%05d", i);
        words.push_back(word);
    }
    std::vector<std::string> counted = words;
    std::shuffle(counted.begin(), counted.end(), std::mt19937(5));
    CStringTree table;
    for (int i = 0; i < kWords; ++i) {
        if (i < kWords / 4)
            ASSERT_NE(table.Insert(counted[i].c_str()), nullptr);
        else
            ASSERT_TRUE(table.InsertRepeated(counted[i].c_str(), 1));
    }
    for (int i = 0; i < kWords; i += 7) {
        std::string upper = words[i];
        upper[0] = 'W';
        ASSERT_TRUE(table.InsertRepeated(upper.c_str(), 2));
    }
    EXPECT_EQ(table.m_nCount, kWords);
    ASSERT_TRUE(IsConsistent(table));
    EXPECT_EQ(AscendingWords(table), words);
    int maxDepth = 0;
    CStringTree::WalkAscending(table.m_pRoot, [&](const CNode& node) {
        int depth = 0;
        for (const CNode* n = &node; n->m_pParent; n = n->m_pParent)
            ++depth;
        maxDepth = std::max(maxDepth, depth);
        EXPECT_EQ(node.m_nCount, std::atoi(node.m_pszWord + 1) % 7 == 0 ? 3u : 1u);
    });
    EXPECT_LE(maxDepth, 2 * std::log2(kWords + 1.0));
    EXPECT_EQ(table.Insert("W00007")->m_nCount, 4u);
    EXPECT_EQ(table.m_nCount, kWords);
}

} // namespace
