#include "engine/concordance_rows.h"

#include <algorithm>
#include <charconv>

namespace {

bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

std::string_view Between(std::string_view text, const char* from, const char* to) {
    while (from < to && IsSpace(*from))
        ++from;
    while (to > from && IsSpace(to[-1]))
        --to;
    return text.substr(static_cast<std::size_t>(from - text.data()),
                       static_cast<std::size_t>(to - from));
}

} // namespace

KwicRow MakeKwicRow(const ConcordanceLine& line, std::size_t index, unsigned nContext) {
    const std::string_view hit = line.words[index];
    KwicRow row{*line.pPath, line.nLine, line.Column(index), {}, hit, {}};
    if (nContext == 0)
        return row;
    const std::size_t first = index > nContext ? index - nContext : 0;
    if (first < index)
        row.left = Between(line.text, line.words[first].data(), hit.data());
    const std::size_t last = std::min(line.words.size() - 1, index + nContext);
    if (last > index) {
        const std::string_view end = line.words[last];
        row.right = Between(line.text, hit.data() + hit.size(), end.data() + end.size());
    }
    return row;
}

std::string_view NeighbourWord(const ConcordanceLine& line, std::size_t index, int nAway) {
    const auto at = static_cast<std::ptrdiff_t>(index) + nAway;
    if (at < 0 || at >= static_cast<std::ptrdiff_t>(line.words.size()))
        return {};
    return line.words[static_cast<std::size_t>(at)];
}

void AppendTsvField(std::string& out, std::string_view bytes) {
    if (std::none_of(bytes.begin(), bytes.end(),
                     [](char c) { return c == '\\' || c == '\t' || c == '\n' || c == '\r'; })) {
        out += bytes;
        return;
    }
    for (char c : bytes) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
}

void AppendKwicTsvRow(std::string& out, const KwicRow& row) {
    char digits[24];
    AppendTsvField(out, row.path);
    out += '\t';
    out.append(digits, std::to_chars(digits, digits + sizeof digits, row.nLine).ptr);
    out += '\t';
    out.append(digits, std::to_chars(digits, digits + sizeof digits, row.nColumn).ptr);
    for (std::string_view field : {row.left, row.hit, row.right}) {
        out += '\t';
        AppendTsvField(out, field);
    }
    out += '\n';
}
