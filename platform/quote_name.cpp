#include "platform/quote_name.h"

namespace {

constexpr unsigned char kDelete = 0x7F;

bool IsControl(unsigned char c) {
    return c < 0x20 || c == kDelete;
}

// The letter of a C escape, or 0 when the byte has none.
char EscapeLetter(unsigned char c) {
    switch (c) {
    case '\a':
        return 'a';
    case '\b':
        return 'b';
    case '\t':
        return 't';
    case '\n':
        return 'n';
    case '\v':
        return 'v';
    case '\f':
        return 'f';
    case '\r':
        return 'r';
    default:
        return 0;
    }
}

void AppendEscaped(std::string& out, unsigned char c) {
    out += '\\';
    if (const char letter = EscapeLetter(c)) {
        out += letter;
        return;
    }
    out += static_cast<char>('0' + (c >> 6));
    out += static_cast<char>('0' + ((c >> 3) & 7));
    out += static_cast<char>('0' + (c & 7));
}

} // namespace

std::string QuoteControlBytes(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (const char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (IsControl(c))
            AppendEscaped(out, c);
        else
            out += ch;
    }
    return out;
}
