#include "cli/output_file.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
constexpr int kMaxLinks = 40;
} // namespace

std::string ResolveOutputTarget(const std::string& path) {
    fs::path target(path);
    std::error_code ec;
    for (int hops = 0; hops < kMaxLinks && fs::is_symlink(target, ec); ++hops) {
        fs::path next = fs::read_symlink(target, ec);
        if (ec)
            break;
        if (next.is_relative())
            next = target.parent_path() / next;
        target = next;
    }
    // Only a link that leads to a file, or to a new file in a folder that
    // exists, is followed.
    std::error_code exists;
    if (target.string() == path || fs::is_symlink(target, exists) ||
        !fs::is_directory(target.parent_path().empty() ? "." : target.parent_path(), exists))
        return path;
    return target.string();
}

int CheckOutputTarget(const std::string& path) {
    if (path.empty())
        return ENOENT;
    std::string::size_type slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode))
        return ENOTDIR;
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        return errno;
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT ? 0 : errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    // The rename would replace a file that refuses writing: refuse it as
    // writing would, even for a user whom the permissions do not bind.
    if ((st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0)
        return EACCES;
    return 0;
}
