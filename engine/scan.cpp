#include "engine/scan.h"

#include "engine/count_notifier.h"
#include "engine/scan_progress.h"
#include "engine/text_encoding.h"
#include "engine/vorlan_doc.h"
#include "filters/dehtml_string.h"
#include "platform/event_pump.h"
#include "platform/line_reader.h"

#include "tesmo.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

const ScanVariant kScanPlain{false, false, "%ld words counted.", "(--;)"};
const ScanVariant kScanByEndings{false, true, "%ld words counted", " (--;)"};
const ScanVariant kScanHtml{true, false, "%ld words are counted.", "(--;)"};
const ScanVariant kScanHtmlByEndings{true, true, "%ld words are counted", "(--;)"};

// The fixed buffer of one scan, so that reading a line allocates nothing.
// The HTML filter lives here too: its state carries from file to file. It
// filters in place, since its output is never longer than its input. The
// padding after the line lets the word table read every word in 8-byte
// loads; it is never written.
class CScanBuffers {
  public:
    CScanBuffers() { std::memset(line, 0, sizeof line); }
    char line[kScanLineBufferSize + kWordPadding];
    CDehtmlString dehtml;
    CScanProgress progress;
};

void CVorlanDoc::ScanFiles(const std::vector<std::string>& files) {
    ScanFileList(files, kScanPlain);
}

void CVorlanDoc::ScanFilesByEndings(const std::vector<std::string>& files) {
    ScanFileList(files, kScanByEndings);
}

void CVorlanDoc::ScanHtmlFiles(const std::vector<std::string>& files) {
    ScanFileList(files, kScanHtml);
}

void CVorlanDoc::ScanHtmlFilesByEndings(const std::vector<std::string>& files) {
    ScanFileList(files, kScanHtmlByEndings);
}

void CVorlanDoc::ScanFileList(const std::vector<std::string>& files, const ScanVariant& variant) {
    m_bOutOfMemory = false;
    auto buffers = std::make_unique<CScanBuffers>();
    if (variant.stripHtml)
        buffers->dehtml.Reset();
    buffers->progress.Start(m_notifier, files, m_nTotalWords);
    std::string upper;
    for (const std::string& path : files) {
        buffers->progress.NextFile();
        // The upper-cased copy is what the exclusion list sees and what a
        // message shows; the file itself is opened under its listed name,
        // since this file system tells letter case apart.
        upper = path;
        mbstrupr(upper.data());
        bool excluded = m_bExcludeBinary == 1 && m_listExclude.IsExcluded(upper.c_str());
        if (!excluded)
            ScanOneFile(path.c_str(), upper, variant, *buffers);
        if (m_bQuit == 1 || m_bOutOfMemory)
            break;
    }
    buffers->progress.Finish(m_nTotalWords, m_bQuit != 1 && !m_bOutOfMemory);
}

namespace {

// Drops the line feed and then trailing spaces (tabs stay: the tokenizer
// splits at them anyway) from the line of n bytes before its terminator.
// Returns false when nothing is left.
bool TrimLine(char* line, std::size_t n) {
    // A NUL byte of the file ends the line for everyone downstream. Only a
    // line that starts with a space or a NUL can come out empty because of
    // one, so only such a line pays for finding it.
    if (n > 0 && (line[0] == ' ' || line[0] == '\0'))
        n = std::strlen(line);
    if (n > 0 && line[n - 1] == '\n')
        line[--n] = '\0';
    while (n > 0 && line[n - 1] == ' ')
        line[--n] = '\0';
    return n > 0;
}

} // namespace

void CVorlanDoc::ScanOneFile(const char* path, const std::string& upperPath,
                             const ScanVariant& variant, CScanBuffers& buffers) {
    CTextLineReader reader;
    if (!OpenInput(reader, path)) {
        ReportOpenFailure(upperPath, variant);
        return;
    }
    m_bCounting = 1;
    m_bQuit = 0;
    ++m_nFilesProcessed;
    const bool utf8 = ReadsAsUtf8(path);
    m_pfnTokenize = utf8 ? strword_utf8 : strword;
    m_bUtf8Report = m_bUtf8Report || utf8;
    bool firstLine = true;
    buffers.progress.Report(m_nTotalWords, reader);

    std::size_t length = 0;
    while (reader.ReadLine(buffers.line, kScanLineBufferSize, &length)) {
        if (m_bQuit == 1)
            break; // the line just read is not counted
        if (buffers.progress.Due()) [[unlikely]]
            buffers.progress.Report(m_nTotalWords, reader);
        char* text = buffers.line;
        if (utf8 && firstLine) {
            text = SkipByteOrderMark(text);
            length -= static_cast<std::size_t>(text - buffers.line);
        }
        firstLine = false;
        if (variant.stripHtml) {
            if (buffers.dehtml.StripTags(text, text)[0] == '\0')
                continue;
        } else if (!TrimLine(text, length)) {
            continue;
        }
        if (variant.reverseWords)
            CountLine<true>(text, variant);
        else
            CountLine<false>(text, variant);
        if (m_bOutOfMemory)
            break;
        // Only after the line's last word: strword keeps its place in the
        // line process-wide, and an event handler might tokenize too.
        PumpMessages();
    }
    if (reader.Failed())
        ReportReadFailure(upperPath, variant);
}

