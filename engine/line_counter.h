// The loop every scan runs over the lines of a file, and the counting of the
// words of one line, shared by the count run's own scan and by the counting
// of parts of a file list on other threads. What differs between the two
// comes in as hooks: when to stop, what to do between lines, how a line is
// prepared, and where its words are counted.
#ifndef VORLAN_ENGINE_LINE_COUNTER_H
#define VORLAN_ENGINE_LINE_COUNTER_H

#include "engine/scan.h"
#include "engine/segment_tokenizer.h"
#include "engine/text_encoding.h"
#include "engine/word_index.h"
#include "platform/line_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

// The line buffer of one line loop. The padding after the line lets the word
// tables read every word in 8-byte loads; it is never written.
struct CLineBuffer {
    CLineBuffer() { std::memset(line, 0, sizeof line); }
    char line[kScanLineBufferSize + kWordPadding];
};

namespace line_counter {

// Drops the line feed and then trailing spaces (tabs stay: the tokenizer
// splits at them anyway) from the line of n bytes before its terminator, and
// returns the bytes left. A NUL byte inside the line is not looked for.
inline std::size_t TrimLineEnd(char* line, std::size_t n) {
    if (n > 0 && line[n - 1] == '\n')
        line[--n] = '\0';
    while (n > 0 && line[n - 1] == ' ')
        line[--n] = '\0';
    return n;
}

// The same, false when nothing is left for the tokenizer: a NUL byte of the
// file ends the line for everyone downstream. Only a line that starts with a
// space or a NUL can come out empty because of one, so only such a line pays
// for finding it.
inline bool TrimLine(char* line, std::size_t n) {
    if (n > 0 && (line[0] == ' ' || line[0] == '\0'))
        n = std::strlen(line);
    return TrimLineEnd(line, n) > 0;
}

// Reverses the bytes of a word of a padded line buffer in place. A word of up
// to seven bytes is turned around in one 8-byte load and store, which writes
// the bytes after it back unchanged.
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

// Starts loading the slot of the word that the next line most likely starts
// with: in a word list every word has a line of its own, and each would
// otherwise wait for its slot in turn. bytes are what the reader holds of
// the lines to come; a wrong guess costs only the load.
template <bool kReverse, class Table>
void PrefetchNextLineWord(const Table& table, std::string_view bytes) {
    constexpr std::size_t kLongest = 32;
    alignas(8) char word[kLongest + kWordPadding] = {};
    std::size_t n = 0;
    while (n < bytes.size() && n<kLongest&& static_cast<unsigned char>(bytes[n])> ' ') {
        word[n] = bytes[n];
        ++n;
    }
    if (n == 0 || n == kLongest)
        return;
    if constexpr (kReverse)
        ReverseWord(word);
    table.PrepareKey(word);
}

} // namespace line_counter

// Counts the words of the line text (in a padded buffer) into table, a word
// table or a tally, calling counted() after each word. Returns false when the
// table ran out of memory: that word and the rest of the line are not counted.
//
// Two words ahead: a word's key is computed (which starts the load of its
// index slot) two words before it is counted, and its node is asked for one
// word before. A word begins past the terminator of the word before it, so
// reversing or counting one never changes another.
template <bool kReverse, class Table, class Counted>
bool CountWordsOfLine(Table& table, CLineTokenizer& tokenizer, char* text, Counted&& counted) {
    auto prepare = [&](char* w) {
        if constexpr (kReverse)
            line_counter::ReverseWord(w);
        return table.PrepareKey(w);
    };
    char* word = tokenizer.First(text);
    if (!word)
        return true;
    WordKey key = prepare(word), keyNext{};
    char* next = tokenizer.Next();
    if (next)
        keyNext = prepare(next);
    while (word) {
        char* after = next ? tokenizer.Next() : nullptr;
        if (next)
            table.PrefetchNode(keyNext);
        if (!table.InsertKey(key)) [[unlikely]]
            return false;
        counted();
        word = next;
        key = keyNext;
        next = after;
        if (next)
            keyNext = prepare(next);
    }
    return true;
}

// Reads the lines of reader and hands each to the hooks:
//   bool Stop()                     before a line read is counted: true ends
//                                   the file without it;
//   void Between(const reader&)     then, for progress;
//   bool Prepare(char* text, n)     filters or trims; false skips the line;
//   void Ahead(string_view bytes)   after a short line, what the reader holds
//                                   of the lines to come, for loading what
//                                   they need early;
//   bool Count(char* text)          false (out of memory) ends the file;
//   void After()                    once the line is counted.
// A byte-order mark is dropped from the first line when skipMark is set.
inline constexpr std::size_t kShortLine = 32;

template <class Hooks>
void CountLinesOfFile(CTextLineReader& reader, CLineBuffer& buffer, bool skipMark, Hooks& hooks) {
    std::size_t length = 0;
    while (reader.ReadLine(buffer.line, kScanLineBufferSize, &length)) {
        if (hooks.Stop())
            break; // the line just read is not counted
        hooks.Between(reader);
        char* text = buffer.line;
        if (skipMark) {
            text = SkipByteOrderMark(text);
            length -= static_cast<std::size_t>(text - buffer.line);
            skipMark = false;
        }
        if (!hooks.Prepare(text, length))
            continue;
        // A short line is most likely a word list's: one word, whose slot is
        // the only wait of the line.
        if (length <= kShortLine)
            hooks.Ahead(reader.Unread());
        if (!hooks.Count(text))
            break;
        hooks.After();
    }
}

#endif
