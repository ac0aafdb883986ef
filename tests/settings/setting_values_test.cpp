#include "settings/memory_settings.h"
#include "settings/setting_values.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

struct TextCase {
    const char* text;
    int expected;
};

TEST(NumericText, ReadsLeadingDecimalDigitsOnly) {
    const TextCase cases[] = {
        {"50", 50},
        {"  70", 70},
        {"\t-3", -3},
        {"+8", 8},
        {"12abc", 12},
        {"1 2", 1},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {" + 5", 0},
        {"0x1F", 0},
        {"010", 10},
        {"007", 7},
        {"3.9", 3},
        {"99999999999", INT_MAX},
        {"-99999999999", INT_MIN},
        {"-2147483648", INT_MIN},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(NumericTextToInt(c.text), c.expected) << '"' << c.text << '"';
}

TEST(IntSetting, TextWithoutDigitsGivesTheDefault) {
    const TextCase cases[] = {
        {"1", 1},      {"0", 0}, {" 7 ", 7}, {"-5", -5},
        {"1 ; on", 1}, {"", 42}, {"on", 42}, {"yes", 42},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(IntSettingFromText(c.text, 42), c.expected) << '"' << c.text << '"';
}

TEST(ColorText, DetectsTheBaseFromThePrefix) {
    const TextCase cases[] = {
        {"16777215", 16777215},
        {"0xFF", 255},
        {"0X00ff00", 0xFF00},
        {"  0x0000FF ", 0xFF},
        {"017", 15},
        {"08", 0}, // octal stops at 8
        {"0x", 0},
        {"0xg", 0},
        {"255abc", 255},
        {"black", 0},
        {"", 0},
        {"-1", -1},
        {"0xFFFFFFFF", INT_MAX}, // as a 32-bit strtol: clamps
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(static_cast<int>(ColorFromText(c.text)), c.expected) << '"' << c.text << '"';
}

TEST(ColorText, ComponentsSitRedLowBlueHigh) {
    constexpr ColorRef c = MakeColorRef(0x12, 0x34, 0x56);
    EXPECT_EQ(c, 0x563412u);
    EXPECT_EQ(RedOf(c), 0x12);
    EXPECT_EQ(GreenOf(c), 0x34);
    EXPECT_EQ(BlueOf(c), 0x56);
    EXPECT_EQ(MakeColorRef(255, 255, 255), 16777215u);
}

TEST(NumericText, PrintKeysReadThroughTheStore) {
    CMemorySettings store;
    EXPECT_EQ(GetSettingNumericText(store, "Print", "Line", "50"), 50);
    store.WriteSettingString("Print", "Line", " 66 rows");
    EXPECT_EQ(GetSettingNumericText(store, "print", "LINE", "50"), 66);
    store.WriteSettingString("Print", "Line", "many");
    EXPECT_EQ(GetSettingNumericText(store, "Print", "Line", "50"), 0);
}

} // namespace
