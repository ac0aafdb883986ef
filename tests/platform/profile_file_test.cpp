#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Key(const char* prefix, int i) {
    return std::string(prefix).append(std::to_string(i));
}

class ProfileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "profileXXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        m_path = m_dir + "/VORLAN.INI";
    }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(m_dir, ec);
    }

    void Store(const std::string& text) { std::ofstream(m_path, std::ios::binary) << text; }
    std::string Stored() const {
        std::ifstream in(m_path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(m_dir))
            names.push_back(e.path().filename().string());
        return names;
    }
    std::string Get(const char* section, const char* key, const char* def = "<def>") const {
        return CProfileFile(m_path).GetString(section, key, def);
    }
    static bool IsRoot() { return ::geteuid() == 0; }

    std::string m_dir, m_path;
};

// ------------------------------------------------------------------ reading

using ProfileRead = ProfileTest;

TEST_F(ProfileRead, SectionsAndKeysMatchWithoutCase) {
    Store("[Sort]\nLowFreq=1\n[Exclude]\nExecExt=.EXE|\n");
    EXPECT_EQ(Get("sort", "lowfreq"), "1");
    EXPECT_EQ(Get("SORT", "LOWFREQ"), "1");
    EXPECT_EQ(Get("eXcLuDe", "execext"), ".EXE|");
    EXPECT_EQ(Get("Sort", "ExecExt"), "<def>"); // a key belongs to its section
}

TEST_F(ProfileRead, AbsentGivesDefaultPresentEmptyGivesEmpty) {
    EXPECT_EQ(Get("Exclude", "UserExt"), "<def>"); // no file at all
    Store("[Exclude]\nUserExt=\n");
    EXPECT_EQ(Get("Exclude", "UserExt"), "");
    EXPECT_EQ(Get("Exclude", "ArcExt"), "<def>");
    EXPECT_EQ(Get("Missing", "ArcExt"), "<def>");
    EXPECT_EQ(Get("Missing", "ArcExt", nullptr), "");
    EXPECT_FALSE(CProfileFile(m_path).ReadValue("Exclude", "ArcExt"));
}

TEST_F(ProfileRead, BlanksAndQuotesAroundValues) {
    struct Case {
        const char* line;
        const char* value;
    } cases[] = {
        {"k=v", "v"},
        {"  k \t=  v w \t", "v w"},
        {"k=\"  padded \"", "  padded "},
        {"k='single'", "single"},
        {"k=\"unbalanced", "\"unbalanced"},
        {"k=\"mixed'", "\"mixed'"},
        {"k=a ; not a comment", "a ; not a comment"},
        {"k=x=y", "x=y"},
        {"k=\"\"", ""},
        {"k=   ", ""},
    };
    for (const Case& c : cases) {
        Store(std::string("[S]\n") + c.line + "\n");
        EXPECT_EQ(Get("S", "k"), c.value) << c.line;
    }
}

TEST_F(ProfileRead, LongValueIsCutTo259Bytes) {
    std::string value(300, 'x');
    value[258] = 'A';
    value[259] = 'B';
    Store("[File]\nDir=" + value + "\n");
    std::string got = Get("File", "Dir");
    EXPECT_EQ(got.size(), 259u);
    EXPECT_EQ(got.back(), 'A');
    EXPECT_EQ(CProfileFile(m_path).ReadValue("File", "Dir"), value); // the raw read is whole
}

TEST_F(ProfileRead, CommentsStrayLinesAndLeadingKeysAreNobodysKey) {
    Store("top=0\n[S]\n;hidden=1\n  ; also=2\nbare\n=nameless\n[broken\nafter=3\n");
    EXPECT_EQ(Get("S", "hidden"), "<def>");
    EXPECT_EQ(Get("S", "; also"), "<def>");
    EXPECT_EQ(Get("S", "bare"), "<def>");
    EXPECT_EQ(Get("", "top"), "<def>");
    EXPECT_EQ(Get("S", "after"), "3"); // "[broken" starts no section
}

TEST_F(ProfileRead, FirstOccurrenceWins) {
    Store("[S]\nk=first\nk=second\n[ s ]\nk=third\nonly=later\n");
    EXPECT_EQ(Get("S", "k"), "first");
    EXPECT_EQ(Get("S", "only"), "later"); // a repeated section still counts
}

TEST_F(ProfileRead, WindowsLineEndsByteOrderMarkAndNulBytes) {
    Store(std::string("\xEF\xBB\xBF[S]\r\nk=v\r\nz=ab\0cd\r\n", 23));
    EXPECT_EQ(Get("S", "k"), "v");
    EXPECT_EQ(Get("S", "z"), "ab");
    ASSERT_TRUE(CProfileFile(m_path).WriteString("s", "k", "w"));
    EXPECT_EQ(Stored(), std::string("\xEF\xBB\xBF[S]\r\nk=w\r\nz=ab\0cd\r\n", 23));
}

// ------------------------------------------------------------------ writing

using ProfileWrite = ProfileTest;

