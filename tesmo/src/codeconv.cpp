// EUC-JP and ISO-2022-JP to Shift-JIS, in place. Both rest on the one
// mapping of a JIS X 0208 code to its Shift-JIS code. An invalid code ends
// the string (two NUL bytes take the place of the pair); nothing is reported.
#include "tesmo.h"

namespace {

constexpr unsigned char kEsc = 0x1B;

bool InJisRange(int b) {
    return b >= 0x21 && b <= 0x7E;
}

// The Shift-JIS code of JIS code (row, cell), or 0 when it is not one.
unsigned JisToSjis(int row, int cell) {
    if (!InJisRange(row) || !InJisRange(cell))
        return 0;
    int trail;
    if (row % 2 == 1)
        trail = cell + 0x1F + (cell >= 0x60 ? 1 : 0);
    else
        trail = cell + 0x7E;
    const int lead = (row - 1) / 2 + (row < 0x5F ? 0x71 : 0xB1);
    return static_cast<unsigned>(lead << 8 | trail);
}

// Writes the Shift-JIS code of the pair at out (two bytes, NUL NUL when the
// pair is invalid); true when the pair was valid.
bool PutPair(char* out, int row, int cell) {
    const unsigned code = JisToSjis(row, cell);
    out[0] = static_cast<char>(code >> 8);
    out[1] = static_cast<char>(code & 0xFF);
    return code != 0;
}

bool StartsEucPair(unsigned char b) {
    return b >= 0x8E && b <= 0xFE && b != 0x8F && b != 0xA0;
}

unsigned char At(const char* s, long i) {
    return static_cast<unsigned char>(s[i]);
}

// ESC $ @ or ESC $ B. Reads no further than the first byte that differs,
// so never past the terminator.
bool IsKanjiIn(const char* s, long i) {
    return At(s, i) == kEsc && At(s, i + 1) == '$' && (At(s, i + 2) == '@' || At(s, i + 2) == 'B');
}

// ESC ( J or ESC ( B.
bool IsKanjiOut(const char* s, long i) {
    return At(s, i) == kEsc && At(s, i + 1) == '(' && (At(s, i + 2) == 'J' || At(s, i + 2) == 'B');
}

} // namespace

extern "C" {

TESMO_API char* TESMO_CALL euc2sjis(char* s) {
    if (!s)
        return s;
    for (long i = 0; At(s, i) != 0;) {
        const unsigned char b = At(s, i);
        if (!StartsEucPair(b)) {
            ++i;
            continue;
        }
        // A start byte before the terminator pairs with the terminator: the
        // code is invalid and the second NUL lands on the terminator itself.
        const int code = (b << 8 | At(s, i + 1)) - 0x8080;
        if (!PutPair(s + i, code >> 8, code & 0xFF))
            break;
        i += 2;
    }
    return s;
}

// In double-byte mode an odd byte before the terminator is not converted:
// it pairs with the terminator, which is invalid, so the output ends just
// before it and no byte past the terminator is read or written.
TESMO_API char* TESMO_CALL jis2sjis(char* s) {
    if (!s)
        return s;
    long in = 0, out = 0;
    while (At(s, in) != 0) {
        if (!IsKanjiIn(s, in)) {
            s[out++] = s[in++];
            continue;
        }
        in += 3;
        bool valid = true;
        do {
            if (At(s, in) == 0)
                break;
            valid = PutPair(s + out, At(s, in), At(s, in + 1));
            if (!valid)
                break;
            in += 2;
            out += 2;
        } while (!IsKanjiOut(s, in));
        if (!valid)
            return s; // the pair's two NUL bytes end the string
        if (IsKanjiOut(s, in))
            in += 3;
    }
    s[out] = '\0';
    return s;
}

} // extern "C"
