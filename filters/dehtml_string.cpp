#include "filters/dehtml_string.h"

#include "platform/ascii_case.h"
#include "platform/event_pump.h"

#include <cstring>

namespace {

// The first "->" that starts at or after from, or null. The three bytes
// involved never occur as the second byte of a double-byte character, so a
// byte search is safe for Shift-JIS text.
const char* FindCommentEnd(const char* from, const char* end) {
    const char* p = from;
    while (end - p >= 2) {
        const char* gt = static_cast<const char*>(std::memchr(p + 1, '>', end - p - 1));
        if (!gt)
            return nullptr;
        if (gt[-1] == '-')
            return gt - 1;
        p = gt;
    }
    return nullptr;
}

const char* FindByte(const char* from, const char* end, char c) {
    return static_cast<const char*>(std::memchr(from, c, end - from));
}

// The output never runs ahead of the input, so filtering in place is safe as
// long as the bytes move with memmove.
char* Append(char* out, const char* from, const char* to) {
    std::memmove(out, from, to - from);
    return out + (to - from);
}

} // namespace

CDehtmlString::CDehtmlString() : m_szTag{}, m_bInComment(0), m_bCarryOver(0) {}

void CDehtmlString::Reset() {
    m_bInComment = 0;
    m_bCarryOver = 0;
}

char* CDehtmlString::StripTags(const char* line, char* out) {
    const char* end = line + std::strlen(line);
    const char* s = line;
    char* o = out;
    if (m_bCarryOver) {
        s = SkipCarriedOver(line);
        if (!s) {
            *out = '\0';
            return out;
        }
    }
    for (;;) {
        const char* lt = FindByte(s, end, '<');
        if (!lt) {
            o = Append(o, s, end);
            break;
        }
        o = Append(o, s, lt);
        const char* gt = FindByte(lt + 1, end, '>');
        if (gt) {
            PumpMessages();
            AnalyseTag(lt, gt);
        }
        if (!m_bInComment && gt) {
            s = gt + 1;
            PumpMessages();
            continue;
        }
        if (m_bInComment) {
            if (const char* close = FindCommentEnd(lt + 1, end)) {
                m_bInComment = 0;
                m_bCarryOver = 0;
                s = close + 2;
                PumpMessages();
                continue;
            }
        }
        // The line ends inside a tag or comment: the rest is markup, and so is
        // the next line up to where the markup closes.
        m_bCarryOver = 1;
        break;
    }
    *o = '\0';
    return out;
}

// Where the text of a line starts that begins inside markup carried over from
// an earlier line, or null when the whole line is markup. A tag ends at its
// first ">", which then stays as text; a comment ends after its "->".
const char* CDehtmlString::SkipCarriedOver(const char* line) {
    const char* end = line + std::strlen(line);
    if (m_bInComment) {
        if (const char* close = FindCommentEnd(line, end)) {
            m_bInComment = 0;
            m_bCarryOver = 0;
            PumpMessages();
            return close + 2;
        }
    }
    if (const char* gt = FindByte(line, end, '>')) {
        m_bCarryOver = 0;
        PumpMessages();
        return gt;
    }
    return nullptr;
}

// Records the tag that opens at open and closes at gt: its text up to the
// first space or the ">", upper-cased, to tell a comment from a tag.
void CDehtmlString::AnalyseTag(const char* open, const char* gt) {
    const char* space = FindByte(open + 1, gt, ' ');
    const char* nameEnd = space ? space : gt;
    std::size_t n = static_cast<std::size_t>(nameEnd - open) + 1;
    if (n > kTagSize - 1)
        n = kTagSize - 1;
    while (n > 0 && open[n - 1] == ' ')
        --n;
    for (std::size_t i = 0; i < n; ++i)
        m_szTag[i] = AsciiUpper(open[i]);
    m_szTag[n] = '\0';
    if (std::strncmp(m_szTag, "<!-", 3) == 0) {
        m_bInComment = 1;
        m_bCarryOver = 1;
    }
}
