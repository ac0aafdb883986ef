// The HTML filter: strips tags and comments from the lines of the counted
// files before their words are taken. It is a line filter, not a parser: it
// knows no entities, attributes or element names, and it carries an open tag
// or comment over to the following lines and files of the same count run.
#ifndef VORLAN_FILTERS_DEHTML_STRING_H
#define VORLAN_FILTERS_DEHTML_STRING_H

#include <cstddef>

class CDehtmlString {
  public:
    // The size of the tag-name buffer, terminator included.
    static constexpr std::size_t kTagSize = 300;

    CDehtmlString();

    // Leaves markup: the next line starts outside any tag or comment. Called
    // once at the start of a count run, never between its files.
    void Reset();

    // Writes line without its markup into out (NUL-terminated) and returns
    // out. out must hold at least strlen(line) + 1 bytes: the result is never
    // longer than the line. out may be line itself. A final line feed in line
    // is kept like any text.
    char* StripTags(const char* line, char* out);

    // The state carried to the next line.
    bool InComment() const { return m_bInComment != 0; }
    bool CarryOver() const { return m_bCarryOver != 0; }
    // The last tag analysed, from its "<" to its name's end, upper-cased.
    const char* LastTag() const { return m_szTag; }

  private:
    const char* SkipCarriedOver(const char* line);
    void AnalyseTag(const char* open, const char* end);

    char m_szTag[kTagSize];
    int m_bInComment;
    int m_bCarryOver;
};

#endif
