// bmstrstr against a plain bytewise search for the leftmost occurrence; an
// empty pattern must give a safe answer.
#include "fuzz_support.h"

#include "tesmo.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::CInput in(data, size);
    const std::string pattern = in.Until('\0');
    const std::string text = in.Rest();
    bminitialize(pattern.c_str());
    const char* result = bmstrstr(text.c_str(), pattern.c_str());
    const std::size_t n = std::strlen(text.c_str());
    FUZZ_CHECK(!result || (result >= text.c_str() && result <= text.c_str() + n));
    if (!pattern.empty())
        FUZZ_CHECK(result == std::strstr(text.c_str(), pattern.c_str()));
    return 0;
}
