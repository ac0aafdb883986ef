// Running out of memory in the middle of a count: each allocation the word
// table makes is failed in turn; the table must stay consistent, usable and
// destructible every time.
#include "engine/string_tree.h"

#include "word_table_checks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

// These replacements pair malloc with free on purpose.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
long g_allocationsBeforeFailure = -1; // counts down while armed
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
// The array forms too: a sanitizer runtime would not route them through the
// replaced operator new.
void* operator new[](std::size_t size) {
    return operator new(size);
}
// And the forms that return null instead of throwing (the tallies and the
// sort use them), which fail in turn like the others.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return operator new(size, std::nothrow);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

struct FailingAllocation {
    explicit FailingAllocation(long after) {
        g_failed = false;
        g_allocationsBeforeFailure = after;
    }
    ~FailingAllocation() { g_allocationsBeforeFailure = -1; }
};

TEST(WordTableOutOfMemory, EveryFailedAllocationLeavesTheTableConsistent) {
    // New words enough to grow the index, the node blocks and the text
    // chunks, with repeats in between.
    std::vector<std::string> words;
    for (int i = 0; i < 3000; ++i) {
        words.push_back("word" + std::to_string(i) + std::string(i % 40, 'x'));
        words.push_back("WORD" + std::to_string(i / 2) + std::string(i / 2 % 40, 'X'));
    }
    long after = 0;
    for (bool failureSeen = true; failureSeen; ++after) {
        SCOPED_TRACE("failing allocation " + std::to_string(after));
        CStringTree table;
        std::vector<std::string> refused;
        {
            FailingAllocation failing(after);
            for (const std::string& word : words) {
                if (!table.Insert(word.c_str()))
                    refused.push_back(word);
            }
            failureSeen = g_failed;
        }
        ASSERT_TRUE(IsConsistent(table));
        ASSERT_EQ(refused.empty(), !failureSeen);
        ASSERT_EQ(table.m_nTotal + refused.size(), words.size()); // refused means not counted
        for (const std::string& word : refused)
            ASSERT_NE(table.Insert(word.c_str()), nullptr); // and the table still works
        ASSERT_EQ(table.m_nCount, 3000);
        ASSERT_TRUE(IsConsistent(table));
    }
    EXPECT_GE(after, 15); // index, node blocks and text chunks all failed once
}

TEST(WordTableOutOfMemory, ClearNeedsNoMemory) {
    CStringTree table;
    for (int i = 0; i < 100; ++i)
        table.Insert(std::to_string(i).c_str());
    {
        FailingAllocation failing(0);
        table.Clear();
        EXPECT_FALSE(g_failed);
        EXPECT_EQ(table.Insert("x"), nullptr);
    }
    EXPECT_TRUE(IsConsistent(table));
    EXPECT_EQ(table.Insert("x"), table.m_pRoot);
}

// Settling needs memory for the nodes and for the sort: whichever fails,
// every word stays counted, and settles once memory is back.
TEST(WordTableOutOfMemory, SettlingWithoutMemoryLosesNoWord) {
    bool failureSeen = true;
    for (long after = 0; failureSeen; ++after) {
        SCOPED_TRACE("failing allocation " + std::to_string(after));
        CStringTree table;
        for (int i = 0; i < 3000; ++i) {
            const std::string word = std::to_string(i * 7919 % 3000) + "w";
            ASSERT_TRUE(table.InsertRepeated(word.c_str(), 2));
        }
        {
            FailingAllocation failing(after);
            table.Settle();
            failureSeen = g_failed;
        }
        ASSERT_TRUE(IsConsistent(table));
        ASSERT_EQ(AscendingWords(table).size(), 3000u);
        ASSERT_EQ(table.m_nTotal, 6000);
    }
}

} // namespace
