#include "cli/target.h"

#include "platform/path.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

bool HasDotDot(const fs::path& path) {
    for (const fs::path& part : path)
        if (part == "..")
            return true;
    return false;
}

// Absolute, without "." components or doubled separators. A ".." is only
// resolved against the real directory tree (a symbolic link may stand
// before it), so such paths are made canonical instead.
std::string AbsoluteFolder(const std::string& name, std::error_code& ec) {
    fs::path path = fs::absolute(name, ec);
    if (ec)
        return {};
    path = HasDotDot(path) ? fs::canonical(path, ec) : path.lexically_normal();
    if (ec)
        return {};
    std::string text = path.string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    if (text != "/")
        text += '/';
    return text;
}

bool CanListFolder(const std::string& folder, std::string& reason) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        reason = std::strerror(errno);
        return false;
    }
    ::closedir(dir);
    return true;
}

} // namespace

bool ResolveCountTarget(const std::string& directory, const std::optional<std::string>& pattern,
                        CountTarget& target, std::string& reason) {
    struct stat st {};
    if (::stat(directory.c_str(), &st) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    std::error_code ec;
    if (S_ISDIR(st.st_mode)) {
        target.directory = AbsoluteFolder(directory, ec);
        target.pattern = pattern ? *pattern : "*.*";
    } else if (S_ISREG(st.st_mode) && !pattern) {
        target.directory = AbsoluteFolder(FolderOf(directory), ec);
        target.pattern = FileNameOf(directory);
    } else {
        reason = std::strerror(ENOTDIR);
        return false;
    }
    if (ec) {
        reason = ec.message();
        return false;
    }
    return CanListFolder(target.directory, reason);
}
