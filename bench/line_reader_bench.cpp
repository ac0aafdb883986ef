// Reading speed of the text-mode line reader against the plainest possible
// loop over the same file (read, find LF, copy), which does none of the
// CR LF and Ctrl-Z work.
#include "platform/line_reader.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kLineBuffer = 5120;

// A 64 MiB file of short CR LF lines, written once per process.
const std::string& Corpus() {
    static const std::string path = [] {
        std::string p = "/tmp/vorlan-line-reader-bench.txt";
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> wordLen(1, 10), words(3, 14);
        std::string text;
        while (text.size() < (64u << 20)) {
            for (int w = words(rng); w > 0; --w) {
                text.append(wordLen(rng), static_cast<char>('a' + rng() % 26));
                text += ' ';
            }
            text += "\r\n";
        }
        FILE* f = std::fopen(p.c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
        return p;
    }();
    return path;
}

void BM_TextLineReader(benchmark::State& state) {
    const std::string& path = Corpus();
    char line[kLineBuffer];
    CTextLineReader reader;
    std::size_t bytes = 0;
    for (auto _ : state) {
        reader.Open(path.c_str());
        std::size_t length;
        while (reader.ReadLine(line, sizeof line, &length))
            bytes += length;
        benchmark::DoNotOptimize(line);
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

void BM_PlainLfLoop(benchmark::State& state) {
    const std::string& path = Corpus();
    char line[kLineBuffer];
    std::vector<char> buf(CTextLineReader::kReadSize);
    std::size_t bytes = 0;
    for (auto _ : state) {
        int fd = ::open(path.c_str(), O_RDONLY);
        ssize_t got;
        while ((got = ::read(fd, buf.data(), buf.size())) > 0) {
            const char* p = buf.data();
            const char* end = p + got;
            while (p < end) {
                const char* lf = static_cast<const char*>(std::memchr(p, '\n', end - p));
                const char* next = lf ? lf + 1 : end;
                std::memcpy(line, p, next - p);
                line[next - p] = '\0';
                bytes += next - p;
                p = next;
            }
        }
        ::close(fd);
        benchmark::DoNotOptimize(line);
    }
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

BENCHMARK(BM_TextLineReader)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_PlainLfLoop)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
