// Command-line options of vorlan-count. Parsing only: nothing here touches
// the file system or the profile.
#ifndef VORLAN_CLI_OPTIONS_H
#define VORLAN_CLI_OPTIONS_H

#include "cli/data_export.h"
#include "cli/kwic_options.h"

#include <optional>
#include <string>

class CSettingsOverlay;

// The five orders of the word lines.
enum class ReportOrder { abc, zyx, tail, freq, lowfreq };

struct CountOptions {
    std::string directory;
    std::optional<std::string> pattern;
    std::optional<std::string> profile; // --profile FILE
    std::optional<ReportOrder> order;   // --order
    std::optional<int> encoding;        // --encoding, as "Option"/"Encoding" holds it
    std::optional<int> segment;         // --segment, as "Option"/"Segment" holds it
    bool percent = false;
    bool subdir = false;
    bool binary = false;
    bool html = false;
    std::optional<DataFormat> format;  // --format: the word list as data
    std::optional<std::string> output; // --output FILE instead of standard output
    KwicRequest kwic; // --kwic or --collocates: hits or collocates instead of the report

    // DIRECTORY "-": standard input is counted as the one file.
    bool FromStandardInput() const { return directory == "-"; }
};

enum class ParseOutcome { count, help, version, error };

// Reads argv[1..argc-1]. On error, what names the offending argument (or the
// program's name when an operand is missing) and reason says what is wrong.
struct ParseResult {
    ParseOutcome outcome = ParseOutcome::count;
    std::string what;
    std::string reason;
};

ParseResult ParseCountOptions(int argc, const char* const* argv, CountOptions& options);

// Puts the flags given on the command line over the profile's values, for
// this run only: each flag sets the keys that the Output Option dialog would
// write for the same choice.
void ApplyOptionOverrides(const CountOptions& options, CSettingsOverlay& overlay);

const char* UsageText();

#endif
