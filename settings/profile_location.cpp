#include "settings/profile_location.h"

#include "platform/path.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool IsSet(const char* s) {
    return s && *s;
}

std::string HomeFromPasswordDatabase() {
    std::vector<char> buffer(16384);
    struct passwd entry;
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir)
        return {};
    return found->pw_dir;
}

bool IsFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

ProfileLocation FindProfileLocation(const char* vorlanIni, const char* xdgConfigHome,
                                    const char* home) {
    if (IsSet(vorlanIni))
        return {vorlanIni, false};
    std::string config;
    if (IsSet(xdgConfigHome) && xdgConfigHome[0] == '/')
        config = xdgConfigHome;
    else if (IsSet(home))
        config = std::string(home) + "/.config";
    else
        return {kProfileFileName, false};
    return {config + "/vorlan/" + kProfileFileName, true};
}

ProfileLocation FindProfileLocation() {
    const char* home = std::getenv("HOME");
    std::string fallback;
    if (!IsSet(home)) {
        fallback = HomeFromPasswordDatabase();
        home = fallback.c_str();
    }
    return FindProfileLocation(std::getenv("VORLAN_INI"), std::getenv("XDG_CONFIG_HOME"), home);
}

bool CreateProfileFolder(const std::string& path) {
    const std::string folder = FolderOf(path);
    if (folder == "." || folder == "/")
        return true; // the current or the root folder
    for (std::size_t at = folder.find('/', 1);; at = folder.find('/', at + 1)) {
        std::string part = folder.substr(0, at);
        if (!IsFolder(part) && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (at == std::string::npos)
            break;
    }
    return IsFolder(folder);
}
