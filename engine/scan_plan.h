// How a file list is cut into parts that can be counted at the same time:
// each file is a part, and a large file is cut into several, each starting
// where a line starts, so that counting the parts one after the other reads
// exactly what reading the whole file would.
#ifndef VORLAN_ENGINE_SCAN_PLAN_H
#define VORLAN_ENGINE_SCAN_PLAN_H

#include "platform/fd.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// How many threads a count may use, and from what size it pays.
struct ScanThreads {
    unsigned nThreads = 1;
    // A list of regular files smaller than this in all is counted on one thread.
    std::uint64_t nMinListBytes = 2u << 20;
    // Parts are about the list's size divided by the threads, and no
    // smaller than this: only a file of more than twice this size is cut.
    std::uint64_t nMinPartBytes = 8u << 20;

    // The threads of this machine, or the number VORLAN_THREADS gives (1
    // counts on the calling thread alone, as every count did before).
    static ScanThreads ForThisMachine();
};

struct ScanPart {
    std::size_t nFile = 0;    // index in the list
    std::uint64_t nBegin = 0; // byte offsets in the file; nEnd is past the end
    std::uint64_t nEnd = UINT64_MAX;
    std::uint64_t nBytes = 0; // as measured when the list was cut
    bool bFirst = true;       // the file's first part (the one that opens it)
    bool bLast = true;
    // The plan's descriptor of a file cut into several parts, which all of
    // them read, so that they read one file even when another is renamed
    // over its name meanwhile; -1 for a file of one part, which opens it by
    // name when its turn comes.
    int nFd = -1;
};

// The parts, and the descriptors they share; these stay open as long as the
// plan.
struct CScanPlan {
    std::vector<ScanPart> parts;
    std::vector<CFd> fds;
};

// The parts of the files of the list whose flag in counted is set, in list
// order, given the sizes the files measured (0: gone, not regular, of unknown
// size; such a file is one part, which fails or reads it whole). No parts when
// the list is too small to be worth more than one thread.
CScanPlan PlanScanParts(const std::vector<std::string>& files, const std::vector<bool>& counted,
                        const std::vector<std::uint64_t>& sizes, const ScanThreads& threads);

// The offset just past the first line feed at or after from in the open file
// fd of size bytes, or size when there is none.
std::uint64_t NextLineStart(int fd, std::uint64_t from, std::uint64_t size);

#endif
