// Helpers shared by the fuzz targets: a reader that deals out the input's
// bytes as options and text, a check that aborts with a message (so the
// fuzzer records the input and a replay run fails), and a scratch folder.
#ifndef VORLAN_TESTS_FUZZ_FUZZ_SUPPORT_H
#define VORLAN_TESTS_FUZZ_FUZZ_SUPPORT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond))                                                                               \
            ::fuzz::Fail(#cond, __FILE__, __LINE__);                                               \
    } while (0)

namespace fuzz {

[[noreturn]] void Fail(const char* what, const char* file, int line);

// Deals out the input from the front: single option bytes first, the rest as
// text. A missing byte reads as 0, so every input is usable.
class CInput {
  public:
    CInput(const std::uint8_t* data, std::size_t size)
        : m_data(reinterpret_cast<const char*>(data)), m_size(size) {}

    std::uint8_t Byte() {
        if (m_pos >= m_size)
            return 0;
        return static_cast<std::uint8_t>(m_data[m_pos++]);
    }
    // Up to the next separator byte (not included), or the rest.
    std::string Until(char separator);
    std::string Rest() {
        std::string rest(m_data + m_pos, m_size - m_pos);
        m_pos = m_size;
        return rest;
    }

  private:
    const char* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// A folder made on first use and removed with everything in it at exit.
const std::string& ScratchDir();

// Replaces the file at path with bytes.
void WriteFile(const std::string& path, std::string_view bytes);

// The byte classes of the word tokenizer, restated here as the oracle.
inline bool IsDelimiter(unsigned char c) {
    return (c >= 0x21 && c <= 0x2F) || (c >= 0x3A && c <= 0x40) || (c >= 0x5B && c <= 0x60) ||
           (c >= 0x7B && c <= 0x7E) || (c >= 0x09 && c <= 0x0D) || c == 0x20;
}
inline bool IsLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
inline bool IsLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
inline bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

} // namespace fuzz

#endif
