#include "engine/text_encoding.h"

#include "platform/dir_listing.h"
#include "platform/file_io.h"

#include <fcntl.h>

#include <cstring>
#include <memory>

namespace {

constexpr unsigned char kBom[] = {0xEF, 0xBB, 0xBF};
constexpr std::size_t kPieceSize = 64 * 1024;

} // namespace

bool IsUtf8File(const char* path) {
    const CFd fd(OpenLongPath(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    return fd.Get() >= 0 && IsUtf8Descriptor(fd.Get());
}

bool IsUtf8Descriptor(int fd) {
    if (!RegularFileSize(fd))
        return false;
    auto piece = std::make_unique<unsigned char[]>(kPieceSize);
    CUtf8Validator validator;
    std::error_code ec;
    for (std::uint64_t at = 0;;) {
        const std::size_t got = ReadAt(fd, piece.get(), kPieceSize, at, ec);
        if (ec)
            return false;
        if (got == 0)
            break;
        at += got;
        const auto* end = static_cast<const unsigned char*>(std::memchr(piece.get(), 0x1A, got));
        const std::size_t size = end ? static_cast<std::size_t>(end - piece.get()) : got;
        if (!validator.Feed(piece.get(), size))
            return false;
        if (end)
            break;
    }
    return validator.Complete() && validator.SawMultiByte();
}

bool ReadsFileAsUtf8(int encoding, const char* path) {
    return encoding == kEncodingUtf8 || (encoding == kEncodingDetect && IsUtf8File(path));
}

char* SkipByteOrderMark(char* line) {
    // Byte by byte: a shorter line ends at its terminator, which no mark byte matches.
    const auto* p = reinterpret_cast<const unsigned char*>(line);
    if (p[0] == kBom[0] && p[1] == kBom[1] && p[2] == kBom[2])
        return line + sizeof kBom;
    return line;
}
