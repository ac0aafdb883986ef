// Every key of the profile that the program reads or writes by a fixed name,
// with the default its readers pass and the way its value is tested. Keys
// formed at run time ("File1".."File4", the font prefixes) are built by their
// owners from the names below.
#ifndef VORLAN_SETTINGS_SETTING_KEYS_H
#define VORLAN_SETTINGS_SETTING_KEYS_H

#include "settings/settings_store.h"

// An option stored as 0 or 1. Most are on only at exactly 1; a few are on
// for any value but 0.
struct FlagKey {
    const char* section;
    const char* key;
    bool bOnWhenNotZero = false;
};

// An integer key and the default its readers pass.
struct IntKey {
    const char* section;
    const char* key;
    int nDefault = 0;
};

// A string key (also numeric text) and the default its readers pass.
struct StringKey {
    const char* section;
    const char* key;
    const char* pDefault = "";
};

namespace setting_keys {

// How the word list is ordered ("Sort").
inline constexpr FlagKey kAbc{"Sort", "abc"};
inline constexpr FlagKey kZyx{"Sort", "zyx"};
inline constexpr FlagKey kTail{"Sort", "Tail"};
inline constexpr FlagKey kFreq{"Sort", "Freq"};
inline constexpr FlagKey kLowFreq{"Sort", "LowFreq"};
inline constexpr FlagKey kPercent{"Sort", "Percent"};

// What a count reads ("Option").
inline constexpr FlagKey kSubdir{"Option", "Subdir"};
inline constexpr FlagKey kBinary{"Option", "Binary"};
inline constexpr FlagKey kDeHtml{"Option", "DeHTML", true};
// How file bytes are read: a TextEncoding value of the engine.
inline constexpr IntKey kEncoding{"Option", "Encoding", 0};
// How lines are split into words: a SegmentMode value of the engine.
inline constexpr IntKey kSegment{"Option", "Segment", 0};

// The folder the Select Files dialog showed last.
inline constexpr StringKey kDir{"File", "Dir", ""};

// Printing: numeric text that nothing but a hand edit writes, and the page
// number check box of the Print Options dialog. "PageNum" is only written:
// profiles of earlier versions hold 0 there whatever the user meant, so
// printing reads "NumberPages" (absent: on, any value but 0: on).
inline constexpr StringKey kPrintLine{"Print", "Line", "50"};
inline constexpr StringKey kPrintColumn{"Print", "Column", "70"};
inline constexpr StringKey kPrintOffset{"Print", "Offset", "0"};
inline constexpr StringKey kPrintTop{"Print", "Top", "0"};
inline constexpr StringKey kPrintLeft{"Print", "Left", "0"};
inline constexpr StringKey kPrintMaxPage{"Print", "MaxPage", "10"};
inline constexpr FlagKey kPageNum{"Print", "PageNum"};
inline constexpr IntKey kNumberPages{"Print", "NumberPages", 1};

// Fonts are stored under a prefix: the window's font and the Font command's.
inline constexpr const char* kFontSection = "Font";
inline constexpr const char* kDisplayFontPrefix = "Display";
inline constexpr const char* kDispFontPrefix = "Disp";

// Colours of the result windows, 0x00BBGGRR; read as text with base detection.
inline constexpr const char* kColorSection = "Color";
inline constexpr const char* kBkColor = "BkColor";
inline constexpr const char* kTxtColor = "TxtColor";

// The recent-file list ("File1".."File4") and the preview's page count.
inline constexpr const char* kRecentFileSection = "Recent File List";
inline constexpr IntKey kPreviewPages{"Settings", "PreviewPages", 0};

// The exclusion lists: a switch (default on) and a list per category.
inline constexpr const char* kExcludeSection = "Exclude";

// The main window as it was closed: its size and position when not
// maximised (Width 0: never stored), and whether it was maximised.
inline constexpr IntKey kWindowLeft{"Window", "Left", 0};
inline constexpr IntKey kWindowTop{"Window", "Top", 0};
inline constexpr IntKey kWindowWidth{"Window", "Width", 0};
inline constexpr IntKey kWindowHeight{"Window", "Height", 0};
inline constexpr IntKey kWindowMaximized{"Window", "Maximized", 0};

// The folder a report was last saved to: where the save dialog opens next.
inline constexpr StringKey kSaveDir{"Settings", "SaveDir", ""};

} // namespace setting_keys

// Whether the option is on, as its readers test it.
inline bool IsOn(const CSettingsStore& store, const FlagKey& flag) {
    const int value = store.GetSettingInt(flag.section, flag.key, 0);
    return flag.bOnWhenNotZero ? value != 0 : value == 1;
}

// The stored value as the flag's readers see it, 0 or 1 unless hand-edited.
inline int GetFlagValue(const CSettingsStore& store, const FlagKey& flag) {
    return store.GetSettingInt(flag.section, flag.key, 0);
}

inline bool WriteFlag(CSettingsStore& store, const FlagKey& flag, int value) {
    return store.WriteSettingInt(flag.section, flag.key, value);
}

inline int GetInt(const CSettingsStore& store, const IntKey& key) {
    return store.GetSettingInt(key.section, key.key, key.nDefault);
}

inline bool WriteInt(CSettingsStore& store, const IntKey& key, int value) {
    return store.WriteSettingInt(key.section, key.key, value);
}

inline std::string GetString(const CSettingsStore& store, const StringKey& key) {
    return store.GetSettingString(key.section, key.key, key.pDefault);
}

inline bool WriteString(CSettingsStore& store, const StringKey& key, const char* value) {
    return store.WriteSettingString(key.section, key.key, value);
}

#endif
