// CDehtmlString over the lines of the input (each keeps its line feed), with
// its state carried from line to line. Two filters run side by side, one in
// place and one into a separate buffer of exactly the line's size; they must
// agree. Every result is no longer than its line, keeps the line's bytes in
// their order, holds no "<", and is the line itself when the filter stood
// outside markup and the line has no "<". Results and state must also match
// a plain filter written here.
#include "fuzz_support.h"

#include "filters/dehtml_string.h"

#include <cstring>
#include <memory>

namespace {

bool IsSubsequence(const char* part, const char* whole) {
    for (; *part; ++part) {
        whole = std::strchr(whole, *part);
        if (!whole)
            return false;
        ++whole;
    }
    return true;
}

// The filter restated plainly, on std::string.
struct CPlainFilter {
    bool carry = false, comment = false;

    std::string Strip(const std::string& line) {
        std::string s = line;
        if (carry) {
            const std::size_t close = line.find("->"), gt = line.find('>');
            if (comment && close != std::string::npos) {
                s = line.substr(close + 2);
                carry = comment = false;
            } else if (gt != std::string::npos) {
                s = line.substr(gt);
                carry = false;
            } else {
                return "";
            }
        }
        std::string out;
        std::size_t pos = 0;
        for (;;) {
            const std::size_t lt = s.find('<', pos);
            if (lt == std::string::npos)
                return out + s.substr(pos);
            out += s.substr(pos, lt - pos);
            const std::size_t gt = s.find('>', lt + 1);
            // The tag's name runs to a space or ">", neither of which can
            // stand in "<!-": a tag beginning so is a comment.
            if (gt != std::string::npos && s.compare(lt, 3, "<!-") == 0)
                carry = comment = true;
            if (!comment && gt != std::string::npos) {
                pos = gt + 1;
                continue;
            }
            const std::size_t close = s.find("->", lt + 1);
            if (comment && close != std::string::npos) {
                carry = comment = false;
                pos = close + 2;
                continue;
            }
            carry = true;
            return out;
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::CInput in(data, size);
    std::string text = in.Rest();
    CDehtmlString inPlace, separate;
    CPlainFilter plain;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string line = text.substr(start, end - start);
        start = end;

        const std::size_t length = std::strlen(line.c_str());
        auto own = std::make_unique<char[]>(length + 1);
        auto out = std::make_unique<char[]>(length + 1);
        std::memcpy(own.get(), line.c_str(), length + 1);
        const bool outside = !separate.CarryOver();

        FUZZ_CHECK(inPlace.StripTags(own.get(), own.get()) == own.get());
        FUZZ_CHECK(separate.StripTags(line.c_str(), out.get()) == out.get());
        FUZZ_CHECK(std::strcmp(own.get(), out.get()) == 0);
        FUZZ_CHECK(inPlace.CarryOver() == separate.CarryOver());
        FUZZ_CHECK(inPlace.InComment() == separate.InComment());
        FUZZ_CHECK(strnlen(separate.LastTag(), CDehtmlString::kTagSize) < CDehtmlString::kTagSize);

        FUZZ_CHECK(std::strlen(out.get()) <= length);
        FUZZ_CHECK(IsSubsequence(out.get(), line.c_str()));
        FUZZ_CHECK(!std::strchr(out.get(), '<'));
        FUZZ_CHECK(plain.Strip(line.c_str()) == out.get());
        FUZZ_CHECK(plain.carry == separate.CarryOver() && plain.comment == separate.InComment());
        if (outside && !std::strchr(line.c_str(), '<'))
            FUZZ_CHECK(std::strcmp(out.get(), line.c_str()) == 0);
    }
    return 0;
}
