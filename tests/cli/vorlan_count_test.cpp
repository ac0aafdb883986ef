// vorlan-count as users run it: the report bytes on standard output, one
// line per message on standard error, and the exit status.
#include "expected_report.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

class VorlanCount : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "vorlan-cli-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root = fs::canonical(pattern);
        data = root / "data";
        fs::create_directories(data);
        profile = root / "profile.ini";
        Write(profile, "");
    }
    void TearDown() override { fs::remove_all(root); }

    static void Write(const fs::path& path, const std::string& bytes) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // Runs the program in folder cwd with args and the extra environment
    // variables env; its output is captured in files.
    RunResult Run(std::vector<std::string> args, const fs::path& cwd = {},
                  std::vector<std::string> env = {}, rlim_t addressSpace = RLIM_INFINITY) {
        std::string program = std::string(VORLAN_BINARY_DIR) + "/bin/vorlan-count";
        fs::path outFile = root / "stdout", errFile = root / "stderr";
        int in[2] = {-1, -1};
        if (pipeIn && ::pipe(in) != 0)
            return {};
        pid_t pid = ::fork();
        if (pid == 0) {
            if (pipeIn && (::dup2(in[0], STDIN_FILENO) < 0 || ::close(in[0]) || ::close(in[1])))
                ::_exit(127);
            if (!cwd.empty() && ::chdir(cwd.c_str()) != 0)
                ::_exit(127);
            FILE* out = std::freopen(outFile.c_str(), "wb", stdout);
            FILE* err = std::freopen(errFile.c_str(), "wb", stderr);
            if (!out || !err)
                ::_exit(127);
            for (std::string& e : env)
                ::putenv(e.data());
            struct rlimit limit {
                addressSpace, addressSpace
            };
            if (addressSpace != RLIM_INFINITY && ::setrlimit(RLIMIT_AS, &limit) != 0)
                ::_exit(127);
            std::vector<char*> argv{program.data()};
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        if (pipeIn) {
            // The child writes its output to files, so it drains the pipe
            // while the whole input is written here.
            ::close(in[0]);
            const char* p = pipeIn->data();
            std::size_t left = pipeIn->size();
            while (left > 0) {
                ssize_t n = ::write(in[1], p, left);
                if (n <= 0)
                    break;
                p += n;
                left -= static_cast<std::size_t>(n);
            }
            ::close(in[1]);
        }
        RunResult result;
        int status = 0;
        ::waitpid(pid, &status, 0);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = ReadFile(outFile);
        result.err = ReadFile(errFile);
        return result;
    }

    // Runs with the test's own (empty) profile.
    RunResult Count(std::vector<std::string> args) {
        args.insert(args.begin(), {"--profile", profile.string()});
        return Run(std::move(args));
    }

    std::string Header(const std::string& spec) { return "=====[ " + Upper(spec) + " ]=====\r\n"; }

    fs::path root, data, profile;
    // When set, the program's standard input is a pipe carrying these bytes.
    std::optional<std::string> pipeIn;
};

// The worked example of the report format.
class GoldenTree : public VorlanCount {
  protected:
    void SetUp() override {
        VorlanCount::SetUp();
        Write(data / "a.txt", "the cat and the dog\n");
        Write(data / "b.txt", "The end\n");
    }
};

TEST_F(GoldenTree, AscendingReportByteForByte) {
    RunResult r = Count({"--order", "abc", data.string(), "*.txt"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, Header(data.string() + "/*.txt") + WordLine(1, "and") + WordLine(1, "cat") +
                         WordLine(1, "dog") + WordLine(1, "end") + WordLine(3, "the") +
                         Totals(2, 7, 5));
}

struct OrderCase {
    const char* order;
    std::vector<std::pair<unsigned long, const char*>> lines;
    friend void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.order; }
};

