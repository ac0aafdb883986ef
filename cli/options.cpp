#include "cli/options.h"

#include "engine/segment.h"
#include "engine/text_encoding.h"
#include "settings/settings_overlay.h"

#include <getopt.h>

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace {

// What getopt_long returns for each option. 1 is an operand, as the leading
// '-' of the short-option string asks.
enum OptionCode : int {
    kOperand = 1,
    kHelp = 'h',
    kOrder = 256,
    kPercent,
    kSubdir,
    kBinary,
    kHtml,
    kEncoding,
    kProfile,
    kVersion,
    kFormat,
    kOutput,
    kSegment,
    kKwic,
    kContext,
    kKwicSort,
    kRaw,
    kCollocates,
    kSpan,
    kMin,
};

// The heading of --help an option is listed under.
enum class HelpGroup { options, output, concordance };

struct OptionRow {
    const char* name;    // the long name, without "--"
    const char* argName; // the value's name in --help; null for a flag
    char shortName;      // 0 when there is none
    OptionCode code;
    HelpGroup group;
    const char* help; // lines after the first start at the help column
};

// Every option, in the order --help lists them.
constexpr std::array<OptionRow, 19> kOptionRows{{
    {"order", "ORDER", 0, kOrder, HelpGroup::options,
     "abc (ascending), zyx (descending), tail (by word\n"
     "endings), freq (most frequent first) or lowfreq"},
    {"percent", nullptr, 0, kPercent, HelpGroup::options, "add each word's share in percent"},
    {"subdir", nullptr, 0, kSubdir, HelpGroup::options,
     "also count every file below the subdirectories"},
    {"binary", nullptr, 0, kBinary, HelpGroup::options,
     "skip programs, pictures, media and archives"},
    {"html", nullptr, 0, kHtml, HelpGroup::options, "ignore HTML tags"},
    {"encoding", "ENC", 0, kEncoding, HelpGroup::options,
     "sjis (bytes: single-byte and Shift-JIS text), utf8,\n"
     "or detect (UTF-8 for each file that is valid UTF-8)"},
    {"segment", "HOW", 0, kSegment, HelpGroup::options,
     "how Japanese is split into words: type (by\n"
     "character type), dictionary (by MeCab's IPA\n"
     "dictionary) or lemma (the same, each word as its\n"
     "base form); the last two need the Debian packages\n"
     "libmecab2 and mecab-ipadic-utf8"},
    {"profile", "FILE", 0, kProfile, HelpGroup::options,
     "read the options from FILE instead of the profile\n"
     "named by VORLAN_INI or $XDG_CONFIG_HOME/vorlan/VORLAN.INI"},
    {"help", nullptr, 'h', kHelp, HelpGroup::options, "show this help and exit"},
    {"version", nullptr, 0, kVersion, HelpGroup::options, "show the version and exit"},
    {"format", "FMT", 0, kFormat, HelpGroup::output,
     "write the word list as data instead of the report:\n"
     "tsv, csv or json (see below)"},
    {"output", "FILE", 0, kOutput, HelpGroup::output,
     "write to FILE instead of standard output; FILE is\n"
     "replaced only once everything was written"},
    {"kwic", "WORD", 0, kKwic, HelpGroup::concordance,
     "list every occurrence of WORD in its context\n"
     "instead of the report"},
    {"context", "N", 0, kContext, HelpGroup::concordance,
     "up to N words each side, within the line (default 5)"},
    {"kwic-sort", "KEY", 0, kKwicSort, HelpGroup::concordance,
     "1L, 2L, 3L, 1R, 2R, 3R (by the n-th word left or\n"
     "right of the hit) or file (as found, the default)"},
    {"raw", nullptr, 0, kRaw, HelpGroup::concordance,
     "keep the files' bytes instead of decoding them"},
    {"collocates", "WORD", 0, kCollocates, HelpGroup::concordance,
     "list the words found near WORD, with their scores"},
    {"span", "L,R", 0, kSpan, HelpGroup::concordance,
     "words left and right of each hit (default 5,5)"},
    {"min", "N", 0, kMin, HelpGroup::concordance,
     "list words found near WORD at least N times (2)"},
}};

constexpr std::size_t kHelpColumn = 21;

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

ParseResult Error(std::string_view what, std::string reason) {
    return {ParseOutcome::error, std::string(what), std::move(reason)};
}

const OptionRow* RowOf(int code) {
    for (const OptionRow& row : kOptionRows) {
        if (row.code == code)
            return &row;
    }
    return nullptr;
}

std::vector<option> LongOptions() {
    std::vector<option> options;
    for (const OptionRow& row : kOptionRows)
        options.push_back(
            {row.name, row.argName ? required_argument : no_argument, nullptr, row.code});
    options.push_back({nullptr, 0, nullptr, 0});
    return options;
}

// Operands are returned in order (no reordering of argv, whatever
// POSIXLY_CORRECT says), and a missing value is told apart from an unknown
// option.
std::string ShortOptions() {
    std::string letters = "-:";
    for (const OptionRow& row : kOptionRows) {
        if (row.shortName) {
            letters += row.shortName;
            if (row.argName)
                letters += ':';
        }
    }
    return letters;
}

// getopt_long also takes an unambiguous prefix of a long name and a cluster
// of short options; only the whole name, alone or with "=value", and a short
// option standing alone are options of this program.
bool SpelledInFull(std::string_view given, const OptionRow& row) {
    if (row.shortName && given.size() == 2 && given[0] == '-' && given[1] == row.shortName)
        return true;
    if (!given.starts_with("--"))
        return false;
    given.remove_prefix(2);
    const std::string_view name = row.name;
    return given.starts_with(name) && (given.size() == name.size() || given[name.size()] == '=');
}

template <typename Value, std::size_t N>
bool FindByName(const std::array<std::pair<std::string_view, Value>, N>& names,
                std::string_view text, Value& value) {
    for (const auto& [name, v] : names) {
        if (name == text) {
            value = v;
            return true;
        }
    }
    return false;
}

ParseResult TakeOrder(std::string_view text, CountOptions& options) {
    for (const OrderName& o : kOrders) {
        if (o.name == text) {
            options.order = o.order;
            return {};
        }
    }
    return Error(text, "unknown order (use abc, zyx, tail, freq or lowfreq)");
}

ParseResult TakeEncoding(std::string_view text, CountOptions& options) {
    constexpr std::array<std::pair<std::string_view, int>, 3> kEncodings{{
        {"sjis", kEncodingBytes},
        {"utf8", kEncodingUtf8},
        {"detect", kEncodingDetect},
    }};
    int encoding = 0;
    if (!FindByName(kEncodings, text, encoding))
        return Error(text, "unknown encoding (use sjis, utf8 or detect)");
    options.encoding = encoding;
    return {};
}

ParseResult TakeSegment(std::string_view text, CountOptions& options) {
    constexpr std::array<std::pair<std::string_view, int>, 3> kModes{{
        {"type", kSegmentByType},
        {"dictionary", kSegmentByDictionary},
        {"lemma", kSegmentBaseForms},
    }};
    int mode = 0;
    if (!FindByName(kModes, text, mode))
        return Error(text, "unknown segmentation (use type, dictionary or lemma)");
    options.segment = mode;
    return {};
}

ParseResult TakeFormat(std::string_view text, CountOptions& options) {
    constexpr std::array<std::pair<std::string_view, DataFormat>, 3> kFormats{{
        {"tsv", DataFormat::tsv},
        {"csv", DataFormat::csv},
        {"json", DataFormat::json},
    }};
    DataFormat format{};
    if (!FindByName(kFormats, text, format))
        return Error(text, "unknown format (use tsv, csv or json)");
    options.format = format;
    return {};
}

ParseResult TakeFileName(const char* option, std::string_view text,
                         std::optional<std::string>& name) {
    if (text.empty())
        return Error(option, "empty file name");
    name = std::string(text);
    return {};
}

ParseResult TakeOperand(std::string_view text, int& operands, CountOptions& options) {
    if (operands == 0)
        options.directory = std::string(text);
    else if (operands == 1)
        options.pattern = std::string(text);
    else
        return Error(text, "extra operand");
    ++operands;
    return {};
}

ParseResult KwicValue(std::string_view what, std::string reason) {
    return reason.empty() ? ParseResult{} : Error(what, std::move(reason));
}

// Applies one option that getopt_long recognised; value is its argument.
ParseResult TakeOption(OptionCode code, std::string_view value, CountOptions& options) {
    switch (code) {
    case kHelp:
        return {ParseOutcome::help, {}, {}};
    case kVersion:
        return {ParseOutcome::version, {}, {}};
    case kPercent:
        options.percent = true;
        break;
    case kSubdir:
        options.subdir = true;
        break;
    case kBinary:
        options.binary = true;
        break;
    case kHtml:
        options.html = true;
        break;
    case kOrder:
        return TakeOrder(value, options);
    case kEncoding:
        return TakeEncoding(value, options);
    case kSegment:
        return TakeSegment(value, options);
    case kFormat:
        return TakeFormat(value, options);
    case kOutput:
        return TakeFileName("--output", value, options.output);
    case kProfile:
        return TakeFileName("--profile", value, options.profile);
    case kKwic:
        options.kwic.kwic = std::string(value);
        break;
    case kCollocates:
        options.kwic.collocates = std::string(value);
        break;
    case kRaw:
        options.kwic.bRaw = true;
        break;
    case kContext:
        return KwicValue("--context", TakeKwicContext(value, options.kwic));
    case kKwicSort:
        return KwicValue(value, TakeKwicSort(value, options.kwic));
    case kSpan:
        return KwicValue("--span", TakeKwicSpan(value, options.kwic));
    case kMin:
        return KwicValue("--min", TakeKwicMin(value, options.kwic));
    case kOperand: // operands are taken by TakeOperand
        break;
    }
    return {};
}

ParseResult CheckOperands(int operands, const CountOptions& options) {
    if (operands == 0)
        return Error("DIRECTORY", "missing operand");
    if (options.directory.empty())
        return Error("DIRECTORY", "empty name");
    if (options.FromStandardInput() && options.pattern)
        return Error(*options.pattern, "no PATTERN goes with - (standard input)");
    std::string what;
    if (std::string reason = CheckKwicRequest(options.kwic, what); !reason.empty())
        return Error(what, std::move(reason));
    return {};
}

bool Continues(const ParseResult& result) {
    return result.outcome == ParseOutcome::count;
}

void AppendHelpRows(HelpGroup group, std::string& text) {
    for (const OptionRow& row : kOptionRows) {
        if (row.group != group)
            continue;
        std::string line = row.shortName ? std::string("  -") + row.shortName + ", " : "      ";
        line += std::string("--") + row.name;
        if (row.argName)
            line += std::string("=") + row.argName;
        line.resize(std::max(line.size() + 1, kHelpColumn), ' ');
        for (std::string_view help = row.help; !help.empty();) {
            const std::size_t end = std::min(help.find('\n'), help.size());
            text += line;
            text += help.substr(0, end);
            text += '\n';
            help.remove_prefix(std::min(end + 1, help.size()));
            line.assign(kHelpColumn, ' ');
        }
    }
}

std::string BuildUsageText() {
    std::string text = "Usage: vorlan-count [OPTION]... DIRECTORY [PATTERN]\n"
                       "  or:  vorlan-count [OPTION]... -\n"
                       "Count how often each word occurs in the files of DIRECTORY whose names\n"
                       "match PATTERN (default *.*) and write the report to standard output.\n"
                       "DIRECTORY may also name one file, counted alone when no PATTERN is given.\n"
                       "With -, standard input is counted as one file; the report calls it\n"
                       "(STANDARD INPUT). A directory named - is ./-\n"
                       "\n"
                       "Options are read from the profile; these override it for this run only\n"
                       "(the profile is never written):\n";
    AppendHelpRows(HelpGroup::options, text);
    text += "\n"
            "Output:\n";
    AppendHelpRows(HelpGroup::output, text);
    text += "\n"
            "Concordance:\n";
    AppendHelpRows(HelpGroup::concordance, text);
    text += "\n"
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
            "A hit is a word the count would count as WORD; every hit of a report's\n"
            "word is listed. With --format, hits are rows of file, line, column, left,\n"
            "hit, right (column: the 1-based byte offset in the line, after tags are\n"
            "removed with --html) and collocates rows of word, cooccurrences,\n"
            "frequency, mi, log_likelihood. A UTF-8 WORD is converted to Shift-JIS for\n"
            "files read as Shift-JIS.\n"
            "\n"
            "Exit status: 0 when every file was counted, 1 when the output was\n"
            "written but some file could not be opened or read, 2 for a usage error,\n"
            "a DIRECTORY that cannot be read, an output that cannot be written (an\n"
            "existing FILE is then left as it was), or a count by dictionary\n"
            "(--segment or the profile) when MeCab or its dictionary cannot be loaded.\n";
    return text;
}

} // namespace