namespace {

// How many more words until the word total, a 32-bit count that wraps from
// 2^31 - 1 to -2^31, is a multiple of 500 again (as % sees it), which is
// when the title shows it.
std::uint32_t WordsUntilTitle(std::int32_t total) {
    constexpr std::int64_t kEvery = 500;
    constexpr std::int64_t kMax = INT32_MAX;
    const std::int64_t t = total;
    if (t < 0) {
        const std::int64_t r = t % kEvery; // in (-500, 0]
        return static_cast<std::uint32_t>(r == 0 ? kEvery : -r);
    }
    const std::int64_t next = (t / kEvery + 1) * kEvery;
    if (next <= kMax)
        return static_cast<std::uint32_t>(next - t);
    // Past the wrap: the first multiple is the lowest value's distance below.
    constexpr std::int64_t kFromLowest = -(std::int64_t{INT32_MIN} % kEvery);
    return static_cast<std::uint32_t>(kMax - t + 1 + kFromLowest);
}

} // namespace

namespace {

// The next word of the line being tokenized that is not empty, or null.
inline char* NextWord(char* (*tokenize)(char*)) {
    for (;;) {
        char* word = tokenize(nullptr);
        if (!word || word[0] != '\0') [[likely]]
            return word;
    }
}

// Reverses the bytes of a word of the padded line buffer in place. A word of
// up to seven bytes is turned around in one 8-byte load and store, which
// writes the bytes after it back unchanged.
inline void ReverseWord(char* word) {
    using namespace word_key;
    std::uint64_t x = Load8(word);
    if (const std::uint64_t z = LowestZeroByte(x)) [[likely]] {
        const unsigned n = static_cast<unsigned>(__builtin_ctzll(z)) & ~7u; // bits, 8 to 56
        const std::uint64_t mask = (std::uint64_t{1} << n) - 1;
        x = (__builtin_bswap64(x & mask) >> (64 - n)) | (x & ~mask);
        std::memcpy(word, &x, 8);
        return;
    }
    std::reverse(word, word + 8 + std::strlen(word + 8));
}

} // namespace

template <bool kReverse> void CVorlanDoc::CountLine(char* text, const ScanVariant& variant) {
    // The total lives in a register for the line; m_nTotalWords is brought up
    // to date before the title changes and when the line is done.
    auto total = static_cast<std::uint32_t>(m_nTotalWords);
    std::uint32_t untilTitle = WordsUntilTitle(m_nTotalWords);
    char* (*const tokenize)(char*) = m_pfnTokenize;
    char* word = tokenize(text);
    if (word && word[0] == '\0')
        word = NextWord(tokenize);
    // Two words ahead: a word's key is computed (which starts the load of
    // its index slot) two words before it is counted, and its node is asked
    // for one word before. A word begins past the terminator of the word
    // before it, so reversing or counting one never changes another.
    auto prepare = [&](char* w) {
        if constexpr (kReverse)
            ReverseWord(w);
        return m_wordTree.PrepareKey(w);
    };
    WordKey key{}, keyNext{};
    char* next = nullptr;
    if (word) {
        key = prepare(word);
        next = NextWord(tokenize);
        if (next)
            keyNext = prepare(next);
    }
    while (word) {
        char* after = next ? NextWord(tokenize) : nullptr;
        if (next)
            m_wordTree.PrefetchNode(keyNext);
        // Null when memory ran out: the table is unchanged, the word is not
        // counted and the scan stops; the count run reports what was counted
        // until then.
        if (!m_wordTree.InsertKey(key)) [[unlikely]] {
            m_bOutOfMemory = true;
            break;
        }
        ++total; // wraps instead of overflowing past 2^31 - 1 words
        if (--untilTitle == 0) [[unlikely]] {
            m_nTotalWords = static_cast<std::int32_t>(total);
            char title[64];
            std::snprintf(title, sizeof title, variant.progress, static_cast<long>(m_nTotalWords));
            SetTitle(title);
            untilTitle = WordsUntilTitle(m_nTotalWords);
        }
        word = next;
        key = keyNext;
        next = after;
        if (next)
            keyNext = prepare(next);
    }
    m_nTotalWords = static_cast<std::int32_t>(total);
}

// Detection reads the file ahead of the scan, which a descriptor entry (a
// pipe, as often as not) cannot offer: it is read as bytes.
bool CVorlanDoc::ReadsAsUtf8(const char* path) const {
    if (m_nEncoding == kEncodingUtf8)
        return true;
    if (m_nEncoding != kEncodingDetect)
        return false;
    const bool descriptor = !m_strDescriptorEntry.empty() && m_strDescriptorEntry == path;
    return !descriptor && IsUtf8File(path);
}

void CVorlanDoc::ReportOpenFailure(const std::string& upperPath, const ScanVariant& variant) {
    m_notifier.ShowMessage("Failed to open " + upperPath + variant.failSuffix);
}

// A read error ends the file like its end would: what was read counts, the
// file counts as processed, and the scan goes on with the next one. The user
// is told, since the file was not counted whole.
void CVorlanDoc::ReportReadFailure(const std::string& upperPath, const ScanVariant& variant) {
    m_notifier.ShowMessage("Failed to read " + upperPath + variant.failSuffix);
}
