#include "platform/large_pages.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <gnu/libc-version.h>
#include <initializer_list>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr const char* kTunables = "GLIBC_TUNABLES";
// Huge pages for the heap, and the heap grown 64 MiB at a time so that they
// can be whole; memory that is never touched is never resident.
constexpr const char* kSettings = "glibc.malloc.hugetlb=1:glibc.malloc.top_pad=67108864";
// Set on the restarted process, so that it never restarts again.
constexpr const char* kRestarted = "VORLAN_LARGE_PAGES";

// The system gives huge pages to memory that asks for them ("madvise"); with
// "always" it does so anyway, and with "never" asking is no use.
bool SystemGrantsOnRequest() {
    std::FILE* f = std::fopen("/sys/kernel/mm/transparent_hugepage/enabled", "r");
    if (!f)
        return false;
    char mode[128] = {};
    const bool read = std::fgets(mode, sizeof mode, f) != nullptr;
    std::fclose(f);
    return read && std::strstr(mode, "[madvise]") != nullptr;
}

// A process held to a memory limit keeps its heap as small as it can: the
// heap grown in large steps would reach the limit long before the data does.
bool MemoryIsLimited() {
    struct rlimit limit;
    for (int resource : {RLIMIT_AS, RLIMIT_DATA}) {
        if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur != RLIM_INFINITY)
            return true;
    }
    return false;
}

// The setting exists from release 2.35 of the C library on.
bool LibraryKnowsTheSetting() {
    int major = 0, minor = 0;
    return std::sscanf(gnu_get_libc_version(), "%d.%d", &major, &minor) == 2 &&
           (major > 2 || (major == 2 && minor >= 35));
}

} // namespace

void RestartWithLargePageHeap(char** argv) {
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer brings an allocator of its own: nothing to gain.
    (void)argv;
    return;
#endif
    if (std::getenv(kTunables) || std::getenv(kRestarted))
        return;
    if (!SystemGrantsOnRequest() || !LibraryKnowsTheSetting() || MemoryIsLimited())
        return;
    if (::setenv(kTunables, kSettings, 1) != 0 || ::setenv(kRestarted, "1", 1) != 0)
        return;
    ::execv("/proc/self/exe", argv);
    // Could not start over: go on as we are, and leave the environment as it
    // was for the programs this one starts.
    ::unsetenv(kTunables);
    ::unsetenv(kRestarted);
}

void ReturnFreeHeapMemory() noexcept {
#ifdef __GLIBC__
    ::malloc_trim(0);
#endif
}
