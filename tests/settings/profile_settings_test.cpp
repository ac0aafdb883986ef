#include "settings/profile_settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class ProfileSettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "settingsXXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        m_path = m_dir + "/VORLAN.INI";
    }
    void TearDown() override { fs::remove_all(m_dir); }

    void Store(const std::string& text) { std::ofstream(m_path, std::ios::binary) << text; }
    std::string Stored() const {
        std::ifstream in(m_path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    std::string m_dir, m_path;
};

using ProfileSettings = ProfileSettingsTest;

TEST_F(ProfileSettings, FirstRunGivesEveryDefaultAndCreatesNothing) {
    CProfileSettings store(m_path);
    EXPECT_EQ(store.GetSettingInt("Sort", "abc", 0), 0);
    EXPECT_EQ(store.GetSettingInt("Exclude", "Exec", 1), 1);
    EXPECT_EQ(store.GetSettingString("Font", "DisplayFontFace", "FixedSys"), "FixedSys");
    EXPECT_EQ(store.GetSettingString("File", "Dir", nullptr), "");
    EXPECT_FALSE(fs::exists(m_path));
}

TEST_F(ProfileSettings, IntegersAreWrittenInDecimalAndReadBack) {
    CProfileSettings store(m_path);
    EXPECT_TRUE(store.WriteSettingInt("Sort", "Freq", 1));
    EXPECT_TRUE(store.WriteSettingInt("Color", "BkColor", 16777215));
    EXPECT_TRUE(store.WriteSettingInt("Settings", "PreviewPages", -2));
    EXPECT_EQ(Stored(), "[Sort]\nFreq=1\n[Color]\nBkColor=16777215\n[Settings]\nPreviewPages=-2\n");
    EXPECT_EQ(store.GetSettingInt("sort", "freq", 0), 1);
    EXPECT_EQ(store.GetSettingInt("Settings", "PreviewPages", 0), -2);
}

TEST_F(ProfileSettings, HandEditedIntegersReadSensibly) {
    Store("[Exclude]\nExec=\nPict=on\nData= 0 \nArc=1 ; keep\n");
    CProfileSettings store(m_path);
    EXPECT_EQ(store.GetSettingInt("Exclude", "Exec", 1), 1); // empty: as if absent
    EXPECT_EQ(store.GetSettingInt("Exclude", "Pict", 1), 1); // no digits: as if absent
    EXPECT_EQ(store.GetSettingInt("Exclude", "Data", 1), 0);
    EXPECT_EQ(store.GetSettingInt("Exclude", "Arc", 0), 1);
}

TEST_F(ProfileSettings, NullStringRemovesTheKey) {
    CProfileSettings store(m_path);
    store.WriteSettingString("Recent File List", "File1", "/a.txt");
    EXPECT_TRUE(store.WriteSettingString("Recent File List", "File1", nullptr));
    EXPECT_EQ(store.GetSettingString("Recent File List", "File1", "<none>"), "<none>");
}

TEST_F(ProfileSettings, OwnFolderIsCreatedOnFirstWriteOnly) {
    std::string path = m_dir + "/config/vorlan/VORLAN.INI";
    CProfileSettings store(path, true);
    EXPECT_EQ(store.GetSettingInt("Sort", "abc", 0), 0);
    EXPECT_FALSE(fs::exists(m_dir + "/config"));
    EXPECT_TRUE(store.WriteSettingInt("Sort", "abc", 1));
    EXPECT_EQ(store.GetSettingInt("Sort", "abc", 0), 1);
    EXPECT_EQ(fs::status(m_dir + "/config/vorlan").permissions() & fs::perms::all,
              fs::perms::owner_all);
}

TEST_F(ProfileSettings, ForeignFolderIsNotCreated) {
    CProfileSettings store(m_dir + "/typo/VORLAN.INI");
    EXPECT_FALSE(store.WriteSettingInt("Sort", "abc", 1));
    EXPECT_FALSE(fs::exists(m_dir + "/typo"));
}

TEST(ProfileLocation, FollowsTheEnvironment) {
    struct Case {
        const char *ini, *xdg, *home;
        const char* path;
        bool createFolder;
    } cases[] = {
        {"/etc/my.ini", "/x", "/home/u", "/etc/my.ini", false},
        {"rel.ini", nullptr, "/home/u", "rel.ini", false},
        {"", "/x", "/home/u", "/x/vorlan/VORLAN.INI", true},
        {nullptr, "/x", "/home/u", "/x/vorlan/VORLAN.INI", true},
        {nullptr, "", "/home/u", "/home/u/.config/vorlan/VORLAN.INI", true},
        {nullptr, "relative", "/home/u", "/home/u/.config/vorlan/VORLAN.INI", true},
        {nullptr, nullptr, "/home/u", "/home/u/.config/vorlan/VORLAN.INI", true},
        {nullptr, nullptr, nullptr, "VORLAN.INI", false},
    };
    for (const Case& c : cases) {
        ProfileLocation location = FindProfileLocation(c.ini, c.xdg, c.home);
        EXPECT_EQ(location.path, c.path);
        EXPECT_EQ(location.createFolder, c.createFolder) << c.path;
    }
}

TEST(ProfileLocation, ReadsVorlanIniFromTheEnvironment) {
    ::setenv("VORLAN_INI", "/tmp/elsewhere.ini", 1);
    EXPECT_EQ(FindProfileLocation().path, "/tmp/elsewhere.ini");
    ::unsetenv("VORLAN_INI");
    std::string path = FindProfileLocation().path;
    EXPECT_EQ(path.substr(path.size() - 10), "VORLAN.INI");
}

} // namespace
