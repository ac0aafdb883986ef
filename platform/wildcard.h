// File-name wildcards with the matching rules of the original platform's
// directory listing, so that a pattern selects the same files here:
//  - ASCII letters compare without regard to case, other bytes exactly;
//    a character is one UTF-8 sequence where the bytes form one, else a byte;
//  - "*.*" matches every name, also one without a dot;
//  - "*" matches any run of characters; a "*" directly before a "." cannot
//    swallow the name's last dot, so "*.txt" needs the extension "txt" and
//    "*." matches exactly the names without an extension;
//  - "?" matches one character other than "."; where the name has a "." or
//    has ended, a "?" matches nothing, so "a??.txt" also lists "a.txt";
//  - a "." that ends the pattern or comes before "*" or "?" matches a "." or
//    the end of the name, so "x.*" lists "x" and "x." lists "x" and "x.".
// Names are matched as they are; there are no short (8.3) aliases to match.
#ifndef VORLAN_PLATFORM_WILDCARD_H
#define VORLAN_PLATFORM_WILDCARD_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Matching takes time in proportion to the name's length times the pattern's
// at worst. One object must not match on two threads at once: it keeps its
// working marks between calls, so that a long pattern costs nothing to set
// up for each name.
class CWildcard {
  public:
    explicit CWildcard(const std::string& pattern);

    bool Matches(const std::string& name) const;

  private:
    enum class Kind : unsigned char { Literal, Star, DotStar, Question, Dot };
    struct Token {
        Kind kind;
        std::string text; // the character a literal stands for
    };

    void Close(std::size_t i, bool atEnd, bool atDot) const;
    void NextGeneration() const;

    std::vector<Token> m_tokens;
    std::size_t m_nLiterals = 0; // tokens that each take one character
    // For each token, the first token from it on that is not a "?".
    std::vector<std::size_t> m_skipQuestions;
    // Working state of Matches: the generation in which each token was last
    // marked, and the tokens reached before the current character.
    mutable std::vector<std::uint32_t> m_seen;
    mutable std::uint32_t m_nGeneration = 0;
    mutable std::vector<std::uint32_t> m_closed;
};

// One-off form of CWildcard(pattern).Matches(name).
bool WildcardMatch(const std::string& pattern, const std::string& name);

#endif
