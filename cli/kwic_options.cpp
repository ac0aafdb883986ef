#include "cli/kwic_options.h"

#include <array>
#include <charconv>

namespace {

// The most words a context or span may reach: more than a line piece of
// 5,119 bytes can hold.
constexpr unsigned kMostWords = 10000;

bool ParseCount(std::string_view text, unsigned most, unsigned& value) {
    unsigned n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || n > most)
        return false;
    value = n;
    return true;
}

} // namespace

std::string TakeKwicContext(std::string_view text, KwicRequest& request) {
    request.bContextGiven = true;
    if (!ParseCount(text, kMostWords, request.nContext))
        return "context must be a number of words from 0 to 10000";
    return {};
}

std::string TakeKwicSort(std::string_view text, KwicRequest& request) {
    constexpr std::array<std::pair<std::string_view, int>, 7> kKeys{
        {{"file", 0}, {"1L", -1}, {"2L", -2}, {"3L", -3}, {"1R", 1}, {"2R", 2}, {"3R", 3}}};
    request.bSortGiven = true;
    for (const auto& [name, away] : kKeys) {
        if (name == text) {
            request.sort.nAway = away;
            return {};
        }
    }
    return "unknown sort key (use 1L, 2L, 3L, 1R, 2R, 3R or file)";
}

std::string TakeKwicSpan(std::string_view text, KwicRequest& request) {
    request.bSpanGiven = true;
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos ||
        !ParseCount(text.substr(0, comma), kMostWords, request.nLeft) ||
        !ParseCount(text.substr(comma + 1), kMostWords, request.nRight))
        return "span must be L,R: two numbers of words from 0 to 10000";
    return {};
}

std::string TakeKwicMin(std::string_view text, KwicRequest& request) {
    request.bMinGiven = true;
    if (!ParseCount(text, 1u << 30, request.nMin))
        return "minimum must be a number of co-occurrences from 0 to 1073741824";
    return {};
}

std::string CheckKwicRequest(const KwicRequest& request, std::string& what) {
    if (request.kwic && request.collocates) {
        what = "--collocates";
        return "does not go with --kwic";
    }
    if (!request.kwic && (request.bContextGiven || request.bSortGiven || request.bRaw)) {
        what = request.bContextGiven ? "--context" : request.bSortGiven ? "--kwic-sort" : "--raw";
        return "goes only with --kwic";
    }
    if (!request.collocates && (request.bSpanGiven || request.bMinGiven)) {
        what = request.bSpanGiven ? "--span" : "--min";
        return "goes only with --collocates";
    }
    return {};
}
