// DOS/Windows file names: textual splitting, parsing of what a user typed
// against a fake drive table, and the Linux drive table itself.
#include "drives.h"
#include "tesmo.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace {

std::unique_ptr<char[]> Exact(const std::string& s) {
    std::unique_ptr<char[]> p(new char[s.size() + 1]);
    std::memcpy(p.get(), s.c_str(), s.size() + 1);
    return p;
}

// Out buffers of exactly the promised 260 bytes, filled with a sentinel.
struct Out {
    std::unique_ptr<char[]> buf{new char[260]};
    Out() { std::strcpy(buf.get(), "untouched"); }
    char* get() { return buf.get(); }
    std::string str() const { return buf.get(); }
};

using SplitFn = void(TESMO_CALL*)(const char*, char*);

std::string Split(SplitFn fn, const std::string& path) {
    auto in = Exact(path);
    Out out;
    fn(in.get(), out.get());
    return out.str();
}

TEST(SplitPath, NameDirectoryAndExtension) {
    struct Case {
        std::string path, file, dir, ext;
    } const cases[] = {
        {"c:\\texts\\a.txt", "A.TXT", "C:\\TEXTS\\", "TXT"},
        {"C:\\TEXTS\\ARCHIVE.TAR.GZ", "ARCHIVE.TAR.GZ", "C:\\TEXTS\\", "GZ"},
        {"C:\\TEXTS\\.PROFILE", ".PROFILE", "C:\\TEXTS\\", "untouched"},
        {"C:\\TEXTS\\README", "README", "C:\\TEXTS\\", "untouched"},
        {"README.TXT", "README.TXT", "", "TXT"},
        {"C:\\TEXTS\\", "", "C:\\TEXTS\\", "untouched"},
        {"a.b\\c", "C", "A.B\\", "untouched"},
        {"", "", "", "untouched"},
        // 0x95 0x5C is one character, not a name and a backslash.
        {"c:\\\x95\x5C.txt", "\x95\x5C.TXT", "C:\\", "TXT"},
        {"\x95\x5C\\\x95\x5C", "\x95\x5C", "\x95\x5C\\", "untouched"},
        // Second bytes in a-z stay as they are.
        {"d:\\\x82\x61x.txt", "\x82\x61X.TXT", "D:\\", "TXT"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Split(GetFilename, c.path), c.file) << c.path;
        EXPECT_EQ(Split(GetDirectory, c.path), c.dir) << c.path;
        EXPECT_EQ(Split(GetExtension, c.path), c.ext) << c.path;
    }
}

TEST(SplitPath, LongPathsAreCutTo259Bytes) {
    const std::string longName(400, 'a');
    EXPECT_EQ(Split(GetFilename, "c:\\" + longName), std::string(256, 'A'));
    EXPECT_EQ(Split(GetDirectory, std::string(300, 'x') + "\\y"), "");
    EXPECT_EQ(Split(GetDirectory, std::string(258, '\\') + "\\"), std::string(259, '\\'));
    // The cut falls between the two bytes of a character.
    const std::string split = Split(GetFilename, std::string(258, 'a') + "\x95\x5C" + "b");
    EXPECT_EQ(split.size(), 259u);
    EXPECT_EQ(Split(GetExtension, std::string(250, 'a') + "." + std::string(100, 'e')),
              std::string(8, 'E'));
}

TEST(SplitPath, NullPointersDoNothing) {
    Out out;
    GetFilename(nullptr, out.get());
    EXPECT_EQ(out.str(), "");
    GetDirectory("C:\\A", nullptr);
    GetExtension("A.B", nullptr);
    GetFilename("A.B", nullptr);
}

// A drive table held in memory: current directories per drive and the
// attributes of the paths that exist, spelled as parse_filename looks them up.
class FakeDrives : public tesmo::DriveTable {
  public:
    int current = 3;
    std::map<int, std::string> directories{{1, "A:\\"}, {3, "C:\\WORK"}, {4, "D:\\NOTES\\"}};
    std::map<std::string, unsigned> entries;