class GoldenOrders : public GoldenTree, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(GoldenOrders, EveryOrderFromTheCommandLine) {
    // The profile asks for something else; the command line wins.
    Write(profile, "[Sort]\nabc=0\nTail=1\nFreq=1\n");
    RunResult r = Count({"--order=" + std::string(GetParam().order), data.string(), "*.txt"});
    std::string expected = Header(data.string() + "/*.txt");
    for (const auto& [count, word] : GetParam().lines)
        expected += WordLine(count, word);
    EXPECT_EQ(r.out, expected + Totals(2, 7, 5));
    EXPECT_EQ(r.status, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Orders, GoldenOrders,
    ::testing::Values(
        OrderCase{"abc", {{1, "and"}, {1, "cat"}, {1, "dog"}, {1, "end"}, {3, "the"}}},
        OrderCase{"zyx", {{3, "the"}, {1, "end"}, {1, "dog"}, {1, "cat"}, {1, "and"}}},
        OrderCase{"tail", {{1, "and"}, {1, "end"}, {3, "the"}, {1, "dog"}, {1, "cat"}}},
        OrderCase{"freq", {{3, "the"}, {1, "and"}, {1, "cat"}, {1, "dog"}, {1, "end"}}},
        OrderCase{"lowfreq", {{1, "end"}, {1, "dog"}, {1, "cat"}, {1, "and"}, {3, "the"}}}),
    [](const auto& info) { return std::string(info.param.order); });

TEST_F(GoldenTree, PercentFlag) {
    RunResult r = Count({"--order", "abc", "--percent", data.string(), "*.txt"});
    EXPECT_NE(r.out.find("         1(14.286%) : and\r\n"), std::string::npos);
    EXPECT_NE(r.out.find("         3(42.857%) : the\r\n"), std::string::npos);
}

TEST_F(GoldenTree, OptionsComeFromTheProfileAndAreNeverWritten) {
    const std::string text = "[Sort]\nabc=1\nPercent=1\n";
    Write(profile, text);
    RunResult r = Count({data.string(), "*.txt"});
    EXPECT_NE(r.out.find("         1(14.286%) : and\r\n"), std::string::npos);
    RunResult again = Count({"--order", "zyx", "--subdir", "--binary", "--html", data.string()});
    EXPECT_EQ(again.status, 0);
    EXPECT_EQ(ReadFile(profile), text);
}

TEST_F(GoldenTree, DefaultProfileComesFromVorlanIni) {
    fs::path ini = root / "env.ini";
    Write(ini, "[Sort]\nabc=1\nPercent=1\n");
    RunResult r = Run({data.string(), "*.txt"}, {}, {"VORLAN_INI=" + ini.string()});
    EXPECT_NE(r.out.find("         1(14.286%) : and\r\n"), std::string::npos);
}

TEST_F(GoldenTree, RelativeDirectoryIsMadeAbsoluteWithDefaultPattern) {
    RunResult r = Run({"--profile", profile.string(), "--order", "abc", "./data/"}, root);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.starts_with(Header(data.string() + "/*.*"))) << r.out;
    EXPECT_NE(r.out.find(Totals(2, 7, 5)), std::string::npos);
}

TEST_F(GoldenTree, ARegularFileIsCountedAloneUnderItsFolderAndName) {
    RunResult r = Run({"--profile", profile.string(), "data/b.txt"}, root);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Header(data.string() + "/b.txt") + WordLine(1, "The") + WordLine(1, "end") +
                         Totals(-1, 2, 2));
}

TEST_F(VorlanCount, SubdirectoriesAddEveryFileBelowWhateverItsName) {
    Write(data / "top.txt", "top\n");
    Write(data / "skip.doc", "skipped\n");
    Write(data / "sub" / "deeper" / "notes.doc", "deep\n");
    Write(data / "sub" / ".profile", "hidden\n");
    Write(data / "sub" / "prog.exe", "binary\n");
    RunResult plain = Count({"--order", "abc", data.string(), "*.txt"});
    EXPECT_EQ(plain.out, Header(data.string() + "/*.txt") + WordLine(1, "top") + Totals(-1, 1, 1));

    RunResult sub = Count({"--order", "abc", "--subdir", data.string(), "*.txt"});
    EXPECT_EQ(sub.out, Header(data.string() + "/*.txt") + WordLine(1, "binary") +
                           WordLine(1, "deep") + WordLine(1, "top") + Totals(3, 3, 3));

    RunResult binary = Count({"--order", "abc", "--subdir", "--binary", data.string(), "*.txt"});
    EXPECT_EQ(binary.out, Header(data.string() + "/*.txt") + WordLine(1, "deep") +
                              WordLine(1, "top") + Totals(2, 2, 2));
    EXPECT_EQ(binary.status, 0);
}

