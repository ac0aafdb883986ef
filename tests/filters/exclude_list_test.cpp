#include "filters/exclude_list.h"

#include "settings/memory_settings.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// Serves one value longer than any the profile store would return.
class CLongValueStore : public CMemorySettings {
  public:
    explicit CLongValueStore(std::string value) : m_strValue(std::move(value)) {}
    std::string GetSettingString(const char* section, const char* key,
                                 const char* def) const override {
        if (std::string(key) == "UserExt")
            return m_strValue;
        return CMemorySettings::GetSettingString(section, key, def);
    }

  private:
    std::string m_strValue;
};

using Entries = std::vector<std::string>;

const Entries kDefaults = {".EXE", ".COM", ".DLL", ".SYS", ".DRV", ".VBX", ".OCX", ".BMP",
                           ".GIF", ".JPG", ".PCX", ".TIF", ".PCD", ".ICO", ".AVI", ".MOV",
                           ".WAV", ".HLP", ".LZH", ".ZIP", ".ARJ", ".ARC", ".SIT", ".CPT"};

TEST(ExcludeListBuild, DefaultsWithoutAnyProfileKey) {
    CMemorySettings store;
    EXPECT_EQ(CExcludeList(store).Entries(), kDefaults);
}

TEST(ExcludeListBuild, OnlyTheValueOneEnablesACategory) {
    CMemorySettings store;
    store.WriteSettingInt("Exclude", "Arc", 0);
    store.WriteSettingInt("Exclude", "Pict", 2);
    store.WriteSettingInt("Exclude", "Exec", 1);
    CExcludeList list(store);
    Entries expected = {".EXE", ".COM", ".DLL", ".SYS", ".DRV", ".VBX",
                        ".OCX", ".AVI", ".MOV", ".WAV", ".HLP"};
    EXPECT_EQ(list.Entries(), expected);
    EXPECT_FALSE(list.IsExcluded("/tmp/ARCHIVE.ZIP"));
}

struct ListCase {
    const char* name;
    const char* userExt;
    Entries added;
};

class ExcludeListUser : public ::testing::TestWithParam<ListCase> {};

TEST_P(ExcludeListUser, UserItemsFollowTheDefaults) {
    CMemorySettings store;
    store.WriteSettingString("Exclude", "UserExt", GetParam().userExt);
    Entries expected = kDefaults;
    expected.insert(expected.end(), GetParam().added.begin(), GetParam().added.end());
    EXPECT_EQ(CExcludeList(store).Entries(), expected);
}

INSTANTIATE_TEST_SUITE_P(Syntax, ExcludeListUser,
                         ::testing::Values(ListCase{"TwoItems", ".TMP|.BAK", {".TMP", ".BAK"}},
                                           ListCase{"OnlyBars", "||", {}},
                                           ListCase{"Empty", "", {}},
                                           ListCase{"RunsOfBars", "|.A||.B|||", {".A", ".B"}},
                                           ListCase{"SpacesKept", " .TXT |.c", {" .TXT ", ".c"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ExcludeListBuild, OverlongValueIsCut) {
    std::string value;
    for (int i = 0; i < 400; ++i)
        value += ".X" + std::to_string(1000 + i) + "|"; // 7 bytes each
    CLongValueStore store(value);
    store.WriteSettingInt("Exclude", "Exec", 0);
    store.WriteSettingInt("Exclude", "Pict", 0);
    store.WriteSettingInt("Exclude", "Data", 0);
    store.WriteSettingInt("Exclude", "Arc", 0);
    CExcludeList list(store);
    const Entries& entries = list.Entries();
    // 2,047 bytes hold 292 whole items and the first three bytes of the next.
    ASSERT_EQ(entries.size(), 293u);
    EXPECT_EQ(entries[291], ".X1291");
    EXPECT_EQ(entries.back(), ".X1");
}

struct PathCase {
    const char* path;
    bool excluded;
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << '"' << c.path << '"';
}

class ExcludeListDefaults : public ::testing::TestWithParam<PathCase> {};

TEST_P(ExcludeListDefaults, DecidesByTheLastExtension) {
    CMemorySettings store;
    EXPECT_EQ(CExcludeList(store).IsExcluded(GetParam().path), GetParam().excluded);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ExcludeListDefaults,
    ::testing::Values(PathCase{"/DOCS/README.TXT", false}, PathCase{"/BIN/APP.EXE", true},
                      PathCase{"/pics/photo.jpg", true}, PathCase{"ARCHIVE.ZIP", true},
                      PathCase{"/DOCS/DATA.TAR.ZIP", true}, PathCase{"/DOCS/.ZIP", false},
                      PathCase{"/V1.0/README", false}, PathCase{"/X/A.EXE.TXT", false},
                      PathCase{"/X/A.EXEC", false}, PathCase{"/X/NAME.", false},
                      PathCase{"/X/APP.EXE/", false}, PathCase{"/X/EXE", false},
                      // 0x95 0x5C is one Shift-JIS character; its second
                      // byte is a backslash, which is not a separator here.
                      PathCase{"/\x95\x5C/\x95\x5C.EXE", true},
                      PathCase{"/\x95\x5C.DIR/\x95\x5C", false}));

TEST(ExcludeListMatch, LettersCompareWithoutCaseOtherBytesExactly) {
    CMemorySettings store;
    store.WriteSettingString("Exclude", "UserExt", ".txt|.\xE9t\xE9");
    CExcludeList list(store);
    EXPECT_TRUE(list.IsExcluded("/A/B.TXT"));
    EXPECT_TRUE(list.IsExcluded("/a/b.Txt"));
    EXPECT_TRUE(list.IsExcluded("/a/b.\xE9T\xE9"));
    EXPECT_FALSE(list.IsExcluded("/a/b.\xC9T\xC9"));
}

TEST(ExcludeListMatch, DotEntryExcludesNamesWithoutExtension) {
    CMemorySettings store;
    store.WriteSettingString("Exclude", "UserExt", ".");
    CExcludeList list(store);
    EXPECT_TRUE(list.IsExcluded("/X/MAKEFILE"));
    EXPECT_TRUE(list.IsExcluded("/X/.PROFILE"));
    EXPECT_TRUE(list.IsExcluded("/X/TRAILING."));
    EXPECT_TRUE(list.IsExcluded("/X.D/MAKEFILE"));
    EXPECT_FALSE(list.IsExcluded("/X/README.TXT"));
}

} // namespace
