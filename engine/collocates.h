// The collocates of a word: the words that keep it company within a few
// words on the same line, with how strongly each is attracted to it.
//
// For each occurrence of the word, every word position up to L words to its
// left and R words to its right on the same line (the hit itself and other
// occurrences of the word left out) adds 1 to that word's co-occurrences.
// Every word of every line also adds 1 to its frequency, so the whole count
// is taken in the same single pass (standard input can be read only once).
// Words are taken as counted (a base form, where the count takes base
// forms), told apart as the word table tells them apart (A-Z folded) and
// shown in the form first met.
//
// Both scores come from one 2x2 table over the N words counted: rows are
// "in a window" (W positions in all) or not, columns are "this word" (its
// frequency F) or not; O is its co-occurrences. With E = W * F / N:
//   mi             = log2(O / E)
//   log_likelihood = 2 * sum over the four cells of o * ln(o / e),
//                    negative when O < E (the word avoids the hit).
// A cell that overlapping windows would make negative counts as 0.
#ifndef VORLAN_ENGINE_COLLOCATES_H
#define VORLAN_ENGINE_COLLOCATES_H

#include "engine/concordance.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct CollocateRow {
    std::string word;
    std::uint64_t nCooccurrences = 0;
    std::uint64_t nFrequency = 0;
    double mi = 0;
    double logLikelihood = 0;
};

// The scores of a word with nCooc co-occurrences and nFrequency occurrences
// when nWindow positions lay in windows among nTotal words.
void ScoreCollocate(CollocateRow& row, std::uint64_t nWindow, std::uint64_t nTotal);

class CCollocates : public IConcordanceSink {
  public:
    CCollocates(unsigned nLeft, unsigned nRight) : m_nLeft(nLeft), m_nRight(nRight) {}

    void OnLine(const ConcordanceLine& line) override;
    bool WantsEveryLine() const override { return true; }

    // The words that co-occur at least nMin times, highest log-likelihood
    // first (then more co-occurrences, then the report's word order).
    std::vector<CollocateRow> Rows(std::uint64_t nMin) const;

  private:
    struct Entry {
        std::string form; // as first met
        std::uint64_t nFrequency = 0;
        std::uint64_t nCooccurrences = 0;
    };
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    Entry& Find(std::string_view word);
    void CountWindows(const ConcordanceLine& line);

    unsigned m_nLeft;
    unsigned m_nRight;
    std::unordered_map<std::string, Entry, Hash, std::equal_to<>> m_entries;
    std::uint64_t m_nTotal = 0;
    std::uint64_t m_nWindow = 0;
    std::string m_folded;              // scratch
    std::vector<Entry*> m_lineEntries; // the entries of the line's words
    std::vector<bool> m_isHit;
};

#endif
