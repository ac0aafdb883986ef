// Where the profile lives. The file is always "VORLAN.INI"; on this platform
// it sits in the user's configuration folder rather than a system folder.
#ifndef VORLAN_SETTINGS_PROFILE_LOCATION_H
#define VORLAN_SETTINGS_PROFILE_LOCATION_H

#include <string>

inline constexpr const char* kProfileFileName = "VORLAN.INI";

struct ProfileLocation {
    std::string path;
    // The folder is ours to create, on the first write (never on a read, so
    // that merely running the program leaves nothing behind).
    bool createFolder = false;
};

// The profile named by VORLAN_INI when that is set and not empty, used as it
// stands; otherwise VORLAN.INI in $XDG_CONFIG_HOME/vorlan/, where an unset,
// empty or relative XDG_CONFIG_HOME means ~/.config. Home is $HOME, or the
// password database's entry when HOME is unset or empty.
ProfileLocation FindProfileLocation();

// The same rule over given values, null meaning unset; with no home at all the
// profile falls back to VORLAN.INI in the current folder.
ProfileLocation FindProfileLocation(const char* vorlanIni, const char* xdgConfigHome,
                                    const char* home);

// Creates the missing folders above path (mode 0700: settings are private).
// True when the folder exists afterwards.
bool CreateProfileFolder(const std::string& path);

#endif
