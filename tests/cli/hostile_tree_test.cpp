// vorlan-count against trees and profiles that fight back: links that loop,
// special files, names that are not UTF-8, unreadable folders, broken
// profiles, and a large input that must not make the counter large.
#include "expected_report.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <string>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

// Generous enough for a loaded machine and the sanitizers; a count that
// blocks or loops runs into it instead of hanging the suite.
constexpr int kTimeoutSeconds = 60;
constexpr uid_t kNobody = 65534;

struct RunResult {
    int status = -1;
    bool timedOut = false;
    long peakKb = 0; // the child's peak resident set
    std::string out;
    std::string err;
};

struct RunOptions {
    std::vector<std::string> env;
    bool asNobody = false;  // only when running as root
    bool appendOut = false; // standard output appends to what the file holds
    rlim_t addressSpace = RLIM_INFINITY;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Upper-cases a to z; the two bytes of a Shift-JIS character are left alone,
// whatever the code page.
std::string Upper(const std::string& text) {
    std::string out = text;
    for (std::size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (IsLeadByte(c) && i + 1 < out.size())
            ++i;
        else if (c >= 'a' && c <= 'z')
            out[i] = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

// Watches files for being opened or read; inotify queues the events as they
// happen, so once the child has ended they are all there to be read.
class COpenWatch {
  public:
    COpenWatch() : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}
    ~COpenWatch() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    COpenWatch(const COpenWatch&) = delete;
    COpenWatch& operator=(const COpenWatch&) = delete;

    void Add(const fs::path& path) {
        ASSERT_GE(::inotify_add_watch(m_fd, path.c_str(), IN_OPEN | IN_ACCESS), 0) << path;
    }
    bool SawAccess() {
        alignas(inotify_event) char buffer[4096];
        return ::read(m_fd, buffer, sizeof buffer) > 0;
    }

  private:
    int m_fd;
};

class HostileTree : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "vorlan-hostile-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = fs::canonical(pattern);
        // Readable by the unprivileged user some tests run the program as.
        fs::permissions(root, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
        data = root / "data";
        fs::create_directories(data);
        profile = root / "profile.ini";
        Write(profile, "[Sort]\nabc=1\n");
    }
    void TearDown() override {
        std::error_code ec;
        // Closed folders are opened again so that they can be removed.
        for (auto it = fs::recursive_directory_iterator(root, ec);
             !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
            if (it->is_directory(ec) && !it->is_symlink(ec))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(root, ec);
    }

    static void Write(const fs::path& path, const std::string& bytes) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    RunResult Run(std::vector<std::string> args, RunOptions options = {}) {
        std::string program = std::string(VORLAN_BINARY_DIR) + "/bin/vorlan-count";
        fs::path outFile = root / "stdout", errFile = root / "stderr";
        pid_t pid = ::fork();
        if (pid == 0) {
            FILE* out = std::freopen(outFile.c_str(), options.appendOut ? "ab" : "wb", stdout);
            FILE* err = std::freopen(errFile.c_str(), "wb", stderr);
            if (!out || !err)
                ::_exit(127);
            for (std::string& e : options.env)
                ::putenv(e.data());
            if (options.asNobody &&
                (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
                ::_exit(126);
            const struct rlimit limit { options.addressSpace, options.addressSpace };
            if (options.addressSpace != RLIM_INFINITY && ::setrlimit(RLIMIT_AS, &limit) != 0)
                ::_exit(125);
            std::vector<char*> argv{program.data()};
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        RunResult result;
        int status = 0;
        struct rusage usage {};
        for (int waited = 0;; ++waited) {
            pid_t done = ::wait4(pid, &status, WNOHANG, &usage);
            if (done == pid)
                break;
            if (waited >= kTimeoutSeconds * 100) {
                ::kill(pid, SIGKILL);
                ::wait4(pid, &status, 0, &usage);
                result.timedOut = true;
                break;
            }
            ::usleep(10000);
        }
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.peakKb = usage.ru_maxrss;
        result.out = ReadFile(outFile);
        result.err = ReadFile(errFile);
        return result;
    }

    RunResult Count(std::vector<std::string> args, RunOptions options = {}) {
        args.insert(args.begin(), {"--profile", profile.string()});
        return Run(std::move(args), std::move(options));
    }

    std::string Header(const std::string& spec) { return "=====[ " + Upper(spec) + " ]=====\r\n"; }

    fs::path root, data, profile;
};

bool RunningAsRoot() {
    return ::geteuid() == 0;
}

// ------------------------------------------------------------ links

TEST_F(HostileTree, LinksBackToAncestorsAreNotFollowed) {
    Write(data / "top.txt", "top\n");
    Write(data / "sub" / "inner.txt", "inner\n");
    fs::create_directory_symlink("..", data / "sub" / "up");
    fs::create_directory_symlink(root, data / "sub" / "root");
    fs::create_directory_symlink(".", data / "here");
    fs::create_directory_symlink("/", data / "sub" / "slash");
    RunResult r = Count({"--subdir", data.string()});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, Header(data.string() + "/*.*") + WordLine(1, "inner") + WordLine(1, "top") +
                         Totals(2, 2, 2));
}

TEST_F(HostileTree, DanglingAndLoopingLinks) {
    Write(data / "ok.txt", "fine\n");
    // In the chosen directory a link that leads nowhere is no file at all.
    fs::create_symlink("missing.txt", data / "gone.txt");
    fs::create_symlink("loop2.txt", data / "loop1.txt");
    fs::create_symlink("loop1.txt", data / "loop2.txt");
    // Below it, every entry that is not a directory is listed, and the
    // count says which it could not open.
    fs::create_directories(data / "sub");
    fs::create_symlink("missing", data / "sub" / "dangling");
    fs::create_symlink("a", data / "sub" / "b");
    fs::create_symlink("b", data / "sub" / "a");
    RunResult r = Count({"--subdir", data.string(), "*.txt"});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.status, 1);
    const std::string sub = Upper((data / "sub").string());
    EXPECT_EQ(r.err, "Failed to open " + sub + "/A(--;)\nFailed to open " + sub +
                         "/B(--;)\nFailed to open " + sub + "/DANGLING(--;)\n");
    EXPECT_EQ(r.out, Header(data.string() + "/*.txt") + WordLine(1, "fine") + Totals(1, 1, 1));
}

// ------------------------------------------------------------ special files

// Makes a FIFO, a socket and a device below data/sub and a FIFO matching the
// pattern in data itself; returns the ones that only the program could open.
std::vector<fs::path> MakeSpecialFiles(const fs::path& data, std::vector<int>& sockets) {
    std::vector<fs::path> made;
    fs::create_directories(data / "sub");
    EXPECT_EQ(::mkfifo((data / "pipe.txt").c_str(), 0644), 0);
    made.push_back(data / "pipe.txt");
    EXPECT_EQ(::mkfifo((data / "sub" / "fifo").c_str(), 0644), 0);
    made.push_back(data / "sub" / "fifo");
    fs::create_symlink("fifo", data / "sub" / "link-to-fifo");

    int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::string socketPath = (data / "sub" / "socket").string();
    if (s >= 0 && socketPath.size() < sizeof address.sun_path) {
        std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
        EXPECT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(::listen(s, 1), 0);
        made.push_back(socketPath);
        sockets.push_back(s);
    }
    // A device of our own (the null device's numbers) when we may make one,
    // else a link to the system's, which others use too.
    fs::path device = data / "sub" / "device";
    if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0)
        made.push_back(device);
    else
        fs::create_symlink("/dev/null", device);
    return made;
}

TEST_F(HostileTree, SpecialFilesAreReportedButNeverOpened) {
    Write(data / "ok.txt", "fine\n");
    std::vector<int> sockets;
    std::vector<fs::path> special = MakeSpecialFiles(data, sockets);
    COpenWatch watch;
    for (const fs::path& path : special)
        watch.Add(path);

    RunResult r = Count({"--subdir", data.string(), "*.txt"});
    ASSERT_FALSE(r.timedOut) << "a special file blocked the count";
    EXPECT_FALSE(watch.SawAccess()) << "a special file was opened";
    for (int s : sockets)
        ::close(s);
    EXPECT_EQ(r.status, 1);
    const std::string sub = Upper((data / "sub").string());
    EXPECT_EQ(r.err, "Failed to open " + sub + "/DEVICE(--;)\nFailed to open " + sub +
                         "/FIFO(--;)\nFailed to open " + sub + "/LINK-TO-FIFO(--;)\n" +
                         (sockets.empty() ? "" : "Failed to open " + sub + "/SOCKET(--;)\n"));
    // The FIFO that matches the pattern in the chosen directory is a system
    // file there: not listed, no message.
    EXPECT_EQ(r.out, Header(data.string() + "/*.txt") + WordLine(1, "fine") + Totals(1, 1, 1));
}

TEST_F(HostileTree, SpecialFileNamedAsTheProfileIsRefusedUnopened) {
    Write(data / "ok.txt", "fine\n");
    fs::path fifo = root / "fifo.ini";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    COpenWatch watch;
    watch.Add(fifo);
    RunResult viaOption = Run({"--profile", fifo.string(), data.string()});
    RunResult viaEnvironment = Run({data.string()}, {{"VORLAN_INI=" + fifo.string()}});
    EXPECT_FALSE(watch.SawAccess());
    for (const RunResult& r : {viaOption, viaEnvironment}) {
        ASSERT_FALSE(r.timedOut);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "vorlan-count: " + fifo.string() + ": Invalid argument\n");
    }
}

// ------------------------------------------------------------ permissions

// Folders and files that cannot be read. The superuser reads everything, so
// as root the program is run as the unprivileged user instead.
TEST_F(HostileTree, UnreadableFoldersAndFilesAreReported) {
    Write(data / "ok.txt", "fine\n");
    Write(data / "secret.txt", "hidden\n");
    Write(data / "sub" / "closed" / "inside.txt", "never\n");
    Write(data / "sub" / "private.txt", "private\n");
    Write(data / "sub" / "open.txt", "open\n");
    fs::permissions(data / "sub" / "closed", fs::perms::none);
    fs::permissions(data / "secret.txt", fs::perms::none);
    fs::permissions(data / "sub" / "private.txt", fs::perms::none);
    RunOptions nobody{{}, RunningAsRoot()};

    RunResult r = Count({"--subdir", data.string(), "*.txt"}, nobody);
    if (r.status == 126)
        GTEST_SKIP() << "could not become the unprivileged user";
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Failed to open " + Upper((data / "secret.txt").string()) +
                         "(--;)\nFailed to open " + Upper((data / "sub" / "closed").string()) +
                         "/(--;)\nFailed to open " +
                         Upper((data / "sub" / "private.txt").string()) + "(--;)\n");
    EXPECT_EQ(r.out, Header(data.string() + "/*.txt") + WordLine(1, "fine") + WordLine(1, "open") +
                         Totals(2, 2, 2));