// getopt_long keeps its place in globals: parsing starts over with optind 0
// and stops at the first error, so a call never sees another call's state.
// With operands returned in order, argv is never reordered, so the const_cast
// below hands getopt_long strings it only reads.
ParseResult ParseCountOptions(int argc, const char* const* argv, CountOptions& options) {
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i)
        args.push_back(const_cast<char*>(argv[i]));
    args.push_back(nullptr);
    const std::vector<option> longOptions = LongOptions();
    const std::string shortOptions = ShortOptions();
    opterr = 0;
    optind = 0;
    int operands = 0;
    for (;;) {
        const int at = std::max(optind, 1); // the argument getopt_long reads next
        const int code =
            getopt_long(argc, args.data(), shortOptions.c_str(), longOptions.data(), nullptr);
        if (code == -1)
            break;
        const std::string_view given = argv[at];
        ParseResult result;
        if (code == kOperand) {
            result = TakeOperand(optarg, operands, options);
        } else if (const OptionRow* row = RowOf(code == ':' ? optopt : code);
                   !row || code == '?' || !SpelledInFull(given, *row)) {
            result = Error(given, "unknown option");
        } else if (code == ':') {
            result = Error(given, "option requires an argument");
        } else {
            result = TakeOption(row->code, optarg ? optarg : "", options);
        }
        if (!Continues(result))
            return result;
    }
    for (int i = optind; i < argc; ++i) { // the operands after "--"
        if (ParseResult result = TakeOperand(argv[i], operands, options); !Continues(result))
            return result;
    }
    return CheckOperands(operands, options);
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
    if (options.encoding)
        overlay.Override("Option", "Encoding", *options.encoding);
    if (options.segment)
        overlay.Override("Option", "Segment", *options.segment);
}

const char* UsageText() {
    static const std::string text = BuildUsageText();
    return text.c_str();
}