TEST_F(ProfileWrite, CreatesFileAndSection) {
    EXPECT_TRUE(CProfileFile(m_path).WriteString("File", "Dir", "/home/a"));
    EXPECT_EQ(Stored(), "[File]\nDir=/home/a\n");
    EXPECT_TRUE(CProfileFile(m_path).WriteInt("Sort", "abc", -5));
    EXPECT_EQ(Stored(), "[File]\nDir=/home/a\n[Sort]\nabc=-5\n");
}

TEST_F(ProfileWrite, ReplacesInPlaceAndKeepsEverythingElse) {
    const std::string before = "; my settings\n\n[sort]\n  ABC = 0  ; old\ngarbage line\n"
                               "\n; about options\n[Option]\nSubdir=1\n";
    Store(before);
    EXPECT_TRUE(CProfileFile(m_path).WriteInt("Sort", "abc", 1));
    EXPECT_EQ(Stored(), "; my settings\n\n[sort]\nABC=1\ngarbage line\n"
                        "\n; about options\n[Option]\nSubdir=1\n");
}

TEST_F(ProfileWrite, NewKeyGoesAfterTheLastKeyOfItsSection) {
    Store("[Sort]\nabc=1\n\n; next\n[Option]\nSubdir=1\n");
    EXPECT_TRUE(CProfileFile(m_path).WriteInt("sort", "Freq", 0));
    EXPECT_EQ(Stored(), "[Sort]\nabc=1\nFreq=0\n\n; next\n[Option]\nSubdir=1\n");
}

TEST_F(ProfileWrite, KeepsWindowsLineEndsAndMissingFinalLineEnd) {
    Store("[A]\r\nx=1\r\n[B]\r\ny=2");
    EXPECT_TRUE(CProfileFile(m_path).WriteString("B", "z", "3"));
    EXPECT_TRUE(CProfileFile(m_path).WriteString("A", "x", "9"));
    EXPECT_EQ(Stored(), "[A]\r\nx=9\r\n[B]\r\ny=2\r\nz=3\r\n");
}

TEST_F(ProfileWrite, EveryValueReadsBackAsWritten) {
    const char* values[] = {"",    " lead",  "trail ", "\"quoted\"", "'q'",    "\"half",
                            "a=b", "; semi", "[x]",    "\t",         "日本語", "\x83\x5c\x95\x5c"};
    CProfileFile profile(m_path);
    for (const char* v : values) {
        ASSERT_TRUE(profile.WriteString("S", "k", v)) << v;
        EXPECT_EQ(profile.GetString("S", "k", "<def>"), v);
    }
}

TEST_F(ProfileWrite, RefusesWhatCannotBeStored) {
    Store("[S]\nk=old\n");
    struct Case {
        const char *section, *key, *value;
    } cases[] = {
        {"S", "k", "two\nlines"}, {"S", "k", "cr\r"}, {"S", "k", nullptr}, {"S]", "k", "v"},
        {"S\n", "k", "v"},        {"S", "a=b", "v"},  {"S", "", "v"},      {"S", " k", "v"},
        {"S", ";k", "v"},         {"S", "[k", "v"},   {nullptr, "k", "v"}, {"S", nullptr, "v"},
    };
    for (const Case& c : cases)
        EXPECT_FALSE(CProfileFile(m_path).WriteString(c.section, c.key, c.value))
            << (c.section ? c.section : "null") << "/" << (c.key ? c.key : "null");
    EXPECT_EQ(Stored(), "[S]\nk=old\n");
}

TEST_F(ProfileWrite, DeleteKeyRemovesOnlyItsLine) {
    Store("[S]\n; c\nk=1\nj=2\n");
    EXPECT_TRUE(CProfileFile(m_path).DeleteKey("s", "K"));
    EXPECT_EQ(Stored(), "[S]\n; c\nj=2\n");
    fs::remove(m_path);
    EXPECT_TRUE(CProfileFile(m_path).DeleteKey("S", "j"));
    EXPECT_FALSE(fs::exists(m_path)); // nothing to delete creates nothing
}

TEST_F(ProfileWrite, EveryReadSeesEveryEarlierWrite) {
    CProfileFile writer(m_path), reader(m_path);
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(writer.WriteInt("Settings", "PreviewPages", i));
        EXPECT_EQ(reader.GetString("Settings", "PreviewPages", ""), std::to_string(i));
    }
}

// ------------------------------------------------------------------ atomicity

using ProfileAtomicWrite = ProfileTest;

TEST_F(ProfileAtomicWrite, LeavesNoTemporaryFiles) {
    CProfileFile profile(m_path);
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(profile.WriteInt("S", Key("k", i).c_str(), i));
    EXPECT_EQ(Entries(), std::vector<std::string>{"VORLAN.INI"});
}

