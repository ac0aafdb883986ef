#include "platform/wildcard.h"

#include "platform/ascii_case.h"

#include <algorithm>

namespace {

bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Length of the character at s[i]: a complete UTF-8 sequence, or one byte.
std::size_t CharLength(const std::string& s, std::size_t i) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    std::size_t n = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b <= 0xDF ? 2 : 1;
    if (n == 1 || i + n > s.size())
        return 1;
    for (std::size_t k = 1; k < n; ++k) {
        if (!IsContinuation(static_cast<unsigned char>(s[i + k])))
            return 1;
    }
    return n;
}

std::vector<std::string> SplitChars(const std::string& s) {
    std::vector<std::string> chars;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = CharLength(s, i);
        chars.emplace_back(s, i, n);
        i += n;
    }
    return chars;
}

// A multi-byte character is never folded, so one comparison serves both.
bool SameChar(const std::string& a, const std::string& b) {
    return AsciiEqualNoCase(a, b);
}

} // namespace

CWildcard::CWildcard(const std::string& pattern) {
    if (pattern == "*.*") {
        m_tokens.push_back({Kind::Star, {}});
        return;
    }
    std::vector<std::string> chars = SplitChars(pattern);
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const std::string& c = chars[i];
        const std::string next = i + 1 < chars.size() ? chars[i + 1] : std::string();
        if (c == "?")
            m_tokens.push_back({Kind::Question, {}});
        else if (c == "*")
            m_tokens.push_back({next == "." ? Kind::DotStar : Kind::Star, {}});
        else if (c == "." && (next.empty() || next == "*" || next == "?"))
            m_tokens.push_back({Kind::Dot, {}});
        else
            m_tokens.push_back({Kind::Literal, c});
    }
}

// A set-of-states walk over the name, one character at a time: reach[i] says
// that the first i tokens can match the characters consumed so far.
bool CWildcard::Matches(const std::string& name) const {
    std::vector<std::string> chars = SplitChars(name);
    const std::size_t n = chars.size();
    std::size_t lastDot = n;
    for (std::size_t j = 0; j < n; ++j) {
        if (chars[j] == ".")
            lastDot = j;
    }
    const std::size_t p = m_tokens.size();
    std::vector<char> reach(p + 1, 0), next(p + 1, 0);
    reach[0] = 1;
    for (std::size_t j = 0;; ++j) {
        const bool atEnd = j == n;
        const bool atDot = !atEnd && chars[j] == ".";
        // Tokens that may match no character here.
        for (std::size_t i = 0; i < p; ++i) {
            if (!reach[i])
                continue;
            Kind k = m_tokens[i].kind;
            if (k == Kind::Star || k == Kind::DotStar ||
                (k == Kind::Question && (atEnd || atDot)) || (k == Kind::Dot && atEnd))
                reach[i + 1] = 1;
        }
        if (atEnd)
            return reach[p] != 0;
        std::fill(next.begin(), next.end(), 0);
        bool any = false;
        for (std::size_t i = 0; i < p; ++i) {
            if (!reach[i])
                continue;
            const Token& t = m_tokens[i];
            bool stay = false, advance = false;
            switch (t.kind) {
            case Kind::Star:
                stay = true;
                break;
            case Kind::DotStar:
                stay = j != lastDot;
                break;
            case Kind::Question:
                advance = !atDot;
                break;
            case Kind::Dot:
                advance = atDot;
                break;
            case Kind::Literal:
                advance = SameChar(t.text, chars[j]);
                break;
            }
            next[i] |= stay;
            next[i + 1] |= advance;
            any = any || stay || advance;
        }
        if (!any)
            return false;
        reach.swap(next);
    }
}

bool WildcardMatch(const std::string& pattern, const std::string& name) {
    return CWildcard(pattern).Matches(name);
}
