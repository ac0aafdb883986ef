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
#include <string>
#include <vector>

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

    std::vector<Token> m_tokens;
};

// One-off form of CWildcard(pattern).Matches(name).
bool WildcardMatch(const std::string& pattern, const std::string& name);

#endif
