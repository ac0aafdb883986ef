#include "engine/collocates.h"

#include "platform/ascii_case.h"

#include "tesmo.h"

#include <algorithm>
#include <cmath>

namespace {

// o * ln(o / e), 0 for an empty cell.
double Term(double o, double e) {
    return o > 0 && e > 0 ? o * std::log(o / e) : 0.0;
}

// A key that tells words apart as the word table does: only A-Z fold.
void Fold(std::string_view word, std::string& out) {
    out.assign(word);
    for (char& c : out)
        c = AsciiUpper(c);
}

} // namespace

void ScoreCollocate(CollocateRow& row, std::uint64_t nWindow, std::uint64_t nTotal) {
    const auto clamp = [](double x) { return std::max(x, 0.0); };
    const double a = static_cast<double>(row.nCooccurrences);
    const double f = static_cast<double>(row.nFrequency);
    const double w = static_cast<double>(nWindow);
    const double n = static_cast<double>(nTotal);
    const double o[2][2] = {{a, clamp(w - a)}, {clamp(f - a), clamp(n - w - f + a)}};
    const double rows[2] = {o[0][0] + o[0][1], o[1][0] + o[1][1]};
    const double cols[2] = {o[0][0] + o[1][0], o[0][1] + o[1][1]};
    const double t = rows[0] + rows[1];
    double g2 = 0;
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            g2 += Term(o[i][j], t > 0 ? rows[i] * cols[j] / t : 0);
    g2 *= 2;
    const double e11 = t > 0 ? rows[0] * cols[0] / t : 0;
    row.mi = a > 0 && e11 > 0 ? std::log2(a / e11) : 0.0;
    row.logLikelihood = a < e11 ? -g2 : g2;
}

CCollocates::Entry& CCollocates::Find(std::string_view word) {
    Fold(word, m_folded);
    auto it = m_entries.find(std::string_view(m_folded));
    if (it == m_entries.end())
        it = m_entries.emplace(m_folded, Entry{std::string(word), 0, 0}).first;
    return it->second;
}

void CCollocates::OnLine(const ConcordanceLine& line) {
    m_lineEntries.clear();
    for (std::string_view word : line.forms) {
        Entry& entry = Find(word);
        ++entry.nFrequency;
        m_lineEntries.push_back(&entry);
    }
    m_nTotal += line.words.size();
    if (!line.hits.empty())
        CountWindows(line);
}

void CCollocates::CountWindows(const ConcordanceLine& line) {
    const std::size_t n = line.words.size();
    m_isHit.assign(n, false);
    for (std::uint32_t h : line.hits)
        m_isHit[h] = true;
    for (std::uint32_t h : line.hits) {
        const std::size_t first = h > m_nLeft ? h - m_nLeft : 0;
        const std::size_t last = std::min<std::size_t>(n - 1, std::size_t{h} + m_nRight);
        for (std::size_t j = first; j <= last; ++j) {
            if (m_isHit[j])
                continue;
            ++m_lineEntries[j]->nCooccurrences;
            ++m_nWindow;
        }
    }
}

std::vector<CollocateRow> CCollocates::Rows(std::uint64_t nMin) const {
    std::vector<CollocateRow> rows;
    for (const auto& [key, entry] : m_entries) {
        if (entry.nCooccurrences == 0 || entry.nCooccurrences < nMin)
            continue;
        CollocateRow row{entry.form, entry.nCooccurrences, entry.nFrequency, 0, 0};
        ScoreCollocate(row, m_nWindow, m_nTotal);
        rows.push_back(std::move(row));
    }
    std::sort(rows.begin(), rows.end(), [](const CollocateRow& x, const CollocateRow& y) {
        if (x.logLikelihood != y.logLikelihood)
            return x.logLikelihood > y.logLikelihood;
        if (x.nCooccurrences != y.nCooccurrences)
            return x.nCooccurrences > y.nCooccurrences;
        return mbstricmp(x.word.c_str(), y.word.c_str()) < 0;
    });
    return rows;
}
