// MeCab, the morphological analyser that splits Japanese text into words by
// dictionary, loaded when a count first asks for it: the program starts and
// counts by character type on a machine without MeCab or its dictionary, and
// only a count that needs them reports that they are missing.
#ifndef VORLAN_ENGINE_SEGMENT_MECAB_H
#define VORLAN_ENGINE_SEGMENT_MECAB_H

#include "platform/shared_library.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct mecab_model_t;
struct mecab_t;
struct mecab_lattice_t;
struct MecabApi;

// Where the analyser and its dictionary are looked for: Debian's places.
struct MecabPlace {
    std::string strLibrary = "libmecab.so.2";
    std::string strDictionary = "/var/lib/mecab/dic/ipadic-utf8";
};

// The library and one dictionary, loaded once for a count and shared by its
// threads (MeCab's model is safe to share; taggers and lattices are not).
class CMecabModel {
  public:
    CMecabModel();
    ~CMecabModel();
    CMecabModel(const CMecabModel&) = delete;
    CMecabModel& operator=(const CMecabModel&) = delete;

    // Loads the library and the dictionary, which must be in UTF-8. False,
    // with Error() the message for the user (naming the packages to
    // install), when either cannot be had.
    bool Open(const MecabPlace& place);
    const std::string& Error() const { return m_strError; }

  private:
    friend class CMecabTagger;
    bool Fail(const char* what, const std::string& where, const std::string& reason);
    bool CheckCharset();

    CSharedLibrary m_library;
    std::unique_ptr<MecabApi> m_pApi;
    mecab_model_t* m_pModel = nullptr;
    std::string m_strError;
};

// A word the analyser found: the form counted (its surface, or its base form
// where asked for and given) and its surface, a view into the text split.
struct MecabWord {
    std::string_view form;
    std::string_view surface;
};

// One thread's use of an open model.
class CMecabTagger {
  public:
    // Throws std::bad_alloc when MeCab cannot make its tagger or lattice.
    explicit CMecabTagger(const CMecabModel& model);
    ~CMecabTagger();
    CMecabTagger(const CMecabTagger&) = delete;
    CMecabTagger& operator=(const CMecabTagger&) = delete;

    // Splits UTF-8 text into the words the dictionary finds, leaving out
    // those it tags as symbols (punctuation, brackets, spaces). Each word is
    // its surface form, or with baseForms its base form where the dictionary
    // gives one. The views stay valid until the next call (the surfaces as
    // long as text). False when MeCab fails on the text.
    bool Split(std::string_view text, bool baseForms, std::vector<MecabWord>& words);

  private:
    void Release();

    const MecabApi& m_api;
    mecab_t* m_pTagger;
    mecab_lattice_t* m_pLattice;
};

#endif
