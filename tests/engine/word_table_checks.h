// Checks of everything the word table promises, shared by its test suites.
#ifndef VORLAN_TESTS_ENGINE_WORD_TABLE_CHECKS_H
#define VORLAN_TESTS_ENGINE_WORD_TABLE_CHECKS_H

#include "engine/string_tree.h"

#include "tesmo.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace word_table_checks {

struct Entry {
    std::string word;
    std::uint32_t count;
    bool operator==(const Entry&) const = default;
};

inline std::vector<Entry> Ascending(const CStringTree& table) {
    std::vector<Entry> entries;
    CStringTree::WalkAscending(table.m_pRoot, [&](const CNode& node) {
        entries.push_back({node.m_pszWord, node.m_nCount});
    });
    return entries;
}

inline std::vector<std::string> AscendingWords(const CStringTree& table) {
    std::vector<std::string> words;
    for (const Entry& e : Ascending(table))
        words.push_back(e.word);
    return words;
}

inline int Depth(const CNode* node) {
    int depth = 0;
    for (; node->m_pParent; node = node->m_pParent)
        ++depth;
    return depth;
}

inline int BlackHeight(const CNode* node) {
    int height = 0;
    for (; node; node = node->m_pParent)
        height += node->m_bRed ? 0 : 1;
    return height;
}

// Order, links, red-black balance and counters, without recursion.
inline ::testing::AssertionResult IsConsistent(const CStringTree& table) {
    const CNode* root = table.m_pRoot;
    if (!root || root->m_pParent || root->m_bRed)
        return ::testing::AssertionFailure() << "bad root";
    if (!root->m_pszWord) {
        if (root->m_pLesser || root->m_pGreater || table.m_nCount != 0)
            return ::testing::AssertionFailure() << "a root without a word must be alone";
        return ::testing::AssertionSuccess();
    }
    std::int64_t nodes = 0;
    std::uint32_t sum = 0;
    int blackHeight = -1;
    const CNode* previous = nullptr;
    std::string problem;
    CStringTree::WalkAscending(root, [&](const CNode& node) {
        ++nodes;
        sum += node.m_nCount;
        if (!problem.empty())
            return;
        if (!node.m_pszWord || node.m_nCount == 0)
            problem = "a node without a word or count";
        else if (previous && mbstricmp(previous->m_pszWord, node.m_pszWord) >= 0)
            problem = std::string("out of order: ") + previous->m_pszWord + " / " + node.m_pszWord;
        for (const CNode* child : {node.m_pLesser, node.m_pGreater}) {
            if (child && child->m_pParent != &node)
                problem = "a child does not point back to its parent";
            if (child && child->m_bRed && node.m_bRed)
                problem = "a red node with a red child";
        }
        if (!node.m_pLesser || !node.m_pGreater) {
            const int height = BlackHeight(&node);
            if (blackHeight < 0)
                blackHeight = height;
            else if (height != blackHeight)
                problem = "unequal black heights";
        }
        previous = &node;
    });
    if (!problem.empty())
        return ::testing::AssertionFailure() << problem;
    if (nodes != table.m_nCount)
        return ::testing::AssertionFailure()
               << nodes << " nodes hold words but m_nCount is " << table.m_nCount;
    if (sum != static_cast<std::uint32_t>(table.m_nTotal))
        return ::testing::AssertionFailure()
               << "counts add up to " << sum << " but m_nTotal is " << table.m_nTotal;
    return ::testing::AssertionSuccess();
}

} // namespace word_table_checks

#endif
