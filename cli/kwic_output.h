// How vorlan-count writes a concordance: the hits as aligned lines for
// people or as rows of data, and the collocates likewise.
#ifndef VORLAN_CLI_KWIC_OUTPUT_H
#define VORLAN_CLI_KWIC_OUTPUT_H

#include "cli/data_export.h"
#include "cli/kwic_options.h"
#include "cli/sjis_to_utf8.h"
#include "engine/collocates.h"
#include "engine/concordance.h"

#include <optional>
#include <string>
#include <vector>

class CArchive;

// Text of the files as a terminal shows it: UTF-8 as it is, anything else
// taken as Shift-JIS and converted when the terminal is UTF-8; control bytes
// become spaces so that they neither act on the terminal nor break the
// columns. Raw keeps every byte.
class CTerminalText {
  public:
    CTerminalText(bool raw, bool utf8Terminal) : m_bRaw(raw), m_bUtf8(utf8Terminal) {}
    std::string Decode(std::string_view bytes);
    // The columns text takes, and its end cut to at most width columns.
    std::size_t Width(std::string_view text) const;
    std::string_view LastColumns(std::string_view text, std::size_t width) const;

  private:
    std::size_t CharLength(std::string_view text, std::size_t at) const;
    std::size_t CharWidth(std::string_view text, std::size_t at, std::size_t n) const;
    bool m_bRaw;
    bool m_bUtf8;
    CSjisToUtf8 m_converter;
};

// Whether the user's locale writes UTF-8.
bool TerminalIsUtf8();

// Writes each hit as it comes, or, sorted, once the run is over (Finish).
class CKwicWriter : public IConcordanceSink {
  public:
    // files is the list the run reads; it sets the width of the place column.
    CKwicWriter(const KwicRequest& request, std::optional<DataFormat> format,
                const std::vector<std::string>& files, CArchive& ar);
    void OnLine(const ConcordanceLine& line) override;
    void Finish();

  private:
    std::string FormatRow(const struct KwicRow& row);
    std::string FormatPlain(const struct KwicRow& row);
    void PutRow(const std::string& text);
    void Put(const std::string& text);

    const KwicRequest& m_request;
    std::optional<DataFormat> m_format;
    CArchive& m_ar;
    CTerminalText m_text;
    CSjisToUtf8 m_converter;
    std::size_t m_nPlaceWidth = 0;
    bool m_bFirst = true;
    struct Sorted {
        std::string key;
        std::string text;
    };
    std::vector<Sorted> m_sorted;
};

void WriteCollocates(const std::vector<CollocateRow>& rows, std::optional<DataFormat> format,
                     CArchive& ar);

#endif
