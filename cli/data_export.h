// The word list of a report as data: TSV, CSV or JSON, for other programs.
//
// Every format holds the word lines of the report (the words the writers
// put there, not text read back) in report order with their count and their
// share in percent (count * 100 / total words, printed so that reading it
// back gives the same double), a note on how the words are encoded, and the
// totals. Words are written as counted, byte for byte, in TSV and CSV; JSON
// must be UTF-8, so there words that are not are converted from Shift-JIS.
#ifndef VORLAN_CLI_DATA_EXPORT_H
#define VORLAN_CLI_DATA_EXPORT_H

#include <cstdint>
#include <string>

class CArchive;
class CExStringList;
class CSjisToUtf8;

enum class DataFormat { tsv, csv, json };

struct ExportTotals {
    std::int64_t filesProcessed = 0;
    std::int64_t totalWords = 0;
    std::int64_t differentWords = 0;
    std::string spec; // the file specification as the report's header shows it
};

void WriteWordData(const CExStringList& report, const ExportTotals& totals, DataFormat format,
                   CArchive& ar);

// The shortest text that reads back as value; empty for NaN and infinities.
std::string FormatPercent(double value);

// One field of a TSV row: backslash, tab, LF and CR become \\, \t, \n, \r.
std::string TsvField(std::string_view bytes);
// One field of a CSV record: quoted, with quotes doubled, when it holds a
// comma, a quote, CR or LF.
std::string CsvField(std::string_view bytes);
// The CSV field appended to out, for writers of many rows (the TSV one is
// AppendTsvField of engine/concordance_rows.h).
void AppendCsvField(std::string& out, std::string_view bytes);
// A JSON string literal of UTF-8 text, quotes included.
std::string JsonString(std::string_view utf8);
// "name":"text", where text is bytes as they are (valid UTF-8) or, with
// fromSjis, converted from Shift-JIS; when conversion replaced bytes, a
// second member "name_bytes" keeps all of them in hexadecimal.
std::string JsonTextMember(std::string_view name, std::string_view bytes, bool fromSjis,
                           CSjisToUtf8& converter);

#endif