    int CurrentDrive() override { return current; }
    bool CurrentDirectory(int drive, std::string& directory) override {
        auto it = directories.find(drive);
        if (it == directories.end())
            return false;
        directory = it->second;
        return true;
    }
    bool Lookup(const std::string& path, unsigned& attributes) override {
        auto it = entries.find(path);
        if (it == entries.end())
            return false;
        attributes = it->second;
        return true;
    }
};

class ParseFilename : public ::testing::Test {
  protected:
    void SetUp() override {
        using namespace tesmo;
        fake_.entries = {{"C:\\TEXTS", kAttrDirectory},
                         {"C:\\TEXTS\\A.TXT", 0},
                         {"C:\\RO", kAttrDirectory | kAttrReadOnly},
                         {"TEXTS", kAttrDirectory},
                         {"A.TXT", kAttrReadOnly},
                         {"C:\\TEXTS\\\x82\x60.TXT", 0},
                         {"C:\\\x95\x5C\\A.TXT", 0}};
        tesmo::SetDrives(&fake_);
    }
    void TearDown() override { tesmo::SetDrives(nullptr); }

    // Returns "dir|file", or "fail" with the outputs checked unchanged.
    std::string Parse(const std::string& input) {
        auto in = Exact(input);
        Out dir, file;
        const int rc = parse_filename(dir.get(), file.get(), in.get());
        EXPECT_EQ(std::string(in.get()), input) << "the input is read only";
        if (rc != 0) {
            EXPECT_EQ(rc, 1);
            EXPECT_EQ(dir.str(), "untouched");
            EXPECT_EQ(file.str(), "untouched");
            return "fail";
        }
        return dir.str() + "|" + file.str();
    }

    FakeDrives fake_;
};

TEST_F(ParseFilename, DrivesAndBareNames) {
    EXPECT_EQ(Parse(""), "C:\\WORK\\|*.*");
    EXPECT_EQ(Parse("A:"), "A:\\|*.*");
    EXPECT_EQ(Parse("a:"), "A:\\|*.*"); // a small letter names the same drive
    EXPECT_EQ(Parse("D:NOTES.TXT"), "D:\\NOTES\\|NOTES.TXT");
    EXPECT_EQ(Parse("README.TXT"), "C:\\WORK\\|README.TXT");
    EXPECT_EQ(Parse("*.TXT"), "C:\\WORK\\|*.TXT");
    EXPECT_EQ(Parse("E:"), "fail"); // no current directory
    EXPECT_EQ(Parse("E:X.TXT"), "fail");
    EXPECT_EQ(Parse("AB:C"), "fail"); // a colon that is no drive
}

TEST_F(ParseFilename, PathsEndingInABackslash) {
    EXPECT_EQ(Parse("TEXTS\\"), "C:\\TEXTS\\|*.*");
    EXPECT_EQ(Parse("C:\\"), "C:\\|*.*");
    EXPECT_EQ(Parse("D:\\X\\"), "D:\\X\\|*.*");
    EXPECT_EQ(Parse("\\SUB\\"), "C:\\WORK\\SUB\\|*.*"); // not the root
    fake_.current = 4;
    EXPECT_EQ(Parse("TEXTS\\"), "D:\\TEXTS\\|*.*");
}

TEST_F(ParseFilename, LeadingBackslashLooksInTheCurrentDirectory) {
    EXPECT_EQ(Parse("\\TEXTS"), "C:\\WORK\\TEXTS\\|*.*");
    EXPECT_EQ(Parse("\\A.TXT"), "C:\\WORK\\|A.TXT");
    EXPECT_EQ(Parse("\\MISSING"), "fail");
    EXPECT_EQ(Parse("\\"), "fail");
}

