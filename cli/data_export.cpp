#include "cli/data_export.h"

#include "cli/sjis_to_utf8.h"
#include "engine/concordance_rows.h"
#include "engine/ex_string_list.h"
#include "platform/document.h"
#include "platform/utf8.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <vector>

namespace {

double Percent(std::uint64_t count, std::int64_t total) {
    // The expression of the report's percent field, before its rounding.
    return static_cast<double>(count) * 100.0 / static_cast<double>(total);
}

// Calls fn(word, count) for each word line of report, in report order.
template <class Fn> void ForEachWord(const CExStringList& report, Fn fn) {
    for (const auto* node = report.m_pHead; node; node = node->m_pNextNode) {
        if (node->IsWordLine())
            fn(node->Word(), node->WordCount());
    }
}

bool AllWordsUtf8(const CExStringList& report) {
    bool utf8 = true;
    ForEachWord(report,
                [&](std::string_view word, std::uint64_t) { utf8 = utf8 && IsValidUtf8(word); });
    return utf8;
}

void Put(CArchive& ar, std::string_view text) {
    ar.Write(text.data(), text.size());
}

// TSV and CSV differ only in how a field is written and how a row ends.
struct Delimited {
    char separator;
    std::string_view lineEnd;
    std::string (*field)(std::string_view);
};

constexpr Delimited kTsv{'\t', "\n", TsvField};
constexpr Delimited kCsv{',', "\r\n", CsvField};

void PutRow(CArchive& ar, const Delimited& d, const std::vector<std::string>& fields) {
    std::string row;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            row += d.separator;
        row += d.field(fields[i]);
    }
    row += d.lineEnd;
    Put(ar, row);
}

// A header row naming the columns, with the encoding of the words as a
// fourth field; a row per word; a trailer row of totals whose empty first
// field (no word is empty) sets it apart from the word rows.
void WriteDelimited(const CExStringList& report, const ExportTotals& totals, const Delimited& d,
                    CArchive& ar) {
    const char* encoding = AllWordsUtf8(report) ? "encoding=utf-8" : "encoding=shift_jis";
    PutRow(ar, d, {"word", "count", "percent", encoding});
    std::string row;
    ForEachWord(report, [&](std::string_view word, std::uint64_t count) {
        row = d.field(word);
        row += d.separator;
        row += std::to_string(count);
        row += d.separator;
        row += FormatPercent(Percent(count, totals.totalWords));
        row += d.lineEnd;
        Put(ar, row);
    });
    PutRow(ar, d,
           {"", "files processed=" + std::to_string(totals.filesProcessed),
            "total words=" + std::to_string(totals.totalWords),
            "different words=" + std::to_string(totals.differentWords),
            "file specification=" + totals.spec});
}

std::string Hex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text += kDigits[b >> 4];
        text += kDigits[b & 0xF];
    }
    return text;
}

} // namespace

// "name":"text", where text is bytes as they are (valid UTF-8) or converted
// from Shift-JIS. When conversion replaced bytes, a second member
// "name_bytes" keeps all of them in hexadecimal.
std::string JsonTextMember(std::string_view name, std::string_view bytes, bool fromSjis,
                           CSjisToUtf8& converter) {
    std::string member = JsonString(name) + ':';
    if (!fromSjis)
        return member + JsonString(bytes);
    std::string text;
    const bool whole = converter.Convert(bytes, text);
    member += JsonString(text);
    if (!whole)
        member += ',' + JsonString(std::string(name) + "_bytes") + ':' + JsonString(Hex(bytes));
    return member;
}

namespace {

void WriteJson(const CExStringList& report, const ExportTotals& totals, CArchive& ar) {
    const bool utf8 = AllWordsUtf8(report);
    CSjisToUtf8 converter;
    Put(ar, "{\"encoding\":");
    Put(ar, utf8 ? "\"utf-8\"" : "\"converted from Shift-JIS\"");
    Put(ar, ",\n\"words\":[");
    bool first = true;
    std::string item;
    ForEachWord(report, [&](std::string_view word, std::uint64_t count) {
        item = first ? "\n{" : ",\n{";
        first = false;
        item += JsonTextMember("word", word, !utf8, converter);
        item += ",\"count\":" + std::to_string(count) + ",\"percent\":";
        const std::string percent = FormatPercent(Percent(count, totals.totalWords));
        item += percent.empty() ? "null" : percent;
        item += '}';
        Put(ar, item);
    });
    std::string tail =
        "\n],\n\"totals\":{\"files_processed\":" + std::to_string(totals.filesProcessed) +
        ",\"total_words\":" + std::to_string(totals.totalWords) +
        ",\"different_words\":" + std::to_string(totals.differentWords) + ',' +
        JsonTextMember("file_specification", totals.spec, !IsValidUtf8(totals.spec), converter) +
        "}}\n";
    Put(ar, tail);
}

} // namespace

void WriteWordData(const CExStringList& report, const ExportTotals& totals, DataFormat format,
                   CArchive& ar) {
    switch (format) {
    case DataFormat::tsv:
        WriteDelimited(report, totals, kTsv, ar);
        break;
    case DataFormat::csv:
        WriteDelimited(report, totals, kCsv, ar);
        break;
    case DataFormat::json:
        WriteJson(report, totals, ar);
        break;
    }
}

std::string FormatPercent(double value) {
    if (!std::isfinite(value))
        return {};
    char text[32];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string TsvField(std::string_view bytes) {
    std::string field;
    AppendTsvField(field, bytes);
    return field;
}

std::string CsvField(std::string_view bytes) {
    std::string field;
    AppendCsvField(field, bytes);
    return field;
}

void AppendCsvField(std::string& out, std::string_view bytes) {
    if (std::none_of(bytes.begin(), bytes.end(),
                     [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; })) {
        out += bytes;
        return;
    }
    out += '"';
    for (char c : bytes) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

std::string JsonString(std::string_view utf8) {
    std::string text = "\"";
    for (char c : utf8) {
        switch (c) {
        case '"':
            text += "\\\"";
            break;
        case '\\':
            text += "\\\\";
            break;
        case '\n':
            text += "\\n";
            break;
        case '\r':
            text += "\\r";
            break;
        case '\t':
            text += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
                text += escape;
            } else {
                text += c;
            }
        }
    }
    return text + '"';
}
