#include "settings/color_setting.h"
#include "settings/memory_settings.h"

#include <gtest/gtest.h>

namespace {

TEST(ColorSetting, AbsentKeysGiveTheDefaultColour) {
    CMemorySettings store;
    ColorRef background = 1, text = 1;
    EXPECT_TRUE(CColorSetting::Load(store, "Color", "BkColor", background, 255, 255, 255));
    EXPECT_TRUE(CColorSetting::Load(store, "Color", "TxtColor", text, 0, 0, 0));
    EXPECT_EQ(background, 16777215u);
    EXPECT_EQ(text, 0u);
    ColorRef mixed;
    CColorSetting::Load(store, "Color", "Other", mixed, 1, 2, 3);
    EXPECT_EQ(mixed, 0x030201u);
}

TEST(ColorSetting, HandEditedValuesAreReadWithTheirBase) {
    struct Case {
        const char* text;
        ColorRef expected;
    } cases[] = {
        {"255", 255}, {"0xFF0000", 0xFF0000}, {"0x00ff00", 0xFF00}, {"0377", 255}, {"blue", 0},
        {"", 0},      {"12 red", 12},
    };
    for (const auto& c : cases) {
        CMemorySettings store;
        store.WriteSettingString("Color", "BkColor", c.text);
        ColorRef color = 1;
        CColorSetting::Load(store, "color", "bkcolor", color, 255, 255, 255);
        EXPECT_EQ(color, c.expected) << c.text;
    }
}

TEST(ColorSetting, SavesDecimalNeverHexadecimal) {
    CMemorySettings store;
    EXPECT_TRUE(CColorSetting::Save(store, "Color", "TxtColor", 0xFF));
    EXPECT_EQ(store.Find("Color", "TxtColor"), "255");
    EXPECT_TRUE(CColorSetting::Save(store, "Color", "BkColor", 0xFFFFFF));
    EXPECT_EQ(store.Find("Color", "BkColor"), "16777215");
    ColorRef color;
    CColorSetting::Load(store, "Color", "BkColor", color, 0, 0, 0);
    EXPECT_EQ(color, 0xFFFFFFu);
}

TEST(ColorSetting, HighBitColoursRoundTrip) {
    CMemorySettings store;
    CColorSetting::Save(store, "Color", "TxtColor", 0xFF000001u);
    EXPECT_EQ(store.Find("Color", "TxtColor"), "-16777215");
    ColorRef color;
    CColorSetting::Load(store, "Color", "TxtColor", color, 0, 0, 0);
    EXPECT_EQ(color, 0xFF000001u);
}

} // namespace