    // The chosen directory itself: nothing to count, and the program says so.
    fs::permissions(data, fs::perms::none);
    RunResult closed = Count({data.string()}, nobody);
    fs::permissions(data, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    EXPECT_EQ(closed.status, 2);
    EXPECT_EQ(closed.out, "");
    EXPECT_EQ(closed.err, "vorlan-count: " + data.string() + ": Permission denied\n");
}

// A file named on the command line is counted alone and by its exact name:
// neither the siblings its "?" or its letter case would match, nor nothing
// when it is hidden.
TEST_F(HostileTree, ANamedFileIsCountedAloneHiddenOrNot) {
    Write(data / "q?.txt", "named\n");
    Write(data / "qz.txt", "sibling\n");
    Write(data / "README.txt", "upper\n");
    Write(data / "readme.txt", "lower\n");
    Write(data / ".hidden.txt", "hidden\n");
    const std::pair<const char*, const char*> cases[] = {
        {"q?.txt", "named"}, {"README.txt", "upper"}, {".hidden.txt", "hidden"}};
    for (const auto& [name, word] : cases) {
        RunResult r = Count({(data / name).string()});
        EXPECT_EQ(r.status, 0) << name;
        EXPECT_EQ(r.out, Header((data / name).string()) + WordLine(1, word) + Totals(-1, 1, 1));
    }
}

// A tree deeper than the longest path the system takes is counted whole.
TEST_F(HostileTree, FilesBeyondTheLongestPathAreCounted) {
    Write(data / "top.txt", "top\n");
    int fd = ::open(data.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < 25 && fd >= 0; ++i) {
        const std::string name(200, 'd');
        ::mkdirat(fd, name.c_str(), 0755);
        const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
    }
    ASSERT_GE(fd, 0);
    const int file = ::openat(fd, "bottom.txt", O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::write(file, "bottom\n", 7), 7);
    ::close(file);
    ::close(fd);
    RunResult r = Count({"--subdir", "--order=abc", data.string(), "*.txt"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, Header(data.string() + "/*.txt") + WordLine(1, "bottom") + WordLine(1, "top") +
                         Totals(2, 2, 2));
}

// ------------------------------------------------------------ file names

// Shift-JIS names: "データ" (its second bytes include "[" and "^"), "あい",
// "テスト" (second bytes "e", "X", "g"), "表" (second byte "\"), and a name
// ending in a lone lead byte.
const std::string kData = "\x83\x66\x81\x5B\x83\x5E";
const std::string kAi = "\x82\xA0\x82\xA2";
const std::string kTest = "\x83\x65\x83\x58\x83\x67";
const std::string kHyou = "\x95\x5C";

class ShiftJisNames : public HostileTree, public ::testing::WithParamInterface<const char*> {};

TEST_P(ShiftJisNames, AreCountedAndShownUpperCased) {
    fs::path dir = data / kData;
    Write(dir / (kAi + ".txt"), "kana\n");
    Write(dir / ("x\x82.txt"), "lone\n");
    Write(dir / kTest / ("sub" + kHyou), "deep\n");
    ASSERT_EQ(::mkfifo((dir / kTest / ("pipe" + kHyou)).c_str(), 0644), 0);
    // Upper-casing steps over double-byte characters under any code page.
    std::string env = std::string("TESMO_CODEPAGE=") + GetParam();
    RunResult r = Count({"--subdir", dir.string(), "*.txt"}, {{env}});
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "Failed to open " + Upper((dir / kTest / ("pipe" + kHyou)).string()) + "(--;)\n");
    EXPECT_EQ(r.out, Header(dir.string() + "/*.txt") + WordLine(1, "deep") + WordLine(1, "kana") +
                         WordLine(1, "lone") + Totals(3, 3, 3));
}

INSTANTIATE_TEST_SUITE_P(CodePages, ShiftJisNames, ::testing::Values("932", "1252"),
                         [](const auto& info) { return std::string("CodePage") + info.param; });

// ------------------------------------------------------------ profiles

TEST_F(HostileTree, BinaryJunkProfileStillCounts) {
    std::string junk(64 * 1024, '\0');
    std::mt19937 random(7);
    for (char& c : junk)
        c = static_cast<char>(random() & 0xFF);
    Write(profile, junk + "\n[Sort]\nabc=1\n");
    Write(data / "a.txt", "b a\n");
    RunResult r = Count({data.string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Header(data.string() + "/*.*") + WordLine(1, "a") + WordLine(1, "b") +
                         Totals(-1, 2, 2));
}

TEST_F(HostileTree, ProfileOfEmptyLinesIsReadInLittleMemory) {
    // A parser that kept a record per line would need tens of megabytes for
    // this one.
    Write(profile, std::string(1000 * 1000, '\n') + "[Sort]\nabc=1\n");
    Write(data / "a.txt", "b a\n");
    RunResult r = Count({data.string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Header(data.string() + "/*.*") + WordLine(1, "a") + WordLine(1, "b") +
                         Totals(-1, 2, 2));
    if (!kSanitized) {
        EXPECT_LT(r.peakKb, 24 * 1024) << "peak resident set in KB";
    }
}

TEST_F(HostileTree, ReadOnlyProfileIsReadAndLeftAlone) {
    const std::string text = "[Sort]\nabc=1\nPercent=1\n";
    Write(profile, text);
    fs::permissions(profile,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    Write(data / "a.txt", "word\n");
    RunResult r = Count({"--order", "zyx", data.string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Header(data.string() + "/*.*") + "         1(100.000%) : word\r\n" +
                         Totals(-1, 1, 1));
    EXPECT_EQ(ReadFile(profile), text);
    EXPECT_EQ(fs::status(profile).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

TEST_F(HostileTree, ProfileThatIsADirectoryIsAnError) {
    Write(data / "a.txt", "word\n");
    fs::path folder = root / "VORLAN.INI";
    fs::create_directories(folder);
    RunResult viaOption = Run({"--profile", folder.string(), data.string()});
    RunResult viaEnvironment = Run({data.string()}, {{"VORLAN_INI=" + folder.string()}});
    for (const RunResult& r : {viaOption, viaEnvironment}) {
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "vorlan-count: " + folder.string() + ": Is a directory\n");
    }
    // A profile that does not exist yet is no error when it is the default.
    RunResult missing = Run({data.string()}, {{"VORLAN_INI=" + (root / "new.ini").string()}});
    EXPECT_EQ(missing.status, 0);
    EXPECT_EQ(missing.out, Header(data.string() + "/*.*") + WordLine(1, "word") + Totals(-1, 1, 1));
    EXPECT_FALSE(fs::exists(root / "new.ini"));
}

TEST_F(HostileTree, ProfileOverAMebibyteIsApplied) {
    Write(profile, std::string(2 << 20, ';') + "\n[Option]\nSubdir=1\n");
    Write(data / "sub" / "deep.txt", "deep\n");
    RunResult r = Count({data.string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Header(data.string() + "/*.*") + WordLine(1, "deep") + Totals(-1, 1, 1));
}

// ------------------------------------------------------------ output targets

TEST_F(HostileTree, OutputToADeviceIsWrittenInPlace) {
    Write(data / "a.txt", "word\n");
    const fs::path null = root / "null", full = root / "full";
    if (::mknod(null.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0 ||
        ::mknod(full.c_str(), S_IFCHR | 0666, ::makedev(1, 7)) != 0)
        GTEST_SKIP() << "no device node can be made here";
    fs::create_symlink("full", root / "to-full");
    RunResult toNull = Count({"--output=" + null.string(), data.string()});
    EXPECT_EQ(toNull.status, 0) << toNull.err;
    RunResult toFull = Count({"--output=" + (root / "to-full").string(), data.string()});
    EXPECT_EQ(toFull.status, 2);
    EXPECT_EQ(toFull.err,
              "vorlan-count: " + (root / "to-full").string() + ": No space left on device\n");
    EXPECT_TRUE(fs::is_character_file(null) && fs::is_character_file(full));
}

TEST_F(HostileTree, OutputToAFifoReachesItsReader) {
    Write(data / "a.txt", "word\n");
    const fs::path fifo = root / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::string got;
    std::thread reader([&] { got = ReadFile(fifo); });
    RunResult r = Count({"--output=" + fifo.string(), data.string()});
    if (r.status != 0) // let the reader go
        ::close(::open(fifo.c_str(), O_WRONLY | O_CLOEXEC));
    reader.join();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(got, Header(data.string() + "/*.*") + WordLine(1, "word") + Totals(-1, 1, 1));
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(HostileTree, OutputToStandardOutputKeepsWhatARedirectionAppendsTo) {
    Write(data / "a.txt", "word\n");
    const std::string report =
        Header(data.string() + "/*.*") + WordLine(1, "word") + Totals(-1, 1, 1);
    for (const char* name : {"/dev/stdout", "/dev/fd/1", "/proc/self/fd/1"}) {
        Write(root / "stdout", "earlier\n");
        RunOptions options;
        options.appendOut = true;
        RunResult r = Count({std::string("--output=") + name, data.string()}, options);
        EXPECT_EQ(r.status, 0) << name << r.err;
        EXPECT_EQ(r.out, "earlier\n" + report) << name;
    }
}

TEST_F(HostileTree, OutputOverAnotherUsersLinkedFileKeepsOwnerLinksNoSetId) {
    if (!RunningAsRoot())
        GTEST_SKIP() << "needs to give a file away";
    Write(data / "a.txt", "word\n");
    const fs::path theirs = root / "theirs.txt";
    Write(theirs, "an old report of theirs, longer than the new one will be\n");
    ASSERT_EQ(::chown(theirs.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chmod(theirs.c_str(), 04640), 0);
    RunResult single = Count({"--output=" + theirs.string(), data.string()});
    EXPECT_EQ(single.status, 0) << single.err;
    fs::create_hard_link(theirs, root / "second.txt");
    RunResult linked = Count({"--percent", "--output=" + theirs.string(), data.string()});
    EXPECT_EQ(linked.status, 0) << linked.err;
    EXPECT_EQ(ReadFile(root / "second.txt"), ReadFile(theirs));
    EXPECT_NE(ReadFile(theirs).find("(100.000%)"), std::string::npos);
    struct stat st {};
    ASSERT_EQ(::stat(theirs.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_gid, kNobody);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(st.st_nlink, 2u);
}

TEST_F(HostileTree, OutputNamingTheProfileIsRefused) {
    Write(data / "a.txt", "word\n");
    const std::string before = ReadFile(profile);
    fs::create_symlink(profile, root / "link.ini");
    for (const fs::path& name : {profile, root / "link.ini"}) {
        RunResult r = Count({"--output=" + name.string(), data.string()});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "vorlan-count: " + name.string() +
                             ": is the profile; the report is not written over it\n");
    }
    EXPECT_EQ(ReadFile(profile), before);
}

TEST_F(HostileTree, ControlBytesOfNamesAreEscapedInMessages) {
    fs::create_directories(data / "sub");
    ASSERT_EQ(::mkfifo((data / "sub" / "x\033[2Jy\nz.txt").c_str(), 0644), 0);
    RunResult failed = Count({"--subdir", data.string()});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err,
              "Failed to open " + Upper(data.string()) + "/SUB/X\\033[2JY\\nZ.TXT(--;)\n");
    RunResult missing = Count({(root / "no\rsuch").string()});
    EXPECT_EQ(missing.err,
              "vorlan-count: " + root.string() + "/no\\rsuch: No such file or directory\n");
}

// ------------------------------------------------------------ resources

// Memory short of the output buffer, at limits from just above what loading
// the program takes: the report, or a message and status 2; never an abort,
// never a temporary file left.
TEST_F(HostileTree, LowMemoryEndsInAMessageNotAnAbort) {
    if (kSanitized)
        GTEST_SKIP() << "the sanitizers need more address space";
    Write(data / "a.txt", "word\n");
    for (rlim_t kb = 7000; kb <= 15000; kb += 1000) {
        RunOptions options;
        options.addressSpace = kb * 1024;
        RunResult r = Count({"--output=" + (root / "out.txt").string(), data.string()}, options);
        const bool graceful =
            r.status == 0 || (r.status == 2 && r.err == "vorlan-count: memory exhausted\n");
        EXPECT_TRUE(graceful || r.status == 127) << kb << " KiB: " << r.status << " " << r.err;
    }
    for (const auto& entry : fs::directory_iterator(root))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".out.txt")) << entry.path();
}

// Memory follows the distinct words, not the size of the input: a 200 MB
// file of eight words is counted in a few megabytes.
TEST_F(HostileTree, LargeFileOfFewWordsIsCountedInLittleMemory) {
    if (kSanitized)
        GTEST_SKIP() << "the sanitizers' own memory would swamp the measure";
    const std::string line = "alpha beta gamma delta epsilon zeta eta theta\n"; // 8 words
    std::string block;
    while (block.size() + line.size() <= (1u << 20))
        block += line;
    const int blocks = 200;
    {
        std::ofstream out(data / "big.txt", std::ios::binary);
        for (int i = 0; i < blocks; ++i)
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
    }
    const long perWord = static_cast<long>(block.size() / line.size()) * blocks;
    RunResult r = Count({data.string()});
    fs::remove(data / "big.txt");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Header(data.string() + "/*.*") + WordLine(perWord, "alpha") +
                         WordLine(perWord, "beta") + WordLine(perWord, "delta") +
                         WordLine(perWord, "epsilon") + WordLine(perWord, "eta") +
                         WordLine(perWord, "gamma") + WordLine(perWord, "theta") +
                         WordLine(perWord, "zeta") + Totals(-1, static_cast<int>(8 * perWord), 8));
    EXPECT_LT(r.peakKb, 64 * 1024) << "peak resident set in KB";
}

} // namespace
