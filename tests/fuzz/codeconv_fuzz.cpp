// euc2sjis and jis2sjis in place: the first input byte picks the function.
// Neither writes past the string (the buffer is exactly its size), neither
// makes it longer, both return their argument, and text they have nothing
// to convert in (ASCII for EUC-JP, no escape byte for JIS) stays as it was.
#include "fuzz_support.h"

#include "tesmo.h"

#include <algorithm>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::CInput in(data, size);
    const bool jis = in.Byte() & 1;
    const std::string text = in.Rest();
    const std::size_t length = std::strlen(text.c_str());
    auto buffer = std::make_unique<char[]>(length + 1);
    std::memcpy(buffer.get(), text.c_str(), length + 1);

    char* result = jis ? jis2sjis(buffer.get()) : euc2sjis(buffer.get());
    FUZZ_CHECK(result == buffer.get());
    const std::size_t after = strnlen(buffer.get(), length + 1);
    FUZZ_CHECK(after <= length);

    const auto begin = text.begin(), end = text.begin() + static_cast<std::ptrdiff_t>(length);
    const bool untouched =
        jis ? std::find(begin, end, '\x1B') == end
            : std::all_of(begin, end, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (untouched)
        FUZZ_CHECK(after == length && std::memcmp(buffer.get(), text.c_str(), length) == 0);
    return 0;
}
