// Puts the nodes of the word table in mbstricmp order in one go: a radix
// sort on the first eight folded bytes of each word, which decide almost
// every pair, and the exact comparison for the words that share them.
#ifndef VORLAN_ENGINE_NODE_SORT_H
#define VORLAN_ENGINE_NODE_SORT_H

#include <vector>

class CNode;

// Orders nodes ascending by their words. False, with nodes as they were,
// when the memory to sort in cannot be had. No two nodes may hold equal
// words.
bool SortNodes(std::vector<CNode*>& nodes) noexcept;

#endif
