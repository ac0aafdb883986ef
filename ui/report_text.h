// Report bytes as text for the screen, the printer and the clipboard. A
// report holds the bytes of the counted files, and the path in its header is
// a file-system name, UTF-8 on this system; a count that detects each file's
// encoding mixes Shift-JIS and UTF-8 lines in one report. So every line is
// decoded on its own: a line that is well-formed UTF-8 and holds a non-ASCII
// character reads as UTF-8, any other line through the code page of the
// character set of the font that shows it (128, the default, is Shift-JIS).
// Decoding never changes the bytes: a sequence that is not valid in the code
// page shows as U+FFFD.
#ifndef VORLAN_UI_REPORT_TEXT_H
#define VORLAN_UI_REPORT_TEXT_H

#include <QString>
#include <memory>
#include <string_view>

// Windows character-set numbers of a font description.
inline constexpr int kAnsiCharSet = 0;
inline constexpr int kShiftJisCharSet = 128;

// The line's bytes without its line end: a closing CR LF or a lone LF (a
// report read from a file may end its lines either way, or its last line not
// at all). What the screen and the printed page show.
std::string_view ReportLineBody(std::string_view line);

// The code page that charSet stands for (932 for 128, 1252 for 0, ...); 1252
// for numbers that name no code page.
int CodePageOfCharSet(int charSet);

// Decodes report lines for one character set. Keeps a converter open between
// lines, so decoding every line of a large report costs no set-up per line.
// Not copyable.
class CReportTextDecoder {
  public:
    explicit CReportTextDecoder(int charSet);
    ~CReportTextDecoder();
    CReportTextDecoder(const CReportTextDecoder&) = delete;
    CReportTextDecoder& operator=(const CReportTextDecoder&) = delete;

    int CharSet() const { return m_nCharSet; }
    // The code page of the lines that are not UTF-8:
    // CodePageOfCharSet(charSet), or 1252 when the system has no converter
    // for that one.
    int CodePage() const { return m_nCodePage; }

    // The line's characters, tabs included: what the clipboard receives.
    QString Decode(std::string_view bytes);
    // The line as the screen and the printed page show it: a tab (a word may
    // hold one between two digits) is one space there, not a jump to a tab
    // stop, so the word stays in one piece.
    QString DecodeForDisplay(std::string_view bytes);

  private:
    struct Converter;
    QString DecodeCodePage(std::string_view bytes);

    int m_nCharSet;
    int m_nCodePage;
    std::unique_ptr<Converter> m_pConverter;
};

// One line decoded with a decoder made for the call.
QString DecodeReportLine(std::string_view bytes, int charSet);

#endif
