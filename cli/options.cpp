#include "cli/options.h"

#include "settings/settings_overlay.h"

#include <array>
#include <cstring>
#include <string_view>

namespace {

struct OrderName {
    std::string_view name;
    ReportOrder order;
    const char* key; // the one sort key set to 1
};

constexpr std::array<OrderName, 5> kOrders{{
    {"abc", ReportOrder::abc, "abc"},
    {"zyx", ReportOrder::zyx, "zyx"},
    {"tail", ReportOrder::tail, "Tail"},
    {"freq", ReportOrder::freq, "Freq"},
    {"lowfreq", ReportOrder::lowfreq, "LowFreq"},
}};

constexpr std::array<const char*, 5> kSortKeys{"abc", "zyx", "Tail", "Freq", "LowFreq"};

ParseResult Error(std::string what, std::string reason) {
    return {ParseOutcome::error, std::move(what), std::move(reason)};
}

bool ParseFormat(std::string_view text, DataFormat& format) {
    constexpr std::array<std::pair<std::string_view, DataFormat>, 3> kFormats{{
        {"tsv", DataFormat::tsv},
        {"csv", DataFormat::csv},
        {"json", DataFormat::json},
    }};
    for (const auto& [name, value] : kFormats) {
        if (name == text) {
            format = value;
            return true;
        }
    }
    return false;
}

bool ParseOrder(std::string_view text, ReportOrder& order) {
    for (const OrderName& o : kOrders) {
        if (o.name == text) {
            order = o.order;
            return true;
        }
    }
    return false;
}

// Options that take a value accept it as "--name=value" or as the next
// argument. Returns false when the value is missing.
bool TakeValue(std::string_view arg, std::string_view name, int argc, const char* const* argv,
               int& i, std::string& value) {
    if (arg.size() > name.size()) {
        value = std::string(arg.substr(name.size() + 1));
        return true;
    }
    if (i + 1 >= argc)
        return false;
    value = argv[++i];
    return true;
}

bool Matches(std::string_view arg, std::string_view name) {
    return arg == name ||
           (arg.starts_with(name) && arg.size() > name.size() && arg[name.size()] == '=');
}

} // namespace

ParseResult ParseCountOptions(int argc, const char* const* argv, CountOptions& options) {
    int operands = 0;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (optionsEnded || arg == "-" || !arg.starts_with("-")) {
            if (operands == 0)
                options.directory = std::string(arg);
            else if (operands == 1)
                options.pattern = std::string(arg);
            else
                return Error(std::string(arg), "extra operand");
            ++operands;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            return {ParseOutcome::help, {}, {}};
        } else if (arg == "--version") {
            return {ParseOutcome::version, {}, {}};
        } else if (arg == "--percent") {
            options.percent = true;
        } else if (arg == "--subdir") {
            options.subdir = true;
        } else if (arg == "--binary") {
            options.binary = true;
        } else if (arg == "--html") {
            options.html = true;
        } else if (Matches(arg, "--order")) {
            std::string value;
            if (!TakeValue(arg, "--order", argc, argv, i, value))
                return Error("--order", "option requires an argument");
            ReportOrder order;
            if (!ParseOrder(value, order))
                return Error(value, "unknown order (use abc, zyx, tail, freq or lowfreq)");
            options.order = order;
        } else if (Matches(arg, "--format")) {
            std::string value;
            if (!TakeValue(arg, "--format", argc, argv, i, value))
                return Error("--format", "option requires an argument");
            DataFormat format;
            if (!ParseFormat(value, format))
                return Error(value, "unknown format (use tsv, csv or json)");
            options.format = format;
        } else if (Matches(arg, "--output")) {
            std::string value;
            if (!TakeValue(arg, "--output", argc, argv, i, value))
                return Error("--output", "option requires an argument");
            if (value.empty())
                return Error("--output", "empty file name");
            options.output = value;
        } else if (Matches(arg, "--profile")) {
            std::string value;
            if (!TakeValue(arg, "--profile", argc, argv, i, value))
                return Error("--profile", "option requires an argument");
            if (value.empty())
                return Error("--profile", "empty file name");
            options.profile = value;
        } else {
            return Error(std::string(arg), "unknown option");
        }
    }
    if (operands == 0)
        return Error("DIRECTORY", "missing operand");
    if (options.directory.empty())
        return Error("DIRECTORY", "empty name");
    if (options.FromStandardInput() && options.pattern)
        return Error(*options.pattern, "no PATTERN goes with - (standard input)");
    return {};
}

