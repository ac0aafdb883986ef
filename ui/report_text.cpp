#include "ui/report_text.h"

#include "platform/utf8.h"

#include <QSysInfo>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <string>

namespace {

constexpr int kFallbackCodePage = 1252;
constexpr char16_t kReplacement = 0xFFFD;

struct CharSetCodePage {
    int charSet;
    int codePage;
};

// The Windows character sets and the code pages their text is in.
constexpr CharSetCodePage kCodePages[] = {
    {0, 1252},   {77, 10000}, {128, 932},  {129, 949},  {130, 1361}, {134, 936},
    {136, 950},  {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
    {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}, {255, 437},
};

constexpr int kJohabCodePage = 1361;

std::string IconvName(int codePage) {
    if (codePage == 10000)
        return "MACINTOSH";
    return "CP" + std::to_string(codePage);
}

const char* Utf16Name() {
    return QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";
}

} // namespace

std::string_view ReportLineBody(std::string_view line) {
    if (line.ends_with("\r\n"))
        line.remove_suffix(2);
    else if (line.ends_with('\n'))
        line.remove_suffix(1);
    return line;
}

int CodePageOfCharSet(int charSet) {
    for (const CharSetCodePage& entry : kCodePages) {
        if (entry.charSet == charSet)
            return entry.codePage;
    }
    return kFallbackCodePage;
}

// An open iconv conversion to the native UTF-16; null descriptor when the
// system has no converter for the code page.
struct CReportTextDecoder::Converter {
    iconv_t cd = reinterpret_cast<iconv_t>(-1);

    explicit Converter(int codePage) : cd(iconv_open(Utf16Name(), IconvName(codePage).c_str())) {}
    ~Converter() {
        if (Open())
            iconv_close(cd);
    }
    bool Open() const { return cd != reinterpret_cast<iconv_t>(-1); }
};

CReportTextDecoder::CReportTextDecoder(int charSet)
    : m_nCharSet(charSet), m_nCodePage(CodePageOfCharSet(charSet)),
      m_pConverter(std::make_unique<Converter>(m_nCodePage)) {
    if (!m_pConverter->Open() && m_nCodePage != kFallbackCodePage) {
        m_nCodePage = kFallbackCodePage;
        m_pConverter = std::make_unique<Converter>(m_nCodePage);
    }
}

CReportTextDecoder::~CReportTextDecoder() = default;

QString CReportTextDecoder::Decode(std::string_view bytes) {
    CUtf8Validator utf8;
    utf8.Feed(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    if (!utf8.SawMultiByte()) {
        // Plain ASCII is itself, but for Johab, which puts the won sign at
        // 0x5C.
        if (m_nCodePage == kJohabCodePage)
            return DecodeCodePage(bytes);
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));
    }
    if (utf8.Complete())
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    return DecodeCodePage(bytes);
}

QString CReportTextDecoder::DecodeForDisplay(std::string_view bytes) {
    QString text = Decode(bytes);
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}

QString CReportTextDecoder::DecodeCodePage(std::string_view bytes) {
    if (!m_pConverter->Open())
        return QString::fromLatin1(bytes.data(), qsizetype(bytes.size()));

    // One byte never yields more than two UTF-16 units.
    std::u16string out(bytes.size() * 2 + 4, u'\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* outPtr = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = out.size() * sizeof(char16_t);
    iconv(m_pConverter->cd, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        if (iconv(m_pConverter->cd, &in, &inLeft, &outPtr, &outLeft) != std::size_t(-1))
            break;
        if (errno == E2BIG || outLeft < sizeof(char16_t))
            break; // cannot happen with the room above; show what was decoded
        // An invalid or cut-off sequence: one replacement for its first
        // byte, then go on with the next byte.
        std::memcpy(outPtr, &kReplacement, sizeof kReplacement);
        outPtr += sizeof(char16_t);
        outLeft -= sizeof(char16_t);
        ++in;
        --inLeft;
        iconv(m_pConverter->cd, nullptr, nullptr, nullptr, nullptr);
    }
    const std::size_t units = (out.size() * sizeof(char16_t) - outLeft) / sizeof(char16_t);
    return QString::fromUtf16(out.data(), qsizetype(units));
}

QString DecodeReportLine(std::string_view bytes, int charSet) {
    CReportTextDecoder decoder(charSet);
    return decoder.Decode(bytes);
}
