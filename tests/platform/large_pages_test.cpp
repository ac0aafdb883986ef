// The restart that backs the heap with huge pages: it happens once, keeps
// the arguments, and never overrides settings someone else chose.
#include "platform/large_pages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool SystemGrantsOnRequest() {
    std::ifstream in("/sys/kernel/mm/transparent_hugepage/enabled");
    std::string mode;
    std::getline(in, mode);
    return mode.find("[madvise]") != std::string::npos;
}

// Run in the restarted process only: tells the parent what it was started
// with.
TEST(LargePagesRestarted, ReportsItsEnvironment) {
    if (!std::getenv("VORLAN_LARGE_PAGES_PROBE"))
        GTEST_SKIP() << "only run by the restart test";
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    std::printf("restarted with [%s] [%s]\n", tunables ? tunables : "",
                std::getenv("VORLAN_LARGE_PAGES") ? "guard" : "");
}

// Runs RestartWithLargePageHeap in a child whose environment lacks the
// library's settings; returns what the child printed.
std::string RestartInChild(const char* presetTunables, bool limitMemory = false) {
    int out[2];
    EXPECT_EQ(::pipe(out), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::unsetenv("VORLAN_LARGE_PAGES");
        if (presetTunables)
            ::setenv("GLIBC_TUNABLES", presetTunables, 1);
        else
            ::unsetenv("GLIBC_TUNABLES");
        ::setenv("VORLAN_LARGE_PAGES_PROBE", "1", 1);
        if (limitMemory) {
            struct rlimit limit {
                std::size_t{1} << 40, std::size_t{1} << 40
            };
            ::setrlimit(RLIMIT_AS, &limit);
        }
        char self[] = "large_pages_test";
        char filter[] = "--gtest_filter=LargePagesRestarted.*";
        char* argv[] = {self, filter, nullptr};
        RestartWithLargePageHeap(argv);
        std::printf("not restarted\n");
        std::fflush(stdout);
        ::_exit(0);
    }
    ::close(out[1]);
    std::string text;
    char buf[512];
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;)
        text.append(buf, static_cast<std::size_t>(n));
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << text;
    return text;
}

TEST(LargePages, RestartsOnceWithTheHeapSettingsAndTheSameArguments) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "no restart under the address sanitizer";
#endif
    const std::string text = RestartInChild(nullptr);
    if (!SystemGrantsOnRequest()) {
        EXPECT_NE(text.find("not restarted"), std::string::npos) << text;
        return;
    }
    // The filter argument reached the restarted program: only that test ran.
    EXPECT_NE(text.find("restarted with [glibc.malloc.hugetlb=1"), std::string::npos) << text;
    EXPECT_NE(text.find("[guard]"), std::string::npos) << text;
    EXPECT_EQ(text.find("not restarted"), std::string::npos) << text;
}

TEST(LargePages, SettingsChosenElsewhereAndMemoryLimitsAreLeftAlone) {
    for (bool limited : {false, true}) {
        const std::string text =
            RestartInChild(limited ? nullptr : "glibc.malloc.arena_max=2", limited);
        EXPECT_NE(text.find("not restarted"), std::string::npos) << text;
        EXPECT_EQ(text.find("restarted with"), std::string::npos) << text;
    }
}

} // namespace
