// gettoken and Rekkc with options taken from the first input bytes. gettoken
// writes a terminated word of the line (its bytes in their order) or nothing
// into its 1,000-byte buffer and leaves strword with nothing to continue;
// Rekkc answers 0 or 1, and its plain forward search finds what a bytewise
// search finds.
#include "fuzz_support.h"

#include "tesmo.h"

#include <cstring>
#include <memory>

namespace {

constexpr std::size_t kTokenSize = 1000;

void CheckGettoken(fuzz::CInput& in, const std::string& line) {
    const int n = static_cast<std::int8_t>(in.Byte()) % 6;
    const int mode = in.Byte() % 3;
    const int pos = static_cast<std::int8_t>(in.Byte()) + 2;
    // Exactly the documented size, so a longer write shows up.
    auto out = std::make_unique<char[]>(kTokenSize);
    std::memset(out.get(), 'Z', kTokenSize);
    gettoken(n, mode, pos, 0, line.c_str(), out.get());
    const std::size_t length = strnlen(out.get(), kTokenSize);
    FUZZ_CHECK(length < kTokenSize);
    const std::string copy = std::string(line.c_str()).substr(0, kTokenSize - 1);
    FUZZ_CHECK(copy.find(std::string(out.get(), length)) != std::string::npos);
    // The continuation must not point into gettoken's own buffer.
    FUZZ_CHECK(strword(nullptr) == nullptr);
}

void CheckRekkc(fuzz::CInput& in, const std::string& line) {
    static constexpr int kTypes[] = {0, 1, 11, -9, 2, -1, 12, -10, 3, -100};
    static constexpr int kChecks[] = {0, 1, 2, 3, 11, 13, 21, 23, 31, 33, 12};
    const int type = kTypes[in.Byte() % std::size(kTypes)];
    const int lower = in.Byte() % 3;
    const int check = kChecks[in.Byte() % std::size(kChecks)];
    const int pos = static_cast<std::int8_t>(in.Byte()) + 2;
    const int len = static_cast<std::int8_t>(in.Byte()) % 8;
    const std::size_t split = in.Byte();
    const std::string keyword = line.substr(0, std::min(split % 6, line.size()));
    const std::string rest = line.substr(keyword.size());
    const int result = Rekkc(type, lower, check, pos, len, rest.c_str(), keyword.c_str());
    FUZZ_CHECK(result == 0 || result == 1);
    // Forward searches that check no word bounds find any later occurrence
    // in the line's first 259 bytes.
    const bool plainForward = (type == 0 || (type == 1 && check == 0)) && lower == 0;
    const std::string copy = std::string(rest.c_str()).substr(0, 259);
    const long long from = static_cast<long long>(pos) + len - 1;
    if (plainForward && !keyword.empty() && keyword.find('\0') == std::string::npos && from >= 0 &&
        from <= static_cast<long long>(copy.size())) {
        const bool found = copy.find(keyword, static_cast<std::size_t>(from)) != std::string::npos;
        FUZZ_CHECK(result == (type == 0 ? found : !found));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::CInput in(data, size);
    const bool rekkc = in.Byte() & 1;
    fuzz::CInput options = in;
    for (int i = 0; i < 8; ++i)
        in.Byte();
    const std::string line = in.Rest();
    if (rekkc)
        CheckRekkc(options, line);
    else
        CheckGettoken(options, line);
    return 0;
}
