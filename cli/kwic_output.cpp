#include "cli/kwic_output.h"

#include "engine/concordance_rows.h"
#include "platform/document.h"
#include "platform/utf8.h"

#include "tesmo.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <langinfo.h>

namespace {

// The left context takes this many columns; a longer one loses its start.
constexpr std::size_t kLeftColumns = 40;

bool IsSjisLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// East Asian wide and full-width characters take two columns.
bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

char32_t DecodeUtf8(std::string_view text, std::size_t at, std::size_t n) {
    auto b = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    if (n == 1)
        return b(0);
    char32_t c = b(0) & (0x7F >> n);
    for (std::size_t i = 1; i < n; ++i)
        c = (c << 6) | (b(i) & 0x3F);
    return c;
}

// The delimited rows: TSV or CSV, with the escaping of the word data.
struct Delimited {
    char separator;
    const char* lineEnd;
    std::string (*field)(std::string_view);
};

Delimited DelimitedOf(DataFormat format) {
    return format == DataFormat::csv ? Delimited{',', "\r\n", CsvField}
                                     : Delimited{'\t', "\n", TsvField};
}

std::string JoinRow(const Delimited& d, std::initializer_list<std::string> fields) {
    std::string row;
    for (const std::string& field : fields) {
        if (&field != fields.begin())
            row += d.separator;
        row += field;
    }
    return row + d.lineEnd;
}

std::string Number(double value) {
    const std::string text = FormatPercent(value);
    return text.empty() ? "null" : text;
}

} // namespace

bool TerminalIsUtf8() {
    const std::string old = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_CTYPE, "");
    const bool utf8 = std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0;
    std::setlocale(LC_CTYPE, old.c_str());
    return utf8;
}

std::string CTerminalText::Decode(std::string_view bytes) {
    if (m_bRaw)
        return std::string(bytes);
    std::string text;
    if (m_bUtf8 && !IsValidUtf8(bytes))
        m_converter.Convert(bytes, text);
    else
        text.assign(bytes);
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    return text;
}

std::size_t CTerminalText::CharLength(std::string_view text, std::size_t at) const {
    const auto c = static_cast<unsigned char>(text[at]);
    std::size_t n = 1;
    if (m_bUtf8 && IsValidUtf8(text))
        n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    else if (IsSjisLead(c))
        n = 2;
    return std::min(n, text.size() - at);
}

std::size_t CTerminalText::CharWidth(std::string_view text, std::size_t at, std::size_t n) const {
    if (m_bUtf8 && IsValidUtf8(text))
        return IsWide(DecodeUtf8(text, at, n)) ? 2 : 1;
    return n; // a Shift-JIS double-byte character is as wide as its bytes
}

std::size_t CTerminalText::Width(std::string_view text) const {
    std::size_t width = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t n = CharLength(text, at);
        width += CharWidth(text, at, n);
        at += n;
    }
    return width;
}

std::string_view CTerminalText::LastColumns(std::string_view text, std::size_t width) const {
    std::size_t total = Width(text);
    std::size_t at = 0;
    while (total > width && at < text.size()) {
        const std::size_t n = CharLength(text, at);
        total -= CharWidth(text, at, n);
        at += n;
    }
    return text.substr(at);
}

CKwicWriter::CKwicWriter(const KwicRequest& request, std::optional<DataFormat> format,
                         const std::vector<std::string>& files, CArchive& ar)
    : m_request(request), m_format(format), m_ar(ar), m_text(request.bRaw, TerminalIsUtf8()) {
    if (!format) {
        for (const std::string& path : files)
            m_nPlaceWidth = std::max(m_nPlaceWidth, m_text.Width(m_text.Decode(path)));
        m_nPlaceWidth += 8; // ":" and six digits of a line number
    } else if (*format == DataFormat::json) {
        Put("[");
    } else if (*format == DataFormat::tsv) {
        Put(kKwicTsvHeader);
    } else {
        Put("file,line,column,left,hit,right\r\n");
    }
}

void CKwicWriter::OnLine(const ConcordanceLine& line) {
    for (std::uint32_t i : line.hits) {
        const KwicRow row = MakeKwicRow(line, i, m_request.nContext);
        if (m_request.sort.nAway == 0)
            PutRow(FormatRow(row));
        else
            m_sorted.push_back(
                {std::string(NeighbourWord(line, i, m_request.sort.nAway)), FormatRow(row)});
    }
}

