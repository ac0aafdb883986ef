// The word table under its worst and its ordinary load: a million distinct
// words in sorted order (a word list), and every word of a real text.
#include "engine/ex_string_list.h"
#include "engine/string_tree.h"

#include "tesmo.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
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

// The words of a text as the scan would take them (strword over each line),
// stored one after the other, each ending in its NUL.
struct Corpus {
    std::string text;
    std::vector<std::size_t> starts;
};

Corpus LoadCorpus(const char* path) {
    Corpus corpus;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        if (line.empty())
            continue;
        for (char* word = strword(line.data()); word; word = strword(nullptr)) {
            if (*word) {
                corpus.starts.push_back(corpus.text.size());
                corpus.text.append(word).push_back('\0');
            }
        }
    }
    return corpus;
}

void BM_InsertCorpus(benchmark::State& state) {
    static const Corpus corpus = LoadCorpus(VORLAN_SOURCE_DIR "/bench/corpora/kjv10.txt");
    if (corpus.starts.empty()) {
        state.SkipWithError("bench/corpora/kjv10.txt is absent: run bench/make_corpora.sh");
        return;
    }
    CStringTree table;
    for (auto _ : state) {
        for (std::size_t start : corpus.starts)
            table.Insert(corpus.text.data() + start);
        state.counters["distinct"] = table.m_nCount;
        table.Clear();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(corpus.starts.size()));
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
