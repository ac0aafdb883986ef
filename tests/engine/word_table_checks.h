// What the word table promises, checked without recursion: order by
// mbstricmp, parent links, red-black balance, counters matching the nodes.
#ifndef VORLAN_TESTS_ENGINE_WORD_TABLE_CHECKS_H
#define VORLAN_TESTS_ENGINE_WORD_TABLE_CHECKS_H

#include "engine/string_tree.h"

#include "tesmo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

inline std::vector<std::string> AscendingWords(const CStringTree& table) {
    std::vector<std::string> words;
    table.Settle();
    CStringTree::WalkAscending(table.m_pRoot,
                               [&](const CNode& n) { words.push_back(n.m_pszWord); });
    return words;
}

inline ::testing::AssertionResult IsConsistent(const CStringTree& table) {
    table.Settle(); // words the counting paths left waiting are placed first
    const CNode* root = table.m_pRoot;
    if (root->m_pParent || root->m_bRed ||
        (!root->m_pszWord && (root->m_pLesser || root->m_pGreater)))
        return ::testing::AssertionFailure() << "bad root";
    long nodes = 0, blackHeight = -1;
    std::uint32_t sum = 0;
    const CNode* previous = nullptr;
    const char* problem = nullptr;
    CStringTree::WalkAscending(root, [&](const CNode& node) {
        ++nodes;
        sum += node.m_nCount;
        if (previous && mbstricmp(previous->m_pszWord, node.m_pszWord) >= 0)
            problem = "out of order";
        for (const CNode* child : {node.m_pLesser, node.m_pGreater}) {
            if (child && (child->m_pParent != &node || (child->m_bRed && node.m_bRed)))
                problem = "bad parent link or two reds in a row";
        }
        long height = 0;
        for (const CNode* n = &node; n; n = n->m_pParent)
            height += n->m_bRed ? 0 : 1;
        if ((!node.m_pLesser || !node.m_pGreater) && blackHeight >= 0 && height != blackHeight)
            problem = "unequal black heights";
        if (!node.m_pLesser || !node.m_pGreater)
            blackHeight = height;
        previous = &node;
    });
    if (problem)
        return ::testing::AssertionFailure() << problem;
    if (nodes != table.m_nCount || sum != static_cast<std::uint32_t>(table.m_nTotal))
        return ::testing::AssertionFailure()
               << nodes << " words counted " << sum << " times, table says " << table.m_nCount
               << " and " << table.m_nTotal;
    return ::testing::AssertionSuccess();
}

#endif
