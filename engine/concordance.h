// The concordance: every occurrence of one word in the files of a count, found
// by reading them exactly as the count reads them (the same line loop, the
// same line preparation, the same tokenizer, by character type or by
// dictionary) and comparing each word as the word table does. So for every
// word of a report, the occurrences found here are as many as the report
// counts.
//
// Lines with occurrences stream to a sink as they are read; nothing of a
// file is kept once its line has been handed on.
#ifndef VORLAN_ENGINE_CONCORDANCE_H
#define VORLAN_ENGINE_CONCORDANCE_H

#include "engine/scan.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CCountInput;
class CExcludeList;
class CSegmentation;
class CSettingsStore;
class ICountNotifier;
enum class FileFailure;

// How the count reads its files, from the options it reads.
struct ConcordanceReading {
    ScanVariant variant = kScanPlain; // stripHtml decides; the rest names failures
    bool bExcludeBinary = false;
    int nEncoding = 0; // TextEncoding
};

ConcordanceReading ReadConcordanceReading(const CSettingsStore& settings);

// The word looked for, in the form each reading compares: the bytes as given
// for files read as single-byte and Shift-JIS text, and its UTF-8 form for
// files read as UTF-8 (the same bytes unless the caller converted).
struct ConcordanceWord {
    std::string bytes;
    std::string utf8;
};

// Whether the tokenizer of the reading (UTF-8 or not), given word alone,
// gives back exactly word: only such a word can ever be found. The classic
// tokenizer decides also for a count by dictionary, which only cuts its
// words further: the analyser may split a word alone otherwise than in
// its sentence, and a word of the report must never be refused.
bool IsSingleWord(std::string_view word, bool utf8);

// One piece of a line as the count reads it (at most 5,119 bytes of a
// physical line), with its words and which of them are occurrences. Valid
// only during the sink's call.
struct ConcordanceLine {
    std::size_t nFile = 0;                   // index in the file list
    const std::string* pPath{};              // as listed
    std::uint64_t nLine = 0;                 // 1-based physical line of the file
    std::uint64_t nPieceColumn = 0;          // bytes of the physical line before text
    std::string_view text;                   // the piece as prepared for the tokenizer
    std::span<const std::string_view> words; // in text, in line order
    std::span<const std::string_view> forms; // words[i] as counted (a base form in its place)
    std::span<const std::uint32_t> hits;     // indices into words, ascending

    // The 1-based byte column of word i in its physical line.
    std::uint64_t Column(std::size_t i) const {
        return nPieceColumn + static_cast<std::uint64_t>(words[i].data() - text.data()) + 1;
    }
};

class IConcordanceSink {
  public:
    virtual ~IConcordanceSink() = default;
    // Called for each line piece with at least one occurrence, in list
    // order; with WantsEveryLine, for every piece that has words.
    virtual void OnLine(const ConcordanceLine& line) = 0;
    virtual bool WantsEveryLine() const { return false; }
};

struct ConcordanceOutcome {
    std::int64_t nFilesProcessed = 0;
    std::int64_t nTotalWords = 0;
    std::int64_t nHits = 0;
    std::vector<std::string> failedFiles; // as listed; each was also told
    bool bStopped = false;                // quit was set while reading
};

class CConcordance {
  public:
    // Everything given must outlive the object. exclude is read only when
    // the reading excludes binary files. segmentation splits lines as the
    // count's does; made from the same settings and Ready(). quit is polled
    // before every line, as the count polls its quit flag; set it to 1 to
    // stop.
    CConcordance(const CCountInput& input, ICountNotifier& notifier, const CExcludeList& exclude,
                 const ConcordanceReading& reading, const CSegmentation& segmentation,
                 const int& quit);

    // Reads files in list order and hands the sink each line piece with an
    // occurrence of word. Files that cannot be opened or read are told to
    // the notifier with the count's own messages.
    ConcordanceOutcome Run(const std::vector<std::string>& files, const ConcordanceWord& word,
                           IConcordanceSink& sink);

  private:
    class CFileReader;
    struct CRunBuffers;
    void ReadFile(std::size_t nFile, const std::string& path, const ConcordanceWord& word,
                  IConcordanceSink& sink, CRunBuffers& buffers);
    void Fail(FileFailure failure, const std::string& path);

    const CCountInput& m_input;
    ICountNotifier& m_notifier;
    const CExcludeList& m_exclude;
    ConcordanceReading m_reading;
    const CSegmentation& m_segmentation;
    const int& m_quit;
    ConcordanceOutcome m_outcome;
};

#endif
