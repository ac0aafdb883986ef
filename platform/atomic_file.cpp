#include "platform/atomic_file.h"

#include "platform/fd.h"
#include "platform/file_io.h"
#include "platform/path.h"
#include "platform/remove_on_signal.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr int kMaxLinks = 40;
// A long target name is cut so that the temporary name still fits.
constexpr std::size_t kMaxTempBase = 200;
// The set-user-id and set-group-id bits: a report is never a program.
constexpr mode_t kSetIdBits = S_ISUID | S_ISGID;
constexpr std::size_t kCopyChunk = 64 * 1024;

std::error_code ReadLink(const std::string& link, std::string& text) {
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t n = ::readlink(link.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            return LastSystemError();
        if (static_cast<std::size_t>(n) < buffer.size()) {
            text.assign(buffer, 0, static_cast<std::size_t>(n));
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool SameNode(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether folder is this process's descriptor folder (or its thread's).
bool IsOwnDescriptorFolder(const std::string& folder) {
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0)
        return false;
    for (const char* own : {"/proc/self/fd", "/proc/thread-self/fd"}) {
        struct stat ownSt;
        if (::stat(own, &ownSt) == 0 && SameNode(st, ownSt))
            return true;
    }
    return false;
}

// A file the rename would put in place of one that refuses writing.
bool RefusesWriting(const std::string& path, const struct stat& st) {
    return (st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

// The temporary file beside target: created on construction, removed on
// destruction (or by a signal that ends the process) unless it was renamed
// over the target.
class CTemporaryFile {
  public:
    explicit CTemporaryFile(const std::string& target) {
        static std::atomic<unsigned> counter{0};
        const std::string base(FileNameOf(target).substr(0, kMaxTempBase));
        const std::string prefix = FolderOf(target) + "/." + base + ".tmp";
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_path = prefix + std::to_string(::getpid()) + "-" + std::to_string(counter++);
            m_fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd >= 0 || errno != EEXIST)
                break;
        }
        m_error = m_fd < 0 ? LastSystemError() : std::error_code();
        if (m_fd >= 0)
            m_pGuard = std::make_unique<CRemoveOnSignal>(m_path);
    }
    ~CTemporaryFile() {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_bRenamed && !m_error)
            ::unlink(m_path.c_str());
    }
    CTemporaryFile(const CTemporaryFile&) = delete;
    CTemporaryFile& operator=(const CTemporaryFile&) = delete;

    std::error_code Error() const { return m_error; }
    int Fd() const { return m_fd; }

    // Flushes and closes the file and renames it over target.
    std::error_code CommitAs(const std::string& target) {
        if (::fsync(m_fd) != 0)
            return LastSystemError();
        const int fd = std::exchange(m_fd, -1);
        if (::close(fd) != 0 || ::rename(m_path.c_str(), target.c_str()) != 0)
            return LastSystemError();
        m_bRenamed = true;
        return {};
    }

  private:
    std::string m_path;
    int m_fd = -1;
    std::error_code m_error;
    bool m_bRenamed = false;
    std::unique_ptr<CRemoveOnSignal> m_pGuard;
};

// Makes a rename in the folder durable; the data already is.
void FlushFolder(const std::string& target) {
    CFd folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
        ::fsync(folder.Get());
}

// Opens an existing target for writing in place: never created, never
// truncated on opening, never made the controlling terminal.
CFd OpenInPlace(const std::string& target, std::error_code& ec) {
    CFd fd(::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    ec = fd.Get() < 0 ? LastSystemError() : std::error_code();
    return fd;
}

// A FIFO, a device or a socket: written as it is, through one open.
std::error_code WriteToNode(const std::string& target, const FileContentWriter& write) {
    std::error_code ec;
    CFd fd = OpenInPlace(target, ec);
    if (ec)
        return ec;
    if ((ec = write(fd.Get())))
        return ec;
    return ::close(fd.Release()) == 0 ? std::error_code() : LastSystemError();
}

// Copies the whole of from (from its start) over the start of to, and cuts
// to where the copy ends.
std::error_code CopyOver(int from, int to) {
    std::array<char, kCopyChunk> chunk;
    std::uint64_t offset = 0;
    for (;;) {
        std::error_code ec;
        const std::size_t n = ReadAt(from, chunk.data(), chunk.size(), offset, ec);
        if (ec)
            return ec;
        if (n == 0)
            break;
        if ((ec = WriteAll(to, std::string_view(chunk.data(), n))))
            return ec;
        offset += n;
    }
    if (::ftruncate(to, static_cast<off_t>(offset)) != 0 || ::fsync(to) != 0)
        return LastSystemError();
    return {};
}

// Overwrites target with the finished content of temp, keeping its links,
// owner and group; only its set-id bits go.
std::error_code OverwriteInPlace(const std::string& target, const struct stat& old,
                                 CTemporaryFile& temp) {
    std::error_code ec;
    CFd fd = OpenInPlace(target, ec);
    if (ec)
        return ec;
    if ((old.st_mode & kSetIdBits) && ::fchmod(fd.Get(), old.st_mode & 07777 & ~kSetIdBits) != 0)
        return LastSystemError();
    if ((ec = CopyOver(temp.Fd(), fd.Get())))
        return ec;
    return ::close(fd.Release()) == 0 ? std::error_code() : LastSystemError();
}

// Gives the temporary file the old file's owner and group. False when they
// cannot be given.
bool TakeOverOwnership(int fd, const struct stat& old) {
    const bool same = old.st_uid == ::geteuid() && old.st_gid == ::getegid();
    return same || ::fchown(fd, old.st_uid, old.st_gid) == 0;
}

std::error_code WriteRegular(const std::string& target, const FileContentWriter& write) {
    struct stat old;
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    CTemporaryFile temp(target);
    if (temp.Error())
        return temp.Error();
    bool inPlace = false;
    if (replacing) {
        // The mode first: the content must not be more readable on its way
        // than where it goes, even when it only passes through.
        if (::fchmod(temp.Fd(), old.st_mode & 07777 & ~kSetIdBits) != 0)
            return LastSystemError();
        inPlace = old.st_nlink > 1 || !TakeOverOwnership(temp.Fd(), old);
    }
    if (std::error_code ec = write(temp.Fd()))
        return ec;
    if (inPlace)
        return OverwriteInPlace(target, old, temp);
    if (std::error_code ec = temp.CommitAs(target))
        return ec;
    FlushFolder(target);
    return {};
}

} // namespace

std::optional<int> OwnDescriptorOf(const std::string& path) {
    const std::string_view name = FileNameOf(path);
    int fd = -1;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), fd);
    if (name.empty() || ec != std::errc() || end != name.data() + name.size() || fd < 0)
        return std::nullopt;
    if (!IsOwnDescriptorFolder(FolderOf(path)))
        return std::nullopt;
    return fd;
}

