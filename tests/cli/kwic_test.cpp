// vorlan-count --kwic and --collocates as users run them: the rows, the
// plain lines, standard input read once, and the usage errors.
#include "tests/platform/temp_tree.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct RunResult {
    int status = -1;
    std::string out, err;
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class Kwic : public ::testing::Test {
  protected:
    // Runs vorlan-count with the test's empty profile and args; stdin is
    // the file at input, or empty.
    RunResult Run(std::vector<std::string> args, const std::string& input = "") {
        const std::string in = tree.Write("stdin", input), out = tree.Path("out"),
                          err = tree.Path("err"), profile = tree.Write("p.ini", "");
        args.insert(args.begin(),
                    {std::string(VORLAN_BINARY_DIR) + "/bin/vorlan-count", "--profile=" + profile});
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("LC_ALL", "C.UTF-8", 1);
            const int fds[3] = {::open(in.c_str(), O_RDONLY),
                                ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644),
                                ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)};
            for (int i = 0; i < 3; ++i)
                ::dup2(fds[i], i);
            std::vector<char*> argv;
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
    }

    CTempTree tree;
};

TEST_F(Kwic, RowsNameFileLineColumnAndContext) {
    const std::string path = tree.Write("d/a.txt", "x The y\r\nthe\tz, THE\n");
    const RunResult r = Run({"--kwic=the", "--context=1", "--format=tsv", tree.Path("d")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "file\tline\tcolumn\tleft\thit\tright\n" + path + "\t1\t3\tx\tThe\ty\n" +
                         path + "\t2\t1\t\tthe\tz\n" + path + "\t2\t8\tz,\tTHE\t\n");
}

TEST_F(Kwic, SortsByNeighbourKeepingTiesInListOrder) {
    tree.Write("d/a.txt", "b the 1\nA the 2\na the 3\n");
    const RunResult r = Run({"--kwic=the", "--kwic-sort=1L", "--format=csv", tree.Path("d")});
    std::istringstream rows(r.out);
    std::vector<std::string> rights;
    for (std::string row; std::getline(rows, row);)
        rights.push_back(row.substr(row.rfind(',') + 1, 1));
    EXPECT_EQ(rights, (std::vector<std::string>{"r", "2", "3", "1"}));
}

TEST_F(Kwic, PlainLinesAlignTheHitsAndDecodeShiftJis) {
    tree.Write("d/s.txt", "x \x83\x41\x83\x43 \x82\xA0\nlong words before \x83\x41\x83\x43\n");
    const RunResult r = Run({"--kwic=アイ", tree.Path("d")});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::size_t first = r.out.find("x  アイ  あ"), second = r.out.find("before  アイ");
    ASSERT_NE(first, std::string::npos) << r.out;
    ASSERT_NE(second, std::string::npos) << r.out;
    const std::size_t secondLine = r.out.find('\n') + 1;
    EXPECT_EQ(first + 1, second - secondLine + 6);
    EXPECT_NE(Run({"--kwic=アイ", "--raw", tree.Path("d")}).out.find("\x83\x41\x83\x43  \x82\xA0"),
              std::string::npos);
}

TEST_F(Kwic, WordWithoutAShiftJisFormIsLookedForAsItsBytes) {
    tree.Write("d/u.txt", "un caf\xC3\xA9 na\xC3\xAFve\n");
    const RunResult r = Run({"--kwic=na\xC3\xAFve", "--format=tsv", tree.Path("d")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\tun caf\xC3\xA9\tna\xC3\xAFve\t\n"), std::string::npos) << r.out;
}

TEST_F(Kwic, StandardInputIsReadOnceForBothModes) {
    const RunResult hits = Run({"--kwic=a", "--format=tsv", "-"}, "a b a\n");
    EXPECT_EQ(hits.out, "file\tline\tcolumn\tleft\thit\tright\n(standard input)\t1\t1\t\ta\tb a\n"
                        "(standard input)\t1\t5\ta b\ta\t\n");
    const RunResult near = Run({"--collocates=a", "--format=tsv", "-"}, "a b a\nb c\n");
    EXPECT_EQ(near.out.substr(0, near.out.find('\n')),
              "word\tcooccurrences\tfrequency\tmi\tlog_likelihood");
    EXPECT_EQ(near.out.substr(near.out.find('\n') + 1, 6), "b\t2\t2\t");
}

TEST_F(Kwic, BadRequestsAreUsageErrors) {
    tree.Write("d/a.txt", "a\n");
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--kwic=a b"},
                                               {"--kwic=   "},
                                               {"--kwic="},
                                               {"--kwic=word,"},
                                               {"--kwic=a", "--context=-1"},
                                               {"--collocates=a", "--span=-1,2"},
                                               {"--collocates=a", "--span=99999999999,1"},
                                               {"--kwic=a", "--span=1,1"},
                                               {"--kwic=a", "--collocates=a"},
                                               {"--kwic=a", "--kwic-sort=4L"}}) {
        std::vector<std::string> all = args;
        all.push_back(tree.Path("d"));
        const RunResult r = Run(all);
        EXPECT_EQ(r.status, 2) << args[0];
        EXPECT_EQ(r.err.rfind("vorlan-count: ", 0), 0u) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}

} // namespace