TEST_F(VorlanCount, HtmlFlagStripsTagsAcrossFiles) {
    Write(data / "1.html", "<p>alpha <!-- a > b\n");
    Write(data / "2.html", "hidden\nc --> omega</p>\n");
    RunResult r = Count({"--order", "abc", "--html", data.string(), "*.html"});
    EXPECT_EQ(r.out, Header(data.string() + "/*.html") + WordLine(1, "alpha") +
                         WordLine(1, "omega") + Totals(2, 2, 2));
}

// --encoding overrides the profile for the run; the profile keeps its value.
TEST_F(VorlanCount, EncodingChoosesHowEachFileIsRead) {
    Write(data / "u.txt", "\xEF\xBB\xBF\u00E9t\u00E9\u3001\u00E9t\u00E9\n");
    Write(data / "s.txt", "\x82\xA0\x81\x41\x82\xA0\n"); // Shift-JIS with its comma
    Write(profile, "[Option]\nEncoding=1\n");
    const std::string before = ReadFile(profile);
    const std::string spec = Header(data.string() + "/*.txt");
    const std::string sjisWord = WordLine(1, "\x82\xA0\x81\x41\x82\xA0");

    RunResult bytes = Count({"--order", "abc", "--encoding", "sjis", data.string(), "*.txt"});
    EXPECT_EQ(bytes.out, spec + sjisWord +
                             WordLine(1, "\xEF\xBB\xBF\u00E9t\u00E9\u3001\u00E9t\u00E9") +
                             Totals(2, 2, 2));
    RunResult detect = Count({"--order", "abc", "--encoding=detect", data.string(), "*.txt"});
    EXPECT_EQ(detect.out, spec + sjisWord + WordLine(2, "\u00E9t\u00E9") + Totals(2, 3, 2));
    // The profile's UTF-8 applies when no option is given.
    RunResult profiled = Count({"--order", "abc", data.string(), "u.txt"});
    EXPECT_EQ(profiled.out,
              Header(data.string() + "/u.txt") + WordLine(2, "\u00E9t\u00E9") + Totals(-1, 2, 1));
    EXPECT_EQ(ReadFile(profile), before);

    RunResult wrong = Count({"--encoding", "latin1", data.string()});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_NE(wrong.err.find("latin1: unknown encoding"), std::string::npos) << wrong.err;
}

TEST_F(VorlanCount, UnopenableFileGivesAMessageLineAndStatusOne) {
    Write(data / "ok.txt", "fine\n");
    fs::path fifo = data / "sub" / "pipe";
    fs::create_directories(fifo.parent_path());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    RunResult r = Count({"--subdir", data.string(), "*.txt"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Failed to open " + Upper(fifo.string()) + "(--;)\n");
    EXPECT_EQ(r.out, Header(data.string() + "/*.txt") + WordLine(1, "fine") + Totals(1, 1, 1));
}

TEST_F(VorlanCount, RunningOutOfMemoryStillEndsWithTheTotals) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizers need more address space than the limit leaves";
#endif
    std::string words;
    char word[16];
    for (int i = 0; i < 300000; ++i) {
        std::snprintf(word, sizeof word, "w%07d\n", i);
        words += word;
    }
    Write(data / "many.txt", words);
    RunResult r = Run({"--profile", profile.string(), data.string()}, {}, {}, 24u << 20);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.starts_with("Not enough memory to ")) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    EXPECT_TRUE(r.out.starts_with(Header(data.string() + "/*.*"))) << r.out.substr(0, 200);
    EXPECT_TRUE(r.out.ends_with(" : Different words used\r\n"));
}