TEST_F(ParseFilename, LookupDecidesBetweenDirectoryAndFile) {
    EXPECT_EQ(Parse("C:\\TEXTS"), "C:\\TEXTS\\|*.*");
    EXPECT_EQ(Parse("C:\\TEXTS\\A.TXT"), "C:\\TEXTS\\|A.TXT");
    EXPECT_EQ(Parse("C:\\TEXTS\\MISSING.TXT"), "fail");
    EXPECT_EQ(Parse("C:\\RO"), "C:\\|RO"); // a directory with more attributes
    EXPECT_EQ(Parse("C:\\TEXTS\\*.TXT"), "C:\\TEXTS\\|*.TXT");
    EXPECT_EQ(Parse("X\\Y\\A?.TXT"), "X\\Y\\|A?.TXT"); // relative stays relative
}

TEST_F(ParseFilename, ShiftJisNames) {
    // Full-width small letters become capitals before anything else.
    EXPECT_EQ(Parse("C:\\TEXTS\\\x82\x81.TXT"), "C:\\TEXTS\\|\x82\x60.TXT");
    EXPECT_EQ(Parse("\x82\x81\x82\x9A"), "C:\\WORK\\|\x82\x60\x82\x79");
    // 0x95 0x5C is one character: a bare name, and a directory component.
    EXPECT_EQ(Parse("\x95\x5C.TXT"), "C:\\WORK\\|\x95\x5C.TXT");
    EXPECT_EQ(Parse("C:\\\x95\x5C\\A.TXT"), "C:\\\x95\x5C\\|A.TXT");
    // The current directory gets exactly one backslash, even after 0x5C.
    fake_.directories[3] = "C:\\\x95\x5C";
    EXPECT_EQ(Parse(""), "C:\\\x95\x5C\\|*.*");
    fake_.directories[3] = "C:\\WORK\\\\";
    EXPECT_EQ(Parse(""), "C:\\WORK\\|*.*");
}

TEST_F(ParseFilename, ResultsThatDoNotFitFail) {
    fake_.directories[3] = "C:\\" + std::string(250, 'D');
    EXPECT_EQ(Parse("NAME.TXT"), "C:\\" + std::string(250, 'D') + "\\|NAME.TXT");
    EXPECT_EQ(Parse("\\" + std::string(20, 'S') + "\\"), "fail");
    fake_.directories[3] = "C:\\WORK";
    // Long input is cut to 259 bytes first.
    EXPECT_EQ(Parse("C:\\TEXTS\\" + std::string(400, '*')), "C:\\TEXTS\\|" + std::string(250, '*'));
    EXPECT_EQ(Parse(std::string(300, 'N')), "C:\\WORK\\|" + std::string(259, 'N'));
    Out out;
    EXPECT_EQ(parse_filename(nullptr, out.get(), "A"), 1);
    EXPECT_EQ(parse_filename(out.get(), nullptr, "A"), 1);
    EXPECT_EQ(Parse("A"), "C:\\WORK\\|A");
}

TEST_F(ParseFilename, NullInputIsEmpty) {
    Out dir, file;
    EXPECT_EQ(parse_filename(dir.get(), file.get(), nullptr), 0);
    EXPECT_EQ(dir.str(), "C:\\WORK\\");
}

// The system's table, on a scratch directory that becomes the current one.
class LinuxDrives : public ::testing::Test {
  protected:
    void SetUp() override {
        old_ = std::filesystem::current_path();
        std::string tmpl = ::testing::TempDir() + "tesmo_drives_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
        root_ = tmpl;
        std::filesystem::current_path(root_);
        std::filesystem::create_directory("sub");
        std::filesystem::create_directory("ro");
        ::chmod("ro", 0555);
        for (const char* f : {"a.txt", ".hidden", "sub/b.TXT"})
            ::close(::open(f, O_CREAT | O_WRONLY, 0644));
        ::mkfifo("pipe", 0644);
    }
    void TearDown() override {
        std::filesystem::current_path(old_);
        ::chmod((root_ + "/ro").c_str(), 0755);
        std::filesystem::remove_all(root_);
    }

    static std::string Dos(std::string linux_path) {
        for (char& c : linux_path)
            if (c == '/')
                c = '\\';
        return "C:" + linux_path;
    }

