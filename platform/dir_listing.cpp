#include "platform/dir_listing.h"

#include "platform/ascii_case.h"
#include "platform/file_io.h"
#include "platform/wildcard.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

class CDirHandle {
  public:
    explicit CDirHandle(const std::string& dir) : m_pDir(::opendir(dir.c_str())) {}
    // A stream of its own on the directory open at fd, from its start.
    explicit CDirHandle(int fd) : m_pDir(nullptr) {
        const int own = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
        if (own < 0)
            return;
        m_pDir = ::fdopendir(own);
        if (!m_pDir)
            ::close(own);
        else
            ::rewinddir(m_pDir);
    }
    ~CDirHandle() {
        if (m_pDir)
            ::closedir(m_pDir);
    }
    CDirHandle(const CDirHandle&) = delete;
    CDirHandle& operator=(const CDirHandle&) = delete;

    DIR* get() const { return m_pDir; }

  private:
    DIR* m_pDir;
};

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool StatAt(int dirFd, const char* name, bool follow, struct stat& st) {
    return ::fstatat(dirFd, name, &st, follow ? 0 : AT_SYMLINK_NOFOLLOW) == 0;
}

// A regular file, or a link that leads to one.
bool IsPlainFile(int dirFd, const dirent& e) {
    if (e.d_type == DT_REG)
        return true;
    if (e.d_type != DT_LNK && e.d_type != DT_UNKNOWN)
        return false;
    struct stat st;
    return StatAt(dirFd, e.d_name, true, st) && S_ISREG(st.st_mode);
}

// A directory in its own right; links are never taken for one.
bool IsRealDirectory(int dirFd, const dirent& e) {
    if (e.d_type != DT_UNKNOWN)
        return e.d_type == DT_DIR;
    struct stat st;
    return StatAt(dirFd, e.d_name, false, st) && S_ISDIR(st.st_mode);
}

DirEntryKind KindOf(int dirFd, const dirent& e) {
    unsigned char type = e.d_type;
    struct stat st;
    if (type == DT_UNKNOWN) {
        if (!StatAt(dirFd, e.d_name, false, st))
            return DirEntryKind::Other;
        if (S_ISDIR(st.st_mode))
            return DirEntryKind::Directory;
        type = S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
    }
    if (type == DT_DIR)
        return DirEntryKind::Directory;
    if (type == DT_LNK && StatAt(dirFd, e.d_name, true, st) && S_ISDIR(st.st_mode))
        return DirEntryKind::LinkToDirectory;
    return DirEntryKind::Other;
}

// Calls visit(dirFd, entry) for every entry of dir, in the file system's
// order; the one place that reads a directory.
template <typename Where, typename Visit>
std::error_code ScanDirectory(const Where& dir, Visit visit) {
    CDirHandle handle(dir);
    if (!handle.get())
        return LastSystemError();
    int dirFd = ::dirfd(handle.get());
    for (;;) {
        errno = 0;
        const dirent* e = ::readdir(handle.get());
        if (!e)
            break;
        visit(dirFd, *e);
    }
    if (errno != 0)
        return LastSystemError();
    return {};
}

template <typename T, typename Key> void SortForListing(std::vector<T>& items, Key key) {
    std::sort(items.begin(), items.end(),
              [&](const T& a, const T& b) { return ListingOrder(key(a), key(b)); });
}

std::error_code Finish(std::error_code ec, std::vector<std::string>& names) {
    if (ec)
        names.clear();
    else
        SortForListing(names, [](const std::string& s) -> const std::string& { return s; });
    return ec;
}

// The sorted names of dir's entries that are not hidden, match pattern and
// are of the kind isKind(dirFd, entry) accepts.
template <typename IsKind>
std::error_code ListVisible(const std::string& dir, const std::string& pattern,
                            std::vector<std::string>& names, IsKind isKind) {
    names.clear();
    const CWildcard wildcard(pattern);
    auto ec = ScanDirectory(dir, [&](int dirFd, const dirent& e) {
        if (e.d_name[0] != '.' && wildcard.Matches(e.d_name) && isKind(dirFd, e))
            names.emplace_back(e.d_name);
    });
    return Finish(ec, names);
}

} // namespace

bool ListingOrder(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(AsciiUpper(a[i]));
        const auto y = static_cast<unsigned char>(AsciiUpper(b[i]));
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

std::error_code ListPlainFiles(const std::string& dir, const std::string& pattern,
                               std::vector<std::string>& names) {
    return ListVisible(dir, pattern, names, IsPlainFile);
}

std::error_code ListSubdirectories(const std::string& dir, const std::string& pattern,
                                   std::vector<std::string>& names) {
    return ListVisible(dir, pattern, names, IsRealDirectory);
}

namespace {

template <typename Where>
std::error_code ReadEntries(const Where& dir, std::vector<CDirEntry>& entries) {
    entries.clear();
    auto ec = ScanDirectory(dir, [&](int dirFd, const dirent& e) {
        DirEntryKind kind = IsDotOrDotDot(e.d_name) ? DirEntryKind::Directory : KindOf(dirFd, e);
        entries.push_back({e.d_name, kind});
    });
    if (ec)
        entries.clear();
    else
        SortForListing(entries, [](const CDirEntry& e) -> const std::string& { return e.name; });
    return ec;
}

// The longest piece of a path handed to the system in one call.
constexpr std::size_t kPieceMax = PATH_MAX - 1;

// Opens the directories of path up to where a piece of at most kPieceMax
// bytes remains, and sets rest to that piece. AT_FDCWD (nothing opened) for
// a path short enough, -1 with errno set on failure.
int OpenLeadingDirectories(const char* path, const char*& rest, CFd& held) {
    rest = path;
    int at = AT_FDCWD;
    while (std::strlen(rest) > kPieceMax) {
        // Cut after the last '/' that keeps the piece short enough.
        std::size_t cut = kPieceMax;
        while (cut > 0 && rest[cut - 1] != '/')
            --cut;
        if (cut == 0) {
            errno = ENAMETOOLONG;
            return -1;
        }
        const std::string piece(rest, cut);
        const int fd = ::openat(at, piece.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return -1;
        held = CFd(fd);
        at = fd;
        rest += cut;
    }
    return at;
}

} // namespace

std::error_code ReadDirectoryEntries(const std::string& dir, std::vector<CDirEntry>& entries) {
    return ReadEntries(dir, entries);
}

std::error_code ReadDirectoryEntriesAt(int dirFd, std::vector<CDirEntry>& entries) {
    return ReadEntries(dirFd, entries);
}

CFd OpenDirectoryAt(int parentFd, const std::string& name, std::error_code& ec) {
    const int fd =
        ::openat(parentFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    ec = fd < 0 ? LastSystemError() : std::error_code();
    return CFd(fd);
}

int OpenLongPath(const char* path, int flags) {
    CFd held;
    const char* rest = nullptr;
    const int at = OpenLeadingDirectories(path, rest, held);
    if (at == -1)
        return -1;
    return ::openat(at, rest, flags);
}

int StatLongPath(const char* path, struct stat& st) {
    CFd held;
    const char* rest = nullptr;
    const int at = OpenLeadingDirectories(path, rest, held);
    if (at == -1)
        return -1;
    return ::fstatat(at, rest, &st, 0);
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

DirEntryKind PathKind(const std::string& path) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        return DirEntryKind::Other;
    if (S_ISDIR(st.st_mode))
        return DirEntryKind::Directory;
    if (S_ISLNK(st.st_mode) && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return DirEntryKind::LinkToDirectory;
    return DirEntryKind::Other;
}
