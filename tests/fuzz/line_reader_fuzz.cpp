// CTextLineReader over the input as a file, read with a buffer size from the
// first input byte. The pieces put together equal the text-mode reading of
// the bytes (cut at the first Ctrl-Z, CR LF as LF); each piece fits the
// buffer, and every piece but the last ends in a line feed or fills the
// buffer. The second byte may put the text behind a filler that ends one
// byte short of the reader's block, so that the input's first bytes straddle
// the boundary between two reads. One reader serves every input, as one
// serves every file of a count.
#include "fuzz_support.h"

#include "platform/line_reader.h"

#include <memory>

namespace {

std::string TextMode(const std::string& bytes) {
    std::string text;
    const std::size_t end = std::min(bytes.find('\x1A'), bytes.size());
    for (std::size_t i = 0; i < end; ++i) {
        if (bytes[i] == '\r' && i + 1 < end && bytes[i + 1] == '\n')
            continue;
        text += bytes[i];
    }
    return text;
}

std::string Filler(std::size_t size) {
    std::string filler;
    filler.reserve(size);
    while (filler.size() < size)
        filler += filler.size() % 100 == 99 ? '\n' : 'x';
    return filler;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CTextLineReader reader;
    fuzz::CInput in(data, size);
    const std::uint8_t sizeByte = in.Byte();
    const std::size_t bufferSize = sizeByte < 0xF0 ? 2 + sizeByte % 64 : 5120 + (sizeByte & 0xF);
    const bool straddle = in.Byte() == 0xBB;
    std::string bytes = in.Rest();
    if (straddle)
        bytes = Filler(CTextLineReader::kReadSize - 1) + bytes;

    const std::string path = fuzz::ScratchDir() + "/lines.txt";
    fuzz::WriteFile(path, bytes);
    FUZZ_CHECK(reader.Open(path.c_str()));

    auto buffer = std::make_unique<char[]>(bufferSize);
    std::string joined;
    std::size_t length = 0;
    bool lastWasShort = false;
    while (reader.ReadLine(buffer.get(), bufferSize, &length)) {
        FUZZ_CHECK(length <= bufferSize - 1 && buffer[length] == '\0');
        FUZZ_CHECK(length > 0);
        // Only the last piece may end neither in a line feed nor full.
        FUZZ_CHECK(!lastWasShort);
        lastWasShort = buffer[length - 1] != '\n' && length < bufferSize - 1;
        joined.append(buffer.get(), length);
        FUZZ_CHECK(joined.size() <= bytes.size());
    }
    FUZZ_CHECK(buffer[0] == '\0');
    FUZZ_CHECK(!reader.Failed());
    FUZZ_CHECK(joined == TextMode(bytes));
    reader.Close();
    return 0;
}