    static bool Lookup(const std::string& path, unsigned& a) {
        return tesmo::SystemDrives().Lookup(path, a);
    }

    std::filesystem::path old_;
    std::string root_;
};

TEST_F(LinuxDrives, CIsTheRootAndHoldsTheCurrentDirectory) {
    tesmo::DriveTable& d = tesmo::SystemDrives();
    EXPECT_EQ(d.CurrentDrive(), 3);
    std::string dir;
    ASSERT_TRUE(d.CurrentDirectory(3, dir));
    EXPECT_EQ(dir, Dos(std::filesystem::current_path().string()));
    EXPECT_FALSE(d.CurrentDirectory(4, dir));
    EXPECT_FALSE(d.CurrentDirectory(1, dir));
}

TEST_F(LinuxDrives, LookupMapsAttributes) {
    using namespace tesmo;
    unsigned a = 0xFF;
    ASSERT_TRUE(Lookup("sub", a));
    EXPECT_EQ(a, kAttrDirectory);
    ASSERT_TRUE(Lookup("a.txt", a));
    EXPECT_EQ(a, 0u);
    ASSERT_TRUE(Lookup(".hidden", a));
    EXPECT_EQ(a, kAttrHidden);
    ASSERT_TRUE(Lookup("ro", a));
    EXPECT_EQ(a, kAttrDirectory | kAttrReadOnly);
    ASSERT_TRUE(Lookup("pipe", a));
    EXPECT_EQ(a, kAttrSystem);
    ASSERT_TRUE(Lookup("sub\\b.TXT", a));
    ASSERT_TRUE(Lookup("C:sub", a)); // relative to C:'s current directory
    ASSERT_TRUE(Lookup(Dos(root_) + "\\sub", a));
    ASSERT_TRUE(Lookup("c:" + Dos(root_).substr(2) + "\\sub\\", a));
    EXPECT_EQ(a, kAttrDirectory);
    EXPECT_FALSE(Lookup("missing", a));
    EXPECT_FALSE(Lookup("A.TXT", a)); // Linux names keep their case
    EXPECT_FALSE(Lookup("D:\\sub", a));
    EXPECT_FALSE(Lookup("", a));
}

TEST_F(LinuxDrives, LookupTakesDosWildcards) {
    unsigned a = 0;
    EXPECT_TRUE(Lookup("*.txt", a));
    EXPECT_TRUE(Lookup("sub\\?.TXT", a));
    EXPECT_TRUE(Lookup("su*", a));
    EXPECT_TRUE(Lookup("pip*.*", a)); // .* also matches no extension
    EXPECT_FALSE(Lookup("*.zzz", a));
    EXPECT_FALSE(Lookup("sub\\*.txt", a));
}

TEST_F(LinuxDrives, ParseFilenameOnTheFileSystem) {
    const std::string cwd = Dos(std::filesystem::current_path().string());
    char dir[260], file[260];
    ASSERT_EQ(parse_filename(dir, file, ""), 0);
    EXPECT_EQ(std::string(dir), cwd + "\\");
    ASSERT_EQ(parse_filename(dir, file, (cwd + "\\sub").c_str()), 0);
    EXPECT_EQ(std::string(dir), cwd + "\\sub\\");
    EXPECT_EQ(std::string(file), "*.*");
    ASSERT_EQ(parse_filename(dir, file, "sub\\b.TXT"), 0);
    EXPECT_EQ(std::string(dir), "sub\\");
    EXPECT_EQ(std::string(file), "b.TXT");
    ASSERT_EQ(parse_filename(dir, file, "\\*.txt"), 0);
    EXPECT_EQ(std::string(dir), cwd + "\\");
    EXPECT_EQ(std::string(file), "*.txt");
    EXPECT_EQ(parse_filename(dir, file, "D:"), 1);
    EXPECT_EQ(parse_filename(dir, file, "sub\\missing"), 1);
}

} // namespace
