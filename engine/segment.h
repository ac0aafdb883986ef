// How a count splits its lines into words. By character type (the classic
// tokenizer, the default) a Japanese sentence without spaces is one "word";
// by dictionary each classic word that holds Japanese is split by a
// morphological analyser (MeCab) into the words a Japanese reader counts,
// optionally as their base forms (行っ, 行き -> 行く).
#ifndef VORLAN_ENGINE_SEGMENT_H
#define VORLAN_ENGINE_SEGMENT_H

#include "engine/segment_cache.h"
#include "engine/segment_mecab.h"
#include "engine/segment_tokenizer.h"

#include <memory>
#include <string>

class CSettingsStore;

// The values of the profile's "Option"/"Segment" key. Any value not listed
// reads as by character type.
enum SegmentMode : int {
    kSegmentByType = 0,
    kSegmentByDictionary = 1, // the words as they stand in the text
    kSegmentBaseForms = 2,    // each word as its base form where the dictionary gives one
};

SegmentMode ReadSegmentMode(const CSettingsStore& settings);

// What the tokenizers of one count share: the mode and, in the dictionary
// modes, the analyser with its dictionary and the words found so far in each
// distinct classic word. Made once per count; the analyser is loaded here,
// so a count by character type never touches it.
class CSegmentation {
  public:
    // The mode the settings name.
    explicit CSegmentation(const CSettingsStore& settings, const MecabPlace& place = {});
    explicit CSegmentation(SegmentMode mode, const MecabPlace& place = {});
    CSegmentation(const CSegmentation&) = delete;
    CSegmentation& operator=(const CSegmentation&) = delete;

    // False when the mode needs the analyser and it could not be loaded;
    // Error() is then the message for the user, which names the packages to
    // install. Nothing may be counted then: tokenizers made anyway would
    // split by character type.
    bool Ready() const { return m_strError.empty(); }
    const std::string& Error() const { return m_strError; }

    // The tokenizer of one line loop over a file read as UTF-8 or not. Any
    // thread may ask for one; the segmentation must outlive it.
    CLineTokenizer MakeTokenizer(bool utf8) const;

  private:
    const SegmentMode m_mode;
    std::unique_ptr<CMecabModel> m_pModel; // null by character type or when it failed
    mutable CSegmentCache m_caches[2];     // Shift-JIS, UTF-8
    std::string m_strError;
};

#endif
