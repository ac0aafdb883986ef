#include "settings/font_setting.h"
#include "settings/memory_settings.h"
#include "settings/profile_settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace {

std::string Face(const LogFont& f) {
    return std::string(FaceNameOf(f));
}

LogFont CustomFont() {
    LogFont f;
    f.lfHeight = -20;
    f.lfWidth = 8;
    f.lfEscapement = 900;
    f.lfOrientation = -900;
    f.lfWeight = 700;
    f.lfItalic = 1;
    f.lfUnderline = 1;
    f.lfStrikeOut = 1;
    f.lfCharSet = 255;
    f.lfOutPrecision = 3;
    f.lfClipPrecision = 4;
    f.lfQuality = 5;
    f.lfPitchAndFamily = 49;
    SetFaceName(f, "DejaVu Sans Mono");
    return f;
}

void ExpectSameFont(const LogFont& a, const LogFont& b) {
    EXPECT_EQ(0, std::memcmp(&a, &b, sizeof(LogFont)));
}

TEST(FontRecord, DefaultFontSavesTheDefaultRecord) {
    CMemorySettings store;
    EXPECT_TRUE(CFontSetting::Save(store, "Font", "Disp", LogFont{}, 0));
    EXPECT_EQ(store.Find("Font", "DispFont"), "-13 0 0 0 400 0 0 0 128 1 2 1 1 0 0 0");
    EXPECT_EQ(store.Find("Font", "DispFontFace"), "FixedSys");
    EXPECT_EQ(FormatFontRecord(LogFont{}, 0), kDefaultFontRecord);
}

TEST(FontRecord, EveryFieldAndTheColourRoundTrip) {
    const ColorRef colors[] = {0, 255, 0xFFFFFF, 0xFF000000u};
    for (ColorRef color : colors) {
        CMemorySettings store;
        ASSERT_TRUE(CFontSetting::Save(store, "Font", "Display", CustomFont(), color));
        LogFont loaded;
        ColorRef got = 1;
        ASSERT_TRUE(CFontSetting::Load(store, "Font", "Display", loaded, got));
        ExpectSameFont(loaded, CustomFont());
        EXPECT_EQ(got, color);
    }
}

TEST(FontRecord, ChosenRedIsTheFourteenthNumber) {
    CMemorySettings store;
    CFontSetting::Save(store, "Font", "Disp", LogFont{}, MakeColorRef(255, 0, 0));
    EXPECT_EQ(store.Find("Font", "DispFont"), "-13 0 0 0 400 0 0 0 128 1 2 1 1 255 0 0");
}

TEST(FontRecord, MissingKeysLoadTheDefaultFont) {
    CMemorySettings store;
    LogFont f = CustomFont();
    ColorRef color = 77;
    EXPECT_TRUE(CFontSetting::Load(store, "Font", "Display", f, color));
    ExpectSameFont(f, LogFont{});
    EXPECT_EQ(Face(f), "FixedSys");
    EXPECT_EQ(color, 0u);
}

struct RecordCase {
    const char* record;
    int height, weight, italic, charSet, pitch;
    ColorRef color;
};

TEST(FontRecord, HandEditedRecordsLoad) {
    const RecordCase cases[] = {
        // extra numbers after the 14th change nothing
        {"-13 0 0 0 400 0 0 0 128 1 2 1 1 0 0 0 9 9 9", -13, 400, 0, 128, 1, 0},
        {"-13 0 0 0 400 257 0 0 128 1 2 1 1 0 0 0", -13, 400, 1, 128, 1, 0}, // low 8 bits
        {"-13 0 0 0 400 -1 0 0 -128 1 2 1 1 0 0 0", -13, 400, 255, 128, 1, 0},
        {"-24 0 0 0 700", -24, 700, 0, 128, 1, 0}, // short: the rest from the default
        {"-24 0 0 0 700 1 0 0 0 1 2 1 49 16711680", -24, 700, 1, 0, 49, 0xFF0000},
        {"-24 0 x 0 700 1", -24, 400, 0, 128, 1, 0}, // stops at the first non-number
        {"  -16\t0  0 0 400 0 0 0 128 1 2 1 1 65280", -16, 400, 0, 128, 1, 0xFF00},
    };
    for (const RecordCase& c : cases) {
        CMemorySettings store;
        store.WriteSettingString("Font", "DispFont", c.record);
        LogFont f;
        ColorRef color = 99;
        ASSERT_TRUE(CFontSetting::Load(store, "Font", "Disp", f, color)) << c.record;
        EXPECT_EQ(f.lfHeight, c.height) << c.record;
        EXPECT_EQ(f.lfWeight, c.weight) << c.record;
        EXPECT_EQ(f.lfItalic, c.italic) << c.record;
        EXPECT_EQ(f.lfCharSet, c.charSet) << c.record;
        EXPECT_EQ(f.lfPitchAndFamily, c.pitch) << c.record;
        EXPECT_EQ(color, c.color) << c.record;
    }
}