TEST_F(ProfileAtomicWrite, OpenReaderKeepsSeeingTheWholeOldFile) {
    Store("[S]\nk=old\n");
    int fd = ::open(m_path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(CProfileFile(m_path).WriteString("S", "k", "new value"));
    char buffer[64] = {};
    EXPECT_EQ(::read(fd, buffer, sizeof buffer - 1), 10);
    EXPECT_STREQ(buffer, "[S]\nk=old\n");
    ::close(fd);
}

TEST_F(ProfileAtomicWrite, FailedWriteLeavesTheOldFileIntact) {
    if (IsRoot())
        GTEST_SKIP() << "permissions do not bind root";
    Store("[S]\nk=old\n");
    fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(CProfileFile(m_path).WriteString("S", "k", "new"));
    EXPECT_EQ(Get("S", "k"), "old");
    EXPECT_EQ(Entries(), std::vector<std::string>{"VORLAN.INI"});
}

TEST_F(ProfileAtomicWrite, ReadOnlyFileIsNotReplaced) {
    Store("[S]\nk=old\n");
    fs::permissions(m_path, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(CProfileFile(m_path).WriteString("S", "k", "new"));
    EXPECT_FALSE(CProfileFile(m_path).DeleteKey("S", "k"));
    EXPECT_EQ(Stored(), "[S]\nk=old\n");
}

// A file size limit stands in for a full disk; unlike permissions it binds root.
TEST_F(ProfileAtomicWrite, WriteThatRunsOutOfSpaceLeavesTheOldFileIntact) {
    Store("[S]\nk=old\n");
    struct rlimit saved;
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = {64, saved.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool written = CProfileFile(m_path).WriteString("S", "k", std::string(100, 'n').c_str());
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(Stored(), "[S]\nk=old\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"VORLAN.INI"});
}

TEST_F(ProfileAtomicWrite, LongProfileNameStillWrites) {
    std::string path = m_dir + "/" + std::string(250, 'p') + ".INI";
    EXPECT_TRUE(CProfileFile(path).WriteInt("S", "k", 1));
    EXPECT_EQ(CProfileFile(path).GetString("S", "k", ""), "1");
}

TEST_F(ProfileAtomicWrite, KeepsPermissionsAndSymbolicLinks) {
    Store("[S]\nk=old\n");
    fs::permissions(m_path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    std::string link = m_dir + "/link.ini";
    fs::create_symlink(m_path, link);
    ASSERT_TRUE(CProfileFile(link).WriteString("S", "k", "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Get("S", "k"), "new");
    EXPECT_EQ(fs::status(m_path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ProfileAtomicWrite, ConcurrentWritersLoseNoKey) {
    auto writeKeys = [this](const char* prefix) {
        CProfileFile profile(m_path);
        for (int i = 0; i < 15; ++i)
            profile.WriteInt("S", Key(prefix, i).c_str(), i);
    };
    std::thread a(writeKeys, "a"), b(writeKeys, "b");
    a.join();
    b.join();
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(Get("S", Key("a", i).c_str()), std::to_string(i));
        EXPECT_EQ(Get("S", Key("b", i).c_str()), std::to_string(i));
    }
}

// ------------------------------------------------------------------ bad files

using ProfileBadFile = ProfileTest;

TEST_F(ProfileBadFile, BinaryJunkReadsAsDefaultsAndSurvivesAWrite) {
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk.push_back(static_cast<char>((i * 7919 + i / 13) & 0xFF));
    Store(junk);
    EXPECT_EQ(Get("Sort", "abc"), "<def>");
    ASSERT_TRUE(CProfileFile(m_path).WriteInt("Sort", "abc", 1));
    EXPECT_EQ(Get("Sort", "abc"), "1");
    EXPECT_EQ(Stored().substr(0, junk.size()), junk);
}

TEST_F(ProfileBadFile, DirectoryInPlaceReadsAsDefaultsAndRefusesWrites) {
    fs::create_directory(m_path);
    EXPECT_EQ(Get("Sort", "abc"), "<def>");
    EXPECT_FALSE(CProfileFile(m_path).WriteInt("Sort", "abc", 1));
    EXPECT_TRUE(fs::is_directory(m_path));
}

TEST_F(ProfileBadFile, FifoInPlaceNeitherHangsNorIsReplaced) {
    ASSERT_EQ(::mkfifo(m_path.c_str(), 0600), 0);
    EXPECT_EQ(Get("Sort", "abc"), "<def>");
    EXPECT_FALSE(CProfileFile(m_path).WriteInt("Sort", "abc", 1));
    EXPECT_TRUE(fs::is_fifo(m_path));
}

TEST_F(ProfileBadFile, UnreadableFileReadsAsDefaultsAndIsNotReplaced) {
    if (IsRoot())
        GTEST_SKIP() << "permissions do not bind root";
    Store("[Sort]\nabc=1\n");
    fs::permissions(m_path, fs::perms::none);
    EXPECT_EQ(Get("Sort", "abc"), "<def>");
    EXPECT_FALSE(CProfileFile(m_path).WriteInt("Sort", "zyx", 1));
    fs::permissions(m_path, fs::perms::owner_read);
    EXPECT_EQ(Stored(), "[Sort]\nabc=1\n");
}

} // namespace
