#include "platform/file_io.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::optional<std::uint64_t> SizeOfRegular(const struct stat& st) {
    if (!S_ISREG(st.st_mode))
        return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

// The result of a read(2)-like call, restarted while interrupted.
template <typename Read> std::size_t Restarting(Read read, std::error_code& ec) {
    ec.clear();
    for (;;) {
        const ssize_t got = read();
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR) {
            ec = LastSystemError();
            return 0;
        }
    }
}

} // namespace

std::error_code SystemError(int value) {
    return std::error_code(value, std::system_category());
}

std::error_code LastSystemError() {
    return SystemError(errno);
}

CFd OpenForReading(const char* path, std::error_code& ec) {
    CFd fd(::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    ec = fd.Get() < 0 ? LastSystemError() : std::error_code();
    return fd;
}

std::optional<std::uint64_t> RegularFileSize(const char* path) {
    struct stat st;
    if (::stat(path, &st) != 0)
        return std::nullopt;
    return SizeOfRegular(st);
}

std::optional<std::uint64_t> RegularFileSize(int fd) {
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return std::nullopt;
    return SizeOfRegular(st);
}

std::size_t ReadAt(int fd, void* buffer, std::size_t size, std::uint64_t offset,
                   std::error_code& ec) {
    return Restarting([&] { return ::pread(fd, buffer, size, static_cast<off_t>(offset)); }, ec);
}

std::size_t ReadSome(int fd, void* buffer, std::size_t size, std::error_code& ec) {
    return Restarting([&] { return ::read(fd, buffer, size); }, ec);
}

std::error_code WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return LastSystemError();
        if (n == 0)
            return SystemError(EIO);
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}