TEST(FontRecord, EmptyOrNumberlessRecordLoadsNothing) {
    for (const char* record : {"", "bold", "; -13 0 0"}) {
        CMemorySettings store;
        store.WriteSettingString("Font", "DisplayFont", record);
        store.WriteSettingString("Font", "DisplayFontFace", "Other");
        LogFont f = CustomFont();
        ColorRef color = 5;
        EXPECT_FALSE(CFontSetting::Load(store, "Font", "Display", f, color)) << record;
        ExpectSameFont(f, CustomFont());
        EXPECT_EQ(color, 5u);
    }
}

TEST(FaceName, LongNamesAreCutWithoutSplittingACharacter) {
    struct Case {
        std::string name, expected;
    } cases[] = {
        {"FixedSys", "FixedSys"},
        {std::string(31, 'a'), std::string(31, 'a')},
        {std::string(40, 'a'), std::string(31, 'a')},
        // UTF-8: 10 three-byte characters plus a point; the 11th would straddle byte 31
        {std::string(30, 'x') + "\xE3\x82\xB4", std::string(30, 'x')},
        {"\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF" + std::string(25, 'y'),
         "\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF" + std::string(19, 'y')},
        // Shift-JIS: a double-byte character at bytes 30 and 31 is left out whole
        {std::string(30, 'z') + "\x82\xA0" + "tail", std::string(30, 'z')},
        {"\x82\x6c\x82\x72 " + std::string(30, 'g'), "\x82\x6c\x82\x72 " + std::string(26, 'g')},
        // Shift-JIS that only looks like UTF-8 (an overlong form, a surrogate)
        // is cut as Shift-JIS: the double-byte character at bytes 29 and 30 stays
        {std::string(29, 'w') + "\xE0\x80\x80" + "BB", std::string(29, 'w') + "\xE0\x80"},
        {std::string(29, 'v') + "\xED\xA0\x80" + "CC", std::string(29, 'v') + "\xED\xA0"},
    };
    for (const Case& c : cases) {
        LogFont f;
        SetFaceName(f, c.name);
        EXPECT_EQ(Face(f), c.expected);
        EXPECT_EQ(f.lfFaceName[kFaceNameSize - 1], '\0');
    }
}

TEST(FaceName, LoadCutsAStoredLongName) {
    CMemorySettings store;
    store.WriteSettingString("Font", "DispFontFace", std::string(60, 'L').c_str());
    LogFont f;
    ColorRef color;
    ASSERT_TRUE(CFontSetting::Load(store, "Font", "Disp", f, color));
    EXPECT_EQ(Face(f), std::string(31, 'L'));
}

TEST(FontRecord, RoundTripsThroughTheProfileFile) {
    std::string pattern = ::testing::TempDir() + "fontXXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    {
        CProfileSettings store(pattern + "/VORLAN.INI");
        ASSERT_TRUE(CFontSetting::Save(store, "Font", "Disp", CustomFont(), 255));
        LogFont f;
        ColorRef color = 0;
        ASSERT_TRUE(CFontSetting::Load(store, "Font", "Disp", f, color));
        ExpectSameFont(f, CustomFont());
        EXPECT_EQ(color, 255u);
        // The other prefix is untouched: a new window still gets the default.
        LogFont display;
        ASSERT_TRUE(CFontSetting::Load(store, "Font", "Display", display, color));
        EXPECT_EQ(Face(display), "FixedSys");
    }
    std::filesystem::remove_all(pattern);
}

} // namespace
