// mbstrstr against a plain search: the result is the first character
// boundary of the haystack where the needle's bytes stand in full.
#include "fuzz_support.h"

#include "tesmo.h"

#include <cstring>

namespace {

// The length up to a lead byte that stands right before the terminator,
// which ends the string for the character-wise functions.
std::size_t CharacterLength(const char* s) {
    const auto* p = reinterpret_cast<const unsigned char*>(s);
    std::size_t i = 0;
    while (p[i]) {
        if (fuzz::IsLeadByte(p[i])) {
            if (!p[i + 1])
                break;
            i += 2;
        } else {
            ++i;
        }
    }
    return i;
}

const char* Expected(const char* haystack, const char* needle) {
    const std::size_t h = CharacterLength(haystack);
    const std::size_t n = CharacterLength(needle);
    const auto* p = reinterpret_cast<const unsigned char*>(haystack);
    for (std::size_t i = 0; i + n <= h; i += fuzz::IsLeadByte(p[i]) ? 2 : 1)
        if (std::memcmp(haystack + i, needle, n) == 0)
            return haystack + i;
    return nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::CInput in(data, size);
    const std::string needle = in.Until('\0');
    const std::string haystack = in.Rest();
    const char* result = mbstrstr(haystack.c_str(), needle.c_str());
    const std::size_t hlen = std::strlen(haystack.c_str());
    FUZZ_CHECK(!result || (result >= haystack.c_str() && result <= haystack.c_str() + hlen));
    if (needle.empty()) {
        FUZZ_CHECK(result == haystack.c_str());
        return 0;
    }
    // A needle that is only a lone lead byte is empty character-wise; both
    // answers are sound there.
    if (CharacterLength(needle.c_str()) == 0)
        return 0;
    FUZZ_CHECK(result == Expected(haystack.c_str(), needle.c_str()));
    return 0;
}
