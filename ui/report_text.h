// Report bytes as text for the screen, the printer and the clipboard. A report
// holds the bytes of the counted files; they are decoded by the character set
// of the font description that shows them (128, the default, is Shift-JIS),
// or as UTF-8 when the count read its files as UTF-8.
// Decoding never changes the bytes: a sequence that is not valid in the
// character set shows as U+FFFD.
#ifndef VORLAN_UI_REPORT_TEXT_H
#define VORLAN_UI_REPORT_TEXT_H

#include <QString>
#include <memory>
#include <string_view>

// Windows character-set numbers of a font description.
inline constexpr int kAnsiCharSet = 0;
inline constexpr int kShiftJisCharSet = 128;

// The line's bytes without its closing CR LF (a line without one is returned
// whole): what the screen and the printed page show.
std::string_view ReportLineBody(std::string_view line);

// The code page that charSet stands for (932 for 128, 1252 for 0, ...); 1252
// for numbers that name no code page.
int CodePageOfCharSet(int charSet);

// The code page of UTF-8 text.
inline constexpr int kUtf8CodePage = 65001;

// Decodes report lines of one character set, or UTF-8 whatever the character
// set when utf8 is set. Keeps a converter open between lines, so decoding many
// lines costs no set-up per line. Not copyable.
class CReportTextDecoder {
  public:
    explicit CReportTextDecoder(int charSet, bool utf8 = false);
    ~CReportTextDecoder();
    CReportTextDecoder(const CReportTextDecoder&) = delete;
    CReportTextDecoder& operator=(const CReportTextDecoder&) = delete;

    int CharSet() const { return m_nCharSet; }
    bool IsUtf8() const { return m_bUtf8; }
    // The code page actually used: CodePageOfCharSet(charSet), or 1252 when
    // the system has no converter for that one.
    int CodePage() const { return m_nCodePage; }

    QString Decode(std::string_view bytes);

  private:
    struct Converter;

    int m_nCharSet;
    bool m_bUtf8;
    int m_nCodePage;
    std::unique_ptr<Converter> m_pConverter;
};

// One line decoded with a decoder made for the call.
QString DecodeReportLine(std::string_view bytes, int charSet);

#endif
