// The concordance options of vorlan-count: --kwic and --collocates with
// their settings. Parsing and checking only.
#ifndef VORLAN_CLI_KWIC_OPTIONS_H
#define VORLAN_CLI_KWIC_OPTIONS_H

#include <optional>
#include <string>
#include <string_view>

// The order of the hits: by the n-th word left or right of the hit, or as
// they were found.
struct KwicSort {
    int nAway = 0; // -3..-1 left, 1..3 right, 0 list order
};

struct KwicRequest {
    std::optional<std::string> kwic;       // --kwic=WORD
    std::optional<std::string> collocates; // --collocates=WORD
    unsigned nContext = 5;                 // --context=N
    KwicSort sort;                         // --kwic-sort=KEY
    bool bRaw = false;                     // --raw
    unsigned nLeft = 5, nRight = 5;        // --span=L,R
    unsigned nMin = 2;                     // --min=N
    // Which of the settings were given, to refuse those without their mode.
    bool bContextGiven = false, bSortGiven = false, bSpanGiven = false, bMinGiven = false;

    bool Wanted() const { return kwic || collocates; }
    const std::string& Word() const { return kwic ? *kwic : *collocates; }
};

// Each takes the value of one option; an empty result means it was taken,
// anything else is the reason it was not.
std::string TakeKwicContext(std::string_view text, KwicRequest& request);
std::string TakeKwicSort(std::string_view text, KwicRequest& request);
std::string TakeKwicSpan(std::string_view text, KwicRequest& request);
std::string TakeKwicMin(std::string_view text, KwicRequest& request);

// The options that do not go together; sets what names the offending one.
std::string CheckKwicRequest(const KwicRequest& request, std::string& what);

#endif
