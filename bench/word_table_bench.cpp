// The word table under its worst and its ordinary load: a million distinct
// words in sorted order (a word list), and every word of a real text.
#include "engine/ex_string_list.h"
#include "engine/string_tree.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kMillion = 1000000;

const std::vector<std::string>& SortedWords() {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> v;
        v.reserve(kMillion);
        char word[16];
        for (int i = 0; i < kMillion; ++i) {
            std::snprintf(word, sizeof word, "w%07d", i);
            v.emplace_back(word);
        }
        return v;
    }();
    return words;
}

// Insert, walk and clear, as one count run does with its table.
void InsertWalkClear(benchmark::State& state, bool descending) {
    const std::vector<std::string>& words = SortedWords();
    CStringTree table;
    for (auto _ : state) {
        if (descending) {
            for (auto it = words.rbegin(); it != words.rend(); ++it)
                table.Insert(it->c_str());
        } else {
            for (const std::string& word : words)
                table.Insert(word.c_str());
        }
        std::uint64_t sum = 0;
        CStringTree::WalkAscending(table.m_pRoot, [&](const CNode& n) { sum += n.m_nCount; });
        benchmark::DoNotOptimize(sum);
        table.Clear();
    }
    state.SetItemsProcessed(state.iterations() * kMillion);
}

void BM_MillionDistinctAscending(benchmark::State& state) {
    InsertWalkClear(state, false);
}
void BM_MillionDistinctDescending(benchmark::State& state) {
    InsertWalkClear(state, true);
}

BENCHMARK(BM_MillionDistinctAscending)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(BM_MillionDistinctDescending)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// The text split at every byte that is not a letter; a stand-in for the
// tokenizer that keeps the table's share of the work in view.
std::vector<std::string> CorpusWords(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> words;
    if (!in)
        return words;
    std::ostringstream text;
    text << in.rdbuf();
    std::string word;
    for (char c : text.str()) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (letter) {
            word += c;
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

void BM_InsertCorpus(benchmark::State& state) {
    static const std::vector<std::string> words =
        CorpusWords(VORLAN_SOURCE_DIR "/bench/corpora/kjv10.txt");
    if (words.empty()) {
        state.SkipWithError("bench/corpora/kjv10.txt is absent: run bench/make_corpora.sh");
        return;
    }
    CStringTree table;
    for (auto _ : state) {
        for (const std::string& word : words)
            table.Insert(word.c_str());
        state.counters["distinct"] = table.m_nCount;
        table.Clear();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(words.size()));
}

BENCHMARK(BM_InsertCorpus)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// The report of a million distinct words: written, then ordered by count.
void BM_WriteAndSortMillion(benchmark::State& state) {
    const std::vector<std::string>& words = SortedWords();
    CStringTree table;
    for (int i = 0; i < kMillion; ++i) {
        for (int repeat = i % 7; repeat >= 0; --repeat)
            table.Insert(words[static_cast<std::size_t>(i)].c_str());
    }
    for (auto _ : state) {
        CExStringList list;
        table.WriteDescending(list, table.m_pRoot);
        list.SortByCount(10, CExStringList::MoreToLess);
        benchmark::DoNotOptimize(list.m_pHead);
    }
    state.SetItemsProcessed(state.iterations() * kMillion);
}

BENCHMARK(BM_WriteAndSortMillion)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly();

} // namespace

BENCHMARK_MAIN();
