// strword over a large English corpus, prepared line by line as the counter
// prepares it. The corpus comes from bench/make_corpora.sh.
#include "tesmo.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMaxLine = 5119; // the counter's line buffer holds 5,119 bytes

// Every non-empty line as the counter hands it over: at most kMaxLine bytes,
// the line feed and trailing spaces removed; stored one after the other, each
// NUL-terminated.
struct Lines {
    std::vector<char> text;
    std::vector<std::size_t> starts;
    std::size_t bytes = 0; // line bytes, terminators not included
};

Lines SplitLines(const std::string& data) {
    Lines lines;
    lines.text.reserve(data.size() + data.size() / 16);
    for (std::size_t pos = 0; pos < data.size();) {
        std::size_t end = std::min(data.size(), pos + kMaxLine);
        if (const void* lf = std::memchr(data.data() + pos, '\n', end - pos))
            end = static_cast<std::size_t>(static_cast<const char*>(lf) - data.data()) + 1;
        std::size_t len = end - pos;
        if (len > 0 && data[pos + len - 1] == '\n')
            --len;
        while (len > 0 && data[pos + len - 1] == ' ')
            --len;
        if (len > 0) {
            lines.starts.push_back(lines.text.size());
            lines.text.insert(lines.text.end(), data.begin() + pos, data.begin() + pos + len);
            lines.text.push_back('\0');
            lines.bytes += len;
        }
        pos = end;
    }
    return lines;
}

const Lines* Corpus() {
    static const Lines* lines = [] {
        std::ifstream in(VORLAN_SOURCE_DIR "/bench/corpora/kjv10.txt", std::ios::binary);
        if (!in)
            return static_cast<Lines*>(nullptr);
        const std::string data{std::istreambuf_iterator<char>(in), {}};
        return new Lines(SplitLines(data));
    }();
    return lines;
}

void BM_StrwordKjv(benchmark::State& state) {
    const Lines* corpus = Corpus();
    if (!corpus) {
        state.SkipWithError("bench/corpora/kjv10.txt missing: run bench/make_corpora.sh");
        return;
    }
    std::vector<char> work(corpus->text.size());
    long words = 0;
    for (auto _ : state) {
        state.PauseTiming(); // strword writes into the lines: start each pass afresh
        std::memcpy(work.data(), corpus->text.data(), work.size());
        state.ResumeTiming();
        long count = 0; // a local the library cannot see stays in a register
        for (const std::size_t start : corpus->starts)
            for (char* w = strword(work.data() + start); w; w = strword(nullptr))
                count += *w != '\0';
        words = count;
        benchmark::DoNotOptimize(words);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * corpus->bytes));
    state.counters["words"] = static_cast<double>(words);
}
BENCHMARK(BM_StrwordKjv)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
