#include "engine/scan_plan.h"

#include "platform/file_io.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <thread>

ScanThreads ScanThreads::ForThisMachine() {
    ScanThreads threads;
    unsigned n = std::thread::hardware_concurrency();
    if (const char* env = std::getenv("VORLAN_THREADS"); env && *env) {
        char* end = nullptr;
        const long v = std::strtol(env, &end, 10);
        if (*end == '\0' && v > 0)
            n = static_cast<unsigned>(std::min(v, 64L));
    }
    threads.nThreads = std::clamp(n, 1u, 64u);
    return threads;
}

std::uint64_t NextLineStart(int fd, std::uint64_t from, std::uint64_t size) {
    char piece[16384];
    while (from < size) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(sizeof piece, size - from));
        std::error_code ec;
        const std::size_t got = ReadAt(fd, piece, want, from, ec);
        if (got == 0)
            return size;
        if (const void* lf = std::memchr(piece, '\n', got))
            return from + static_cast<std::uint64_t>(static_cast<const char*>(lf) - piece) + 1;
        from += got;
    }
    return size;
}

namespace {

// Appends the parts of one file of size bytes, cut near multiples of
// partBytes where lines start. A file that is cut is opened here, once, and
// cut as the file it then is.
void AppendFileParts(CScanPlan& plan, std::size_t nFile, const std::string& path,
                     std::uint64_t size, std::uint64_t partBytes) {
    std::error_code ec;
    CFd fd = size / partBytes >= 2 ? OpenForReading(path.c_str(), ec) : CFd();
    if (fd.Get() >= 0)
        size = RegularFileSize(fd.Get()).value_or(0);
    const std::uint64_t count = size / partBytes;
    std::uint64_t begin = 0;
    if (count >= 2) {
        const std::uint64_t step = size / count;
        for (std::uint64_t k = 1; k < count; ++k) {
            const std::uint64_t cut = NextLineStart(fd.Get(), std::max(begin, k * step) - 1, size);
            if (cut >= size)
                break;
            if (cut <= begin)
                continue;
            plan.parts.push_back({nFile, begin, cut, cut - begin, begin == 0, false, fd.Get()});
            begin = cut;
        }
    }
    const int shared = begin > 0 ? fd.Get() : -1;
    plan.parts.push_back({nFile, begin, UINT64_MAX, size - begin, begin == 0, true, shared});
    if (shared >= 0)
        plan.fds.push_back(std::move(fd));
}

} // namespace

CScanPlan PlanScanParts(const std::vector<std::string>& files, const std::vector<bool>& counted,
                        const std::vector<std::uint64_t>& sizes, const ScanThreads& threads) {
    CScanPlan plan;
    if (threads.nThreads < 2)
        return plan;
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (counted[i])
            total += sizes[i];
    }
    if (total < threads.nMinListBytes)
        return plan;
    const std::uint64_t partBytes =
        std::max<std::uint64_t>(threads.nMinPartBytes, total / threads.nThreads);
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (counted[i])
            AppendFileParts(plan, i, files[i], sizes[i], partBytes);
    }
    if (plan.parts.size() < 2)
        plan = {};
    return plan;
}
