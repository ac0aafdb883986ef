// Running out of memory in the middle of a count: every allocation the word
// table makes is failed in turn, and the table must come out consistent,
// usable and destructible each time.
#include "engine/string_tree.h"

#include "word_table_checks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

// The replacements below pair malloc with free on purpose; GCC cannot see
// that operator new and operator delete are replaced together.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
// Counts down while armed; the allocation that finds it at 0 fails.
long g_allocationsBeforeFailure = -1;
bool g_failed = false;
} // namespace

void* operator new(std::size_t size) {
    if (g_allocationsBeforeFailure >= 0 && g_allocationsBeforeFailure-- == 0) {
        g_failed = true;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
// The array forms too: a sanitizer runtime would not route them through
// the replaced operator new.
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

using word_table_checks::IsConsistent;

class FailingAllocation {
  public:
    explicit FailingAllocation(long after) {
        g_failed = false;
        g_allocationsBeforeFailure = after;
    }
    ~FailingAllocation() { g_allocationsBeforeFailure = -1; }
};

// Enough new words to need a larger index, new node blocks and new text
// chunks, with repeats in between that must never fail.
std::vector<std::string> Batch() {
    std::vector<std::string> words;
    for (int i = 0; i < 3000; ++i) {
        words.push_back("word" + std::to_string(i) + std::string(i % 40, 'x'));
        words.push_back("WORD" + std::to_string(i / 2) + std::string((i / 2) % 40, 'X'));
    }
    return words;
}

TEST(WordTableOutOfMemory, EveryFailedAllocationLeavesTheTableConsistent) {
    const std::vector<std::string> words = Batch();
    bool failureSeen = true;
    long after = 0;
    for (; failureSeen; ++after) {
        CStringTree table;
        table.Insert("before");
        std::vector<std::string> refused;
        {
            FailingAllocation failing(after);
            for (const std::string& word : words) {
                if (!table.Insert(word.c_str()))
                    refused.push_back(word);
            }
            failureSeen = g_failed;
        }
        SCOPED_TRACE("failing allocation " + std::to_string(after));
        ASSERT_TRUE(IsConsistent(table));
        ASSERT_EQ(refused.empty(), !failureSeen);
        // A refused word was not counted.
        const std::int32_t before = table.m_nTotal;
        ASSERT_EQ(before + static_cast<std::int32_t>(refused.size()),
                  static_cast<std::int32_t>(words.size()) + 1);
        // The table goes on working once memory is back.
        for (const std::string& word : refused)
            ASSERT_NE(table.Insert(word.c_str()), nullptr);
        ASSERT_TRUE(IsConsistent(table));
        ASSERT_EQ(table.m_nCount, 3001);
        table.Clear();
        ASSERT_TRUE(IsConsistent(table));
    }
    // Index growth, node blocks and text chunks: each failed at least once.
    EXPECT_GE(after, 15);
}

TEST(WordTableOutOfMemory, ConstructionFailsWithBadAlloc) {
    FailingAllocation failing(0);
    EXPECT_THROW(CStringTree table, std::bad_alloc);
}

TEST(WordTableOutOfMemory, ClearNeedsNoMemory) {
    CStringTree table;
    for (int i = 0; i < 100; ++i)
        table.Insert(std::to_string(i).c_str());
    {
        FailingAllocation failing(0);
        table.Clear();
        EXPECT_FALSE(g_failed);
        EXPECT_EQ(table.Insert("x"), nullptr); // a first word needs memory again
    }
    EXPECT_TRUE(IsConsistent(table));
    EXPECT_EQ(table.Insert("x"), table.m_pRoot);
}

} // namespace
