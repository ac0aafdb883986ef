#include "engine/text_encoding.h"

#include "platform/fd.h"

#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr unsigned char kBom[] = {0xEF, 0xBB, 0xBF};
constexpr std::size_t kPieceSize = 64 * 1024;

} // namespace

bool CUtf8Validator::Feed(const unsigned char* data, std::size_t size) {
    for (std::size_t i = 0; i < size && m_bValid; ++i) {
        const unsigned char c = data[i];
        if (m_nPending > 0) {
            if (c < m_nLow || c > m_nHigh)
                m_bValid = false;
            --m_nPending;
            m_nLow = 0x80, m_nHigh = 0xBF;
            continue;
        }
        if (c < 0x80)
            continue;
        m_bMultiByte = true;
        // The first continuation byte's range rules out overlong forms,
        // surrogates and code points past U+10FFFF.
        if (c >= 0xC2 && c <= 0xDF) {
            m_nPending = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            m_nPending = 2;
            m_nLow = c == 0xE0 ? 0xA0 : 0x80;
            m_nHigh = c == 0xED ? 0x9F : 0xBF;
        } else if (c >= 0xF0 && c <= 0xF4) {
            m_nPending = 3;
            m_nLow = c == 0xF0 ? 0x90 : 0x80;
            m_nHigh = c == 0xF4 ? 0x8F : 0xBF;
        } else {
            m_bValid = false;
        }
    }
    return m_bValid;
}

bool IsUtf8File(const char* path) {
    CFd fd(::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st;
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    auto piece = std::make_unique<unsigned char[]>(kPieceSize);
    CUtf8Validator validator;
    for (;;) {
        const ssize_t got = ::read(fd.Get(), piece.get(), kPieceSize);
        if (got < 0)
            return false;
        if (got == 0)
            break;
        const auto* end = static_cast<const unsigned char*>(
            std::memchr(piece.get(), 0x1A, static_cast<std::size_t>(got)));
        const std::size_t size =
            end ? static_cast<std::size_t>(end - piece.get()) : static_cast<std::size_t>(got);
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
