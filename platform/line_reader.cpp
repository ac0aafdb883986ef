#include "platform/line_reader.h"

#include "platform/dir_listing.h"
#include "platform/file_io.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr char kLf = '\n';
constexpr char kCr = '\r';
constexpr char kCtrlZ = 0x1A;

bool IsLineByte(char c) {
    return c == kLf || c == kCr || c == kCtrlZ;
}

// The first LF, CR or Ctrl-Z among the n bytes at p, or p + n. Lines are
// short and those bytes rare inside them, so one vector pass that tests all
// three at once beats three memchr calls.
const char* FindLineByte(const char* p, std::size_t n) {
    const char* end = p + n;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8(kLf);
    const __m128i cr = _mm_set1_epi8(kCr);
    const __m128i ctrlZ = _mm_set1_epi8(kCtrlZ);
    while (end - p >= 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)),
                                   _mm_cmpeq_epi8(v, ctrlZ));
        if (int mask = _mm_movemask_epi8(hit))
            return p + __builtin_ctz(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    while (p < end && !IsLineByte(*p))
        ++p;
    return p;
}

// Why a file of this kind is not read by path: 0 for a regular file.
int RefusalOf(const struct stat& st) {
    if (S_ISREG(st.st_mode))
        return 0;
    return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
}

} // namespace

void CTextLineReader::Reset() {
    Close();
    m_bEnd = false;
    m_bFailed = false;
    m_bCtrlZ = false;
    m_error.clear();
}

bool CTextLineReader::Refuse(int error) {
    m_error = SystemError(error);
    return false;
}

bool CTextLineReader::Attach(int fd, std::uint64_t size) {
    if (!m_buffer) {
        m_buffer.reset(new (std::nothrow) char[kReadSize]);
        if (!m_buffer) {
            ::close(fd);
            return Refuse(ENOMEM);
        }
    }
    m_fd = fd;
    m_pPos = m_pEnd = m_buffer.get();
    m_nBytesRead = 0;
    m_nLeft = size;
    m_bSizeKnown = size > 0;
    m_bPositional = false;
    m_nOffset = 0;
    m_nUnknownLimit = UINT64_MAX;
    return true;
}

bool CTextLineReader::Open(const char* path) {
    Reset();
    // Anything but a regular file is refused before it is opened. The path
    // may change between the two looks, so O_NONBLOCK still keeps the open
    // from waiting, and the open file is checked again.
    // A path of any length: a file deep in a tree is opened piece by piece.
    struct stat st;
    if (StatLongPath(path, st) != 0)
        return Refuse(errno);
    if (int refusal = RefusalOf(st))
        return Refuse(refusal);
    int fd = OpenLongPath(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return Refuse(errno);
    int refusal = ::fstat(fd, &st) != 0 ? errno : RefusalOf(st);
    if (refusal) {
        ::close(fd);
        return Refuse(refusal);
    }
    int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    if (!Attach(fd, static_cast<std::uint64_t>(st.st_size)))
        return false;
    m_nUnknownLimit = kUnknownSizeLimit;
    return true;
}

bool CTextLineReader::OpenPart(const char* path, std::uint64_t begin, std::uint64_t end) {
    if (!Open(path))
        return false;
    Narrow(begin, end);
    return true;
}

bool CTextLineReader::OpenPartOf(int fd, std::uint64_t begin, std::uint64_t end) {
    Reset();
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return Refuse(errno);
    if (int refusal = RefusalOf(st))
        return Refuse(refusal);
    int own = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (own < 0)
        return Refuse(errno);
    if (!Attach(own, static_cast<std::uint64_t>(st.st_size)))
        return false;
    m_nUnknownLimit = kUnknownSizeLimit;
    m_bPositional = true;
    Narrow(begin, end);
    return true;
}

void CTextLineReader::Narrow(std::uint64_t begin, std::uint64_t end) {
    // A file whose size is unknown (reported as 0) has no parts: its first
    // part is all of it.
    if (!m_bSizeKnown) {
        m_bEnd = begin > 0;
        return;
    }
    const std::uint64_t size = m_nLeft;
    end = end < size ? end : size;
    begin = begin < end ? begin : end;
    // Positional reads: the descriptor's own position may be shared.
    m_bPositional = m_bPositional || begin > 0;
    m_nOffset = begin;
    m_nLeft = end - begin;
    m_bEnd = m_nLeft == 0;
}

bool CTextLineReader::OpenDescriptor(int fd) {
    Reset();
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return Refuse(errno);
    if (S_ISDIR(st.st_mode))
        return Refuse(EISDIR);
    int own = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (own < 0)
        return Refuse(errno);
    // Read to its end whatever its kind: a pipe's size says nothing.
    return Attach(own, 0);
}

void CTextLineReader::Close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_pPos = m_pEnd = m_buffer.get();
    m_bEnd = true;
}

// Refills the buffer; false at the end of the data. A read error ends the
// file as the end would, and is remembered for Failed().
bool CTextLineReader::Fill() {
    if (m_bEnd || m_fd < 0)
        return false;
    for (;;) {
        std::size_t want = kReadSize;
        if (m_bSizeKnown && m_nLeft < want)
            want = static_cast<std::size_t>(m_nLeft);
        const bool tooLong = !m_bSizeKnown && m_nBytesRead >= m_nUnknownLimit;
        ssize_t got = tooLong ? -1 : want > 0 ? ReadPiece(want) : 0;
        if (tooLong)
            errno = EFBIG;
        if (got > 0) {
            m_nBytesRead += static_cast<std::uint64_t>(got);
            m_nOffset += static_cast<std::uint64_t>(got);
            m_nLeft -= m_bSizeKnown ? static_cast<unsigned long long>(got) : 0;
            m_pPos = m_buffer.get();
            m_pEnd = m_pPos + got;
            return true;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            m_bFailed = true;
            m_error = LastSystemError();
        }
        m_bEnd = true;
        m_pPos = m_pEnd = m_buffer.get();
        return false;
    }
}

ssize_t CTextLineReader::ReadPiece(std::size_t want) {
    if (m_bPositional)
        return ::pread(m_fd, m_buffer.get(), want, static_cast<off_t>(m_nOffset));
    return ::read(m_fd, m_buffer.get(), want);
}

bool CTextLineReader::ReadLine(char* buf, std::size_t size, std::size_t* length) {
    if (size == 0) {
        if (length)
            *length = 0;
        return false;
    }
    char* out = buf;
    std::size_t room = size - 1;
    while (room > 0) {
        if (m_pPos == m_pEnd && !Fill())
            break;
        std::size_t avail = static_cast<std::size_t>(m_pEnd - m_pPos);
        if (avail > room)
            avail = room;
        const char* hit = FindLineByte(m_pPos, avail);
        std::size_t plain = static_cast<std::size_t>(hit - m_pPos);
        std::memcpy(out, m_pPos, plain);
        out += plain;
        room -= plain;
        m_pPos = hit;
        if (plain == avail)
            continue;
        char c = *m_pPos++;
        if (c == kCtrlZ) {
            m_bEnd = true;
            m_bCtrlZ = true;
            m_pPos = m_pEnd;
            break;
        }
        if (c == kCr) {
            // A CR at the end of the buffer needs the next byte to decide.
            if (m_pPos == m_pEnd)
                Fill();
            if (m_pPos == m_pEnd || *m_pPos != kLf) {
                *out++ = kCr;
                --room;
                continue;
            }
            ++m_pPos;
        }
        *out++ = kLf;
        break;
    }
    *out = '\0';
    std::size_t stored = static_cast<std::size_t>(out - buf);
    if (length)
        *length = stored;
    return stored != 0;
}