void ApplyOptionOverrides(const CountOptions& options, CSettingsOverlay& overlay) {
    if (options.order) {
        // One choice of five, written the way the Output Option dialog
        // writes it; e.g. zyx is abc 0, Tail 0, Freq 0, LowFreq 0, which
        // the count run reads as descending.
        for (const char* key : kSortKeys)
            overlay.Override("Sort", key, 0);
        for (const OrderName& o : kOrders)
            if (o.order == *options.order)
                overlay.Override("Sort", o.key, 1);
    }
    if (options.percent)
        overlay.Override("Sort", "Percent", 1);
    if (options.subdir)
        overlay.Override("Option", "Subdir", 1);
    if (options.binary)
        overlay.Override("Option", "Binary", 1);
    if (options.html)
        overlay.Override("Option", "DeHTML", 1);
}

const char* UsageText() {
    return "Usage: vorlan-count [OPTION]... DIRECTORY [PATTERN]\n"
           "  or:  vorlan-count [OPTION]... -\n"
           "Count how often each word occurs in the files of DIRECTORY whose names\n"
           "match PATTERN (default *.*) and write the report to standard output.\n"
           "DIRECTORY may also name one file, counted alone when no PATTERN is given.\n"
           "With -, standard input is counted as one file; the report calls it\n"
           "(STANDARD INPUT). A directory named - is ./-\n"
           "\n"
           "Options are read from the profile; these override it for this run only\n"
           "(the profile is never written):\n"
           "      --order=ORDER  abc (ascending), zyx (descending), tail (by word\n"
           "                     endings), freq (most frequent first) or lowfreq\n"
           "      --percent      add each word's share in percent\n"
           "      --subdir       also count every file below the subdirectories\n"
           "      --binary       skip programs, pictures, media and archives\n"
           "      --html         ignore HTML tags\n"
           "      --profile=FILE read the options from FILE instead of the profile\n"
           "                     named by VORLAN_INI or $XDG_CONFIG_HOME/vorlan/VORLAN.INI\n"
           "  -h, --help         show this help and exit\n"
           "      --version      show the version and exit\n"
           "\n"
           "Output:\n"
           "      --format=FMT   write the word list as data instead of the report:\n"
           "                     tsv, csv or json (see below)\n"
           "      --output=FILE  write to FILE instead of standard output; FILE is\n"
           "                     replaced only once everything was written\n"
           "\n"
           "Report lines end with CR LF, as in a saved report.\n"
           "\n"
           "Data formats hold one row per word in the report's order: the word, its\n"
           "count, and its share in percent at full precision. TSV and CSV start with\n"
           "the row word, count, percent, encoding=utf-8 (or encoding=shift_jis when\n"
           "some word is not UTF-8) and end with a totals row whose first field is\n"
           "empty; words keep the bytes they were counted as. TSV writes backslash,\n"
           "tab, LF and CR inside a field as \\\\, \\t, \\n and \\r, and ends rows with LF;\n"
           "CSV quotes as RFC 4180 does and ends rows with CR LF. JSON is one object\n"
           "with \"encoding\", \"words\" and \"totals\"; it is UTF-8, so words that are\n"
           "not are converted from Shift-JIS (\"encoding\": \"converted from\n"
           "Shift-JIS\"), and a word that does not convert keeps its bytes in hex.\n"
           "\n"
           "Exit status: 0 when every file was counted, 1 when the output was\n"
           "written but some file could not be opened or read, 2 for a usage error,\n"
           "a DIRECTORY that cannot be read or an output that cannot be written (an\n"
           "existing FILE is then left as it was).\n";
}
