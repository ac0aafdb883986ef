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
    // "*.*" matches every name, also one without a dot.
    std::vector<std::string> chars = SplitChars(pattern == "*.*" ? "*" : pattern);
    for (std::size_t i = 0; i < chars.size(); ++i) {
        const std::string& c = chars[i];
        const std::string next = i + 1 < chars.size() ? chars[i + 1] : std::string();
        Token token{Kind::Literal, c};
        if (c == "?")
            token = {Kind::Question, {}};
        else if (c == "*")
            token = {next == "." ? Kind::DotStar : Kind::Star, {}};
        else if (c == "." && (next.empty() || next == "*" || next == "?"))
            token = {Kind::Dot, {}};
        // A "*" before another matches nothing the second could not: "**"
        // is "*", and "**." is "*." (the first cannot take the last dot
        // that the "." after them still needs).
        if ((token.kind == Kind::Star || token.kind == Kind::DotStar) && !m_tokens.empty() &&
            m_tokens.back().kind == Kind::Star)
            m_tokens.pop_back();
        m_nLiterals += token.kind == Kind::Literal ? 1 : 0;
        m_tokens.push_back(std::move(token));
    }
    m_skipQuestions.assign(m_tokens.size() + 1, m_tokens.size());
    for (std::size_t i = m_tokens.size(); i-- > 0;)
        m_skipQuestions[i] = m_tokens[i].kind == Kind::Question ? m_skipQuestions[i + 1] : i;
    m_seen.assign(m_tokens.size() + 1, 0);
}

// Adds to m_closed token i and every token after it that can match no
// character here, each once per generation.
void CWildcard::Close(std::size_t i, bool atEnd, bool atDot) const {
    const std::size_t p = m_tokens.size();
    for (;;) {
        if (m_seen[i] == m_nGeneration)
            return;
        m_seen[i] = m_nGeneration;
        m_closed.push_back(static_cast<std::uint32_t>(i));
        if (i == p)
            return;
        const Kind k = m_tokens[i].kind;
        if (k == Kind::Question && (atEnd || atDot))
            i = m_skipQuestions[i]; // a run of "?" matches nothing here at once
        else if (k == Kind::Star || k == Kind::DotStar || (k == Kind::Dot && atEnd))
            ++i;
        else
            return;
    }
}

// A walk over the name, one character at a time, that keeps only the tokens
// the characters consumed so far can have reached, so that its cost is
// bounded by the name's length times the states alive, never more than the
// pattern's length.
bool CWildcard::Matches(const std::string& name) const {
    std::vector<std::string> chars = SplitChars(name);
    const std::size_t n = chars.size();
    if (m_nLiterals > n)
        return false; // each literal takes a character of its own
    std::size_t lastDot = n;
    for (std::size_t j = 0; j < n; ++j) {
        if (chars[j] == ".")
            lastDot = j;
    }
    const std::size_t p = m_tokens.size();
    std::vector<std::uint32_t> active{0};
    for (std::size_t j = 0;; ++j) {
        const bool atEnd = j == n;
        const bool atDot = !atEnd && chars[j] == ".";
        NextGeneration();
        m_closed.clear();
        for (const std::uint32_t i : active)
            Close(i, atEnd, atDot);
        if (atEnd)
            return m_seen[p] == m_nGeneration;
        NextGeneration();
        active.clear();
        const auto reach = [&](std::size_t i) {
            if (m_seen[i] != m_nGeneration) {
                m_seen[i] = m_nGeneration;
                active.push_back(static_cast<std::uint32_t>(i));
            }
        };
        for (const std::uint32_t i : m_closed) {
            if (i == p)
                continue;
            const Token& t = m_tokens[i];
            if (t.kind == Kind::Star || (t.kind == Kind::DotStar && j != lastDot))
                reach(i);
            else if ((t.kind == Kind::Question && !atDot) || (t.kind == Kind::Dot && atDot) ||
                     (t.kind == Kind::Literal && SameChar(t.text, chars[j])))
                reach(i + 1);
        }
        if (active.empty())
            return false;
    }
}

void CWildcard::NextGeneration() const {
    if (++m_nGeneration == 0) { // wrapped: old marks could pass for new ones
        std::fill(m_seen.begin(), m_seen.end(), 0);
        m_nGeneration = 1;
    }
}

bool WildcardMatch(const std::string& pattern, const std::string& name) {
    return CWildcard(pattern).Matches(name);
}
