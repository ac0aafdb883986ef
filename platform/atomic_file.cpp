#include "platform/atomic_file.h"

#include "platform/fd.h"
#include "platform/file_io.h"
#include "platform/path.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr int kMaxLinks = 40;
// A long target name is cut so that the temporary name still fits.
constexpr std::size_t kMaxTempBase = 200;

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

// A file the rename would put in place of one that refuses writing.
bool RefusesWriting(const std::string& path, const struct stat& st) {
    return (st.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

// The temporary file beside target: created on construction, removed on
// destruction unless it was renamed over the target.
class CTemporaryFile {
  public:
    explicit CTemporaryFile(const std::string& target) {
        static std::atomic<unsigned> counter{0};
        const std::string base(FileNameOf(target).substr(0, kMaxTempBase));
        const std::string prefix = FolderOf(target) + "/." + base + ".tmp";
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_path = prefix + std::to_string(::getpid()) + "-" + std::to_string(counter++);
            m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd >= 0 || errno != EEXIST)
                break;
        }
        m_error = m_fd < 0 ? LastSystemError() : std::error_code();
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
};

// Makes a rename in the folder durable; the data already is.
void FlushFolder(const std::string& target) {
    CFd folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
        ::fsync(folder.Get());
}

} // namespace

std::error_code ResolveWriteTarget(const std::string& path, std::string& target) {
    target = path;
    for (int hops = 0;; ++hops) {
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
    const std::string folder = FolderOf(target);
    struct stat st;
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
    struct stat old;
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    CTemporaryFile temp(target);
    if (temp.Error())
        return temp.Error();
    if (replacing && ::fchmod(temp.Fd(), old.st_mode & 07777) != 0)
        return LastSystemError();
    if (std::error_code ec = write(temp.Fd()))
        return ec;
    if (std::error_code ec = temp.CommitAs(target))
        return ec;
    FlushFolder(target);
    return {};
}

std::error_code ReplaceFileAtomically(const std::string& path, std::string_view content) {
    return ReplaceFileAtomically(path, [content](int fd) { return WriteAll(fd, content); });
}