std::error_code ResolveWriteTarget(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0;; ++hops) {
        if (OwnDescriptorOf(target))
            return {}; // its link names what the descriptor had open, not where to write
        struct stat st;
        if (::lstat(target.c_str(), &st) != 0) {
            if (errno != ENOENT)
                return LastSystemError();
            if (hops == 0)
                return {}; // a new file: its folder is checked when it is written
            struct stat folder;
            if (::stat(FolderOf(target).c_str(), &folder) != 0)
                return LastSystemError();
            return S_ISDIR(folder.st_mode) ? std::error_code() : SystemError(ENOTDIR);
        }
        if (!S_ISLNK(st.st_mode))
            return {};
        if (hops == kMaxLinks)
            return SystemError(ELOOP);
        std::string next;
        if (std::error_code ec = ReadLink(target, next))
            return ec;
        target = next.starts_with('/') ? next : FolderOf(target) + "/" + next;
    }
}

std::error_code CheckFileReplaceable(const std::string& target) {
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0)
        return errno == ENOENT ? std::error_code() : LastSystemError();
    if (S_ISDIR(st.st_mode))
        return SystemError(EISDIR);
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
        return SystemError(EINVAL);
    return RefusesWriting(target, st) ? SystemError(EACCES) : std::error_code();
}

std::error_code CheckReplaceable(const std::string& target) {
    if (target.empty())
        return SystemError(ENOENT);
    if (std::optional<int> fd = OwnDescriptorOf(target))
        return ::fcntl(*fd, F_GETFL) < 0 ? LastSystemError() : std::error_code();
    struct stat st;
    if (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
        return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0 ? std::error_code()
                                                                            : LastSystemError();
    const std::string folder = FolderOf(target);
    if (::stat(folder.c_str(), &st) != 0)
        return LastSystemError();
    if (!S_ISDIR(st.st_mode))
        return SystemError(ENOTDIR);
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return LastSystemError();
    return CheckFileReplaceable(target);
}

std::error_code ReplaceFileAtomically(const std::string& path, const FileContentWriter& write) {
    std::string target;
    if (std::error_code ec = ResolveWriteTarget(path, target))
        return ec;
    if (std::error_code ec = CheckReplaceable(target))
        return ec;
    if (std::optional<int> fd = OwnDescriptorOf(target))
        return write(*fd);
    struct stat st;
    if (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return WriteToNode(target, write);
    return WriteRegular(target, write);
}

std::error_code ReplaceFileAtomically(const std::string& path, std::string_view content) {
    return ReplaceFileAtomically(path, [content](int fd) { return WriteAll(fd, content); });
}
