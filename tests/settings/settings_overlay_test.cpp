#include "settings/memory_settings.h"
#include "settings/settings_overlay.h"

#include <gtest/gtest.h>

namespace {

TEST(MemorySettings, FollowsTheProfileRules) {
    CMemorySettings store;
    EXPECT_EQ(store.GetSettingString("Exclude", "UserExt", ".X|"), ".X|");
    store.WriteSettingString("Exclude", "UserExt", "");
    EXPECT_EQ(store.GetSettingString("exclude", "USEREXT", ".X|"), "");
    store.WriteSettingString("File", "Dir", std::string(300, 'd').c_str());
    EXPECT_EQ(store.GetSettingString("File", "Dir", "").size(), 259u);
    EXPECT_EQ(store.Find("File", "Dir")->size(), 300u);
    store.WriteSettingInt("Sort", "Freq", -1);
    EXPECT_EQ(store.Find("Sort", "Freq"), "-1");
    store.WriteSettingString("Sort", "Tail", "on");
    EXPECT_EQ(store.GetSettingInt("Sort", "Tail", 7), 7);
    store.WriteSettingString("SORT", "FREQ", nullptr);
    EXPECT_FALSE(store.Find("Sort", "Freq"));
}

TEST(SettingsOverlay, OverridesWinReadsAndNeverReachTheBase) {
    CMemorySettings base;
    base.WriteSettingInt("Sort", "Freq", 0);
    base.WriteSettingInt("Sort", "abc", 1);
    CSettingsOverlay overlay(base);
    overlay.Override("Sort", "Freq", 1);
    overlay.Override("Exclude", "UserExt", ".TXT|");

    EXPECT_EQ(overlay.GetSettingInt("sort", "FREQ", 0), 1);
    EXPECT_EQ(overlay.GetSettingString("Sort", "Freq", ""), "1");
    EXPECT_EQ(overlay.GetSettingString("Exclude", "UserExt", ""), ".TXT|");
    EXPECT_EQ(overlay.GetSettingInt("Sort", "abc", 0), 1); // not overridden
    EXPECT_EQ(overlay.GetSettingInt("Sort", "Tail", 5), 5);
    EXPECT_EQ(base.GetSettingInt("Sort", "Freq", 9), 0);
    EXPECT_FALSE(base.Find("Exclude", "UserExt"));
}

TEST(SettingsOverlay, WritesGoToTheBaseWhileTheOverrideStands) {
    CMemorySettings base;
    CSettingsOverlay overlay(base);
    overlay.Override("Option", "Subdir", 1);
    EXPECT_TRUE(overlay.WriteSettingInt("Option", "Subdir", 0));
    EXPECT_TRUE(overlay.WriteSettingString("File", "Dir", "/data"));
    EXPECT_EQ(base.Find("Option", "Subdir"), "0");
    EXPECT_EQ(base.Find("File", "Dir"), "/data");
    EXPECT_EQ(overlay.GetSettingInt("Option", "Subdir", 0), 1);
    EXPECT_EQ(overlay.GetSettingString("File", "Dir", ""), "/data");
}

} // namespace