TEST_F(VorlanCount, EmptyDirectoryGivesAZeroReport) {
    RunResult r = Count({data.string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, Header(data.string() + "/*.*") + Totals(-1, 0, 0));
}

// Errors of the command line itself: status 2, nothing on standard output,
// "vorlan-count: WHAT: reason" on standard error.
struct UsageCase {
    const char* name;
    std::vector<std::string> args;
    std::string errStart;
    friend void PrintTo(const UsageCase& c, std::ostream* os) { *os << c.name; }
};

class VorlanCountUsage : public VorlanCount, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(VorlanCountUsage, FailsWithStatusTwo) {
    Write(data / "f.txt", "text\n");
    std::vector<std::string> args = GetParam().args;
    for (std::string& a : args) {
        if (a == "DATA")
            a = data.string();
        else if (a == "FILE")
            a = (data / "f.txt").string();
    }
    RunResult r = Run(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(r.err.starts_with(GetParam().errStart)) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Errors, VorlanCountUsage,
    ::testing::Values(
        UsageCase{"NoDirectory", {}, "vorlan-count: DIRECTORY: missing operand\n"},
        UsageCase{"UnknownOption", {"--frobnicate", "DATA"}, "vorlan-count: --frobnicate: "},
        UsageCase{"UnknownOrder", {"--order", "random", "DATA"}, "vorlan-count: random: "},
        UsageCase{"OrderWithoutValue", {"DATA", "--order"}, "vorlan-count: --order: "},
        UsageCase{"ExtraOperand", {"DATA", "*.txt", "more"}, "vorlan-count: more: extra operand"},
        UsageCase{"MissingDirectory",
                  {"/nonexistent/vorlan/dir"},
                  "vorlan-count: /nonexistent/vorlan/dir: No such file or directory\n"},
        UsageCase{"FileWithPattern", {"FILE", "*.txt"}, "vorlan-count: /"},
        UsageCase{"UnknownFormat", {"--format", "xml", "DATA"}, "vorlan-count: xml: "},
        UsageCase{"OutputWithoutValue", {"DATA", "--output"}, "vorlan-count: --output: "},
        UsageCase{"EmptyOutputName", {"--output=", "DATA"}, "vorlan-count: --output: "},
        // Only whole names are options: no prefixes, no clusters, no value
        // for a flag.
        UsageCase{
            "AbbreviatedOption", {"--perc", "DATA"}, "vorlan-count: --perc: unknown option\n"},
        UsageCase{"AbbreviatedWithValue", {"--ord", "abc", "DATA"}, "vorlan-count: --ord: "},
        UsageCase{"ClusteredShortOption", {"-hx", "DATA"}, "vorlan-count: -hx: unknown option\n"},
        UsageCase{"ValueForAFlag", {"--help=yes"}, "vorlan-count: --help=yes: unknown option\n"},
        UsageCase{"PatternWithStandardInput", {"-", "*.txt"}, "vorlan-count: *.txt: "},
        UsageCase{"MissingProfile",
                  {"--profile", "/nonexistent/vorlan.ini", "DATA"},
                  "vorlan-count: /nonexistent/vorlan.ini: No such file or directory\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// "-" counts standard input, of whatever kind, as the one file of the
// count, so that the counter can end a shell pipeline.
TEST_F(VorlanCount, StandardInputIsCountedAsOneFile) {
    pipeIn = "the cat\r\nThe end\x1A ignored after Ctrl-Z\n";
    RunResult r = Count({"--order", "abc", "-"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, Header("(standard input)") + WordLine(1, "cat") + WordLine(1, "end") +
                         WordLine(2, "the") + Totals(-1, 4, 3));
}

TEST_F(VorlanCount, ShiftJisThroughAPipeInEveryOutput) {
    // 日本語、日本語 (a double-byte comma inside one word), then あ and 日本語.
    const std::string nihongo = "\x93\xfa\x96\x7b\x8c\xea";
    const std::string a = "\x82\xa0";
    const std::string both = nihongo + "\x81\x41" + nihongo;
    pipeIn = both + " " + a + "\n" + nihongo + "\n";
    RunResult report = Count({"--order", "abc", "-"});
    EXPECT_EQ(report.status, 0);
    EXPECT_EQ(report.out, Header("(standard input)") + WordLine(1, a) + WordLine(1, nihongo) +
                              WordLine(1, both) + Totals(-1, 3, 3));

    RunResult tsv = Count({"--order", "abc", "--format", "tsv", "-"});
    const std::string third = "\t1\t33.333333333333336\n";
    EXPECT_EQ(tsv.out, "word\tcount\tpercent\tencoding=shift_jis\n" + a + third + nihongo + third +
                           both + third +
                           "\tfiles processed=1\ttotal words=3\tdifferent words=3\t"
                           "file specification=(STANDARD INPUT)\n");

    RunResult json = Count({"--order", "abc", "--format=json", "-"});
    EXPECT_NE(json.out.find("\"encoding\":\"converted from Shift-JIS\""), std::string::npos);
    EXPECT_NE(json.out.find("{\"word\":\"\xe3\x81\x82\",\"count\":1,"), std::string::npos)
        << json.out;
}

TEST_F(VorlanCount, OutputFileHoldsWhatStandardOutputWouldAndKeepsItsMode) {
    Write(data / "a.txt", "one two two\n");
    const fs::path target = root / "out.txt";
    Write(target, "an older and longer report\n");
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    for (std::vector<std::string> format :
         {std::vector<std::string>{}, {"--format", "csv"}, {"--format", "json"}}) {
        std::vector<std::string> args = format;
        args.push_back(data.string());
        RunResult plain = Count(args);
        args.insert(args.begin(), "--output=" + target.string());
        RunResult written = Count(args);
        EXPECT_EQ(written.status, 0);
        EXPECT_EQ(written.out, "");
        EXPECT_EQ(ReadFile(target), plain.out);
    }
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // Nothing but the data folder, the profile and the target remain.
    EXPECT_EQ(std::distance(fs::directory_iterator(root), {}), 5) << "stdout, stderr included";
}

TEST_F(VorlanCount, OutputThroughASymbolicLinkWritesTheLinkedFile) {
    Write(data / "a.txt", "word\n");
    const fs::path real = root / "real.txt";
    Write(real, "old\n");
    fs::create_symlink("real.txt", root / "link.txt");
    RunResult r = Count({"--output", (root / "link.txt").string(), data.string()});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(fs::is_symlink(root / "link.txt"));
    EXPECT_TRUE(ReadFile(real).starts_with(Header(data.string() + "/*.*")));
}

// A device named as the output is written through, as a shell's redirection
// would write it: the node stays what it was.
TEST_F(VorlanCount, OutputToADeviceWritesThroughItAndKeepsTheNode) {
    Write(data / "a.txt", "word\n");
    const fs::path device = root / "null";
    if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0)
        GTEST_SKIP() << "no device node can be made here";
    RunResult r = Count({"--output=" + device.string(), data.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    struct stat st {};
    ASSERT_EQ(::lstat(device.c_str(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

// A file that cannot be written: status 2, "vorlan-count: FILE: reason", and
// whatever stood at FILE (or next to it) stays as it was.
struct OutputFailure {
    const char* name;
    std::string target; // relative to the test's root
    std::string reason;
    friend void PrintTo(const OutputFailure& c, std::ostream* os) { *os << c.name; }
};

class VorlanCountOutput : public VorlanCount,
                          public ::testing::WithParamInterface<OutputFailure> {};

TEST_P(VorlanCountOutput, FailsWithStatusTwoAndLeavesTheOldFile) {
    Write(data / "a.txt", "word\n");
    Write(root / "kept.txt", "kept\n");
    fs::create_directories(root / "taken.txt" / "inside");
    Write(root / "readonly.txt", "read-only\n");
    ASSERT_EQ(::chmod((root / "readonly.txt").c_str(), 0444), 0);
    const std::string target = (root / GetParam().target).string();
    for (const char* format : {"--format=tsv", "--percent"}) {
        RunResult r = Count({"--output", target, format, data.string()});
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "vorlan-count: " + target + ": " + GetParam().reason + "\n");
    }
    EXPECT_EQ(ReadFile(root / "kept.txt"), "kept\n");
    EXPECT_EQ(ReadFile(root / "readonly.txt"), "read-only\n");
    EXPECT_TRUE(fs::is_directory(root / "taken.txt" / "inside"));
    for (const auto& entry : fs::recursive_directory_iterator(root))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".vorlan-save-")) << entry.path();
}

INSTANTIATE_TEST_SUITE_P(
    Output, VorlanCountOutput,
    ::testing::Values(OutputFailure{"MissingFolder", "no/such/folder/out.txt",
                                    "No such file or directory"},
                      OutputFailure{"DirectoryNamedLikeTheTarget", "taken.txt", "Is a directory"},
                      OutputFailure{"FolderIsAFile", "kept.txt/out.txt", "Not a directory"},
                      OutputFailure{"ReadOnlyFile", "readonly.txt", "Permission denied"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VorlanCount, HelpAndVersion) {
    RunResult help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: vorlan-count [OPTION]... DIRECTORY [PATTERN]\n"));
    RunResult version = Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("vorlan-count (Vorlan) ")) << version.out;
}

TEST_F(VorlanCount, BundledSamplesAreCountedWithoutComplaint) {
    RunResult r = Count({"--subdir", std::string(VORLAN_SOURCE_DIR) + "/samples"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find(" : Files processed\r\n"), std::string::npos);
}

} // namespace