void CKwicWriter::Finish() {
    // Ties keep the order the hits were found in.
    std::stable_sort(m_sorted.begin(), m_sorted.end(), [](const Sorted& a, const Sorted& b) {
        return mbstricmp(a.key.c_str(), b.key.c_str()) < 0;
    });
    for (const Sorted& s : m_sorted)
        PutRow(s.text);
    m_sorted.clear();
    if (m_format == DataFormat::json)
        Put(m_bFirst ? "]\n" : "\n]\n");
}

std::string CKwicWriter::FormatRow(const KwicRow& row) {
    if (!m_format)
        return FormatPlain(row);
    if (*m_format == DataFormat::tsv) {
        std::string text;
        AppendKwicTsvRow(text, row);
        return text;
    }
    if (*m_format == DataFormat::csv) {
        // Written field by field into one buffer: a row per hit adds up.
        std::string text;
        AppendCsvField(text, row.path);
        text += ',' + std::to_string(row.nLine) + ',' + std::to_string(row.nColumn);
        for (std::string_view field : {row.left, row.hit, row.right}) {
            text += ',';
            AppendCsvField(text, field);
        }
        return text += "\r\n";
    }
    const std::string line = std::to_string(row.nLine);
    const std::string column = std::to_string(row.nColumn);
    auto member = [&](const char* name, std::string_view bytes) {
        return JsonTextMember(name, bytes, !IsValidUtf8(bytes), m_converter);
    };
    std::string text = "{";
    text += member("file", row.path) + ",\"line\":" + line + ",\"column\":" + column + ',' +
            member("left", row.left) + ',' + member("hit", row.hit) + ',' +
            member("right", row.right) + '}';
    return text;
}

// PATH:LINE, padded; the left context right-aligned; the hit; the right
// context.
std::string CKwicWriter::FormatPlain(const KwicRow& row) {
    std::string text = m_text.Decode(row.path) + ':' + std::to_string(row.nLine);
    text.append(m_nPlaceWidth > m_text.Width(text) ? m_nPlaceWidth - m_text.Width(text) : 0, ' ');
    const std::string decoded = m_text.Decode(row.left);
    const std::string_view left = m_text.LastColumns(decoded, kLeftColumns);
    text.append(kLeftColumns - m_text.Width(left) + 1, ' ');
    text += left;
    text += "  ";
    text += m_text.Decode(row.hit);
    text += "  ";
    text += m_text.Decode(row.right);
    text += '\n';
    return text;
}

// JSON objects are separated as they are written, sorted or not.
void CKwicWriter::PutRow(const std::string& text) {
    if (m_format == DataFormat::json) {
        Put(m_bFirst ? "\n" : ",\n");
        m_bFirst = false;
    }
    Put(text);
}

void CKwicWriter::Put(const std::string& text) {
    m_ar.Write(text.data(), text.size());
}

void WriteCollocates(const std::vector<CollocateRow>& rows, std::optional<DataFormat> format,
                     CArchive& ar) {
    auto put = [&](const std::string& text) { ar.Write(text.data(), text.size()); };
    if (!format) {
        CTerminalText text(false, TerminalIsUtf8());
        put("cooccurrences  frequency        mi  log_likelihood  word\n");
        for (const CollocateRow& row : rows) {
            char numbers[96];
            std::snprintf(numbers, sizeof numbers, "%13llu  %9llu  %8.3f  %14.3f  ",
                          static_cast<unsigned long long>(row.nCooccurrences),
                          static_cast<unsigned long long>(row.nFrequency), row.mi,
                          row.logLikelihood);
            put(numbers + text.Decode(row.word) + '\n');
        }
        return;
    }
    if (*format == DataFormat::json) {
        CSjisToUtf8 converter;
        std::string text = "[";
        for (const CollocateRow& row : rows) {
            text += &row == rows.data() ? "\n{" : ",\n{";
            text += JsonTextMember("word", row.word, !IsValidUtf8(row.word), converter);
            text += ",\"cooccurrences\":" + std::to_string(row.nCooccurrences) +
                    ",\"frequency\":" + std::to_string(row.nFrequency) +
                    ",\"mi\":" + Number(row.mi) +
                    ",\"log_likelihood\":" + Number(row.logLikelihood) + '}';
        }
        put(text + (rows.empty() ? "]\n" : "\n]\n"));
        return;
    }
    const Delimited d = DelimitedOf(*format);
    put(JoinRow(d, {"word", "cooccurrences", "frequency", "mi", "log_likelihood"}));
    for (const CollocateRow& row : rows)
        put(JoinRow(d, {d.field(row.word), std::to_string(row.nCooccurrences),
                        std::to_string(row.nFrequency), FormatPercent(row.mi),
                        FormatPercent(row.logLikelihood)}));
}
