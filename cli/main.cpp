// vorlan-count: counts the words of the files of one directory (or of
// standard input), as the count command of the desktop program would, and
// writes the report, or its word list as data, to standard output or a file.
// Parse, validate, delegate to the engine, print, exit status.
#include "cli/data_export.h"
#include "cli/kwic_run.h"
#include "cli/options.h"
#include "cli/output_file.h"
#include "cli/target.h"

#include "engine/count_notifier.h"
#include "engine/file_list.h"
#include "engine/report_format.h"
#include "engine/report_sink.h"
#include "engine/segment.h"
#include "engine/vorlan_doc.h"
#include "platform/atomic_file.h"
#include "platform/large_pages.h"
#include "platform/quote_name.h"
#include "settings/profile_location.h"
#include "settings/profile_settings.h"
#include "settings/setting_keys.h"
#include "settings/settings_overlay.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <new>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kExitCounted = 0;
// Some file could not be opened or read whole, or memory ran out: the
// report was written but does not cover everything.
constexpr int kExitSomeFilesFailed = 1;
constexpr int kExitTrouble = 2;

// The output buffer when memory is too short for the usual one.
constexpr std::size_t kSmallOutputBuffer = 4096;

// The file list entry, and file specification, of standard input; the report
// shows it upper-cased like every specification.
constexpr const char kStandardInput[] = "(standard input)";

// Each engine message becomes one line on standard error; there is no
// window to beep in.
class CStderrNotifier : public ICountNotifier {
  public:
    void ShowMessage(const std::string& text) override {
        std::string line = text + '\n';
        std::fwrite(line.data(), 1, line.size(), stderr);
    }
    void Beep() override {}
};

int Fail(const std::string& what, const std::string& reason) {
    std::fprintf(stderr, "vorlan-count: %s: %s\n", QuoteControlBytes(what).c_str(), reason.c_str());
    return kExitTrouble;
}

int UsageError(const ParseResult& result) {
    Fail(result.what, result.reason);
    std::fputs("Try 'vorlan-count --help' for more information.\n", stderr);
    return kExitTrouble;
}

// The report's lines go to the output as the count makes them, byte for
// byte as a saved report holds them: a report of millions of words is never
// held whole.
class CArchiveLineSink : public IReportLineSink {
  public:
    explicit CArchiveLineSink(CArchive& ar) : m_ar(ar) {}
    void WriteLine(std::string line) override { m_ar.Write(line.data(), line.size()); }
    void WriteWordLine(std::string& line, std::uint64_t, std::size_t) override {
        m_ar.Write(line.data(), line.size());
    }

  private:
    CArchive& m_ar;
};

// The word list of the last count as data, with the file specification the
// count was given, as its header shows it.
void WriteWordList(const CountOptions& options, CVorlanDoc& doc, const std::string& spec,
                   CArchive& ar) {
    const CountOutcome& count = doc.LastCount();
    const ExportTotals totals{count.nFilesProcessed, count.nTotalWords, count.nDifferentWords,
                              UpperCased(spec)};
    WriteWordData(doc.m_listResult, totals, *options.format, ar);
}

using OutputWriter = std::function<void(CArchive&)>;

// Writes the output to the open descriptor fd, buffered so that the many
// report lines become few large writes; when memory is too short for the
// large buffer a small one does.
std::error_code WriteToDescriptor(int fd, const OutputWriter& write) {
    std::optional<CFdSink> sink;
    try {
        sink.emplace(fd);
    } catch (const std::bad_alloc&) {
        sink.emplace(fd, kSmallOutputBuffer);
    }
    CArchive ar(*sink);
    write(ar);
    if (!sink->Flush() || ar.Failed())
        return sink->Error() ? sink->Error() : std::make_error_code(std::errc::io_error);
    return {};
}

// Before the count: kExitCounted when the output can be written and is not
// the profile, else the status after the message that says why not.
int CheckOutput(const std::string& output, const std::string& profile) {
    if (std::error_code ec = CheckOutputTarget(output))
        return Fail(output, ec.message());
    if (WritesOverProfile(output, profile))
        return Fail(output, "is the profile; the report is not written over it");
    return kExitCounted;
}

// The profile must be a regular file that can be read whole: a directory,
// a FIFO or a device in its place, or one that cannot be read (no
// permission, too large for memory) would otherwise read as empty and the
// count would run silently with the defaults. One named on the command line
// must also be there (a mistyped name); the default one may not have been
// written yet.
bool CheckProfile(const std::string& path, bool mustExist, std::string& reason) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (!mustExist && (errno == ENOENT || errno == ENOTDIR))
            return true;
        reason = std::strerror(errno);
        return false;
    }
    if (std::error_code ec = CProfileFile(path).ReadError()) {
        reason = ec.message();
        return false;
    }
    return true;
}

// Counts what options name and writes the output: the exit status.
int CountAndWrite(const CountOptions& options) {
    std::string reason;
    CountTarget target;
    if (!options.FromStandardInput() &&
        !ResolveCountTarget(options.directory, options.pattern, target, reason))
        return Fail(options.directory, reason);

    ProfileLocation location =
        options.profile ? ProfileLocation{*options.profile} : FindProfileLocation();
    if (!CheckProfile(location.path, options.profile.has_value(), reason))
        return Fail(location.path, reason);
    if (options.output) {
        if (int status = CheckOutput(*options.output, location.path))
            return status;
    }

    // Nothing is ever written to the profile: the overrides stay in memory.
    CProfileSettings profile(location);
    CSettingsOverlay settings(profile);
    ApplyOptionOverrides(options, settings);
    // Japanese words by dictionary need MeCab: without it nothing is counted.
    // A concordance splits its lines with this one.
    const CSegmentation segmentation(settings);
    if (!segmentation.Ready()) {
        std::fprintf(stderr, "%s\n", segmentation.Error().c_str());
        return kExitTrouble;
    }

    CStderrNotifier notifier;
    CVorlanDoc doc(settings, notifier);
    // A concordance reads the files as the count would, instead of counting.
    std::optional<CKwicCommand> kwic;
    if (options.kwic.Wanted()) {
        kwic.emplace(options, settings, segmentation, doc.m_listExclude, notifier);
        if (std::string why = kwic->CheckWord(); !why.empty()) {
            const std::string& word = options.kwic.Word();
            return UsageError({ParseOutcome::error,
                               !word.empty()       ? word
                               : options.kwic.kwic ? "--kwic"
                                                   : "--collocates",
                               why});
        }
    }
    std::vector<std::string> files;
    std::string spec;
    if (options.FromStandardInput()) {
        files.emplace_back(kStandardInput);
        spec = kStandardInput;
        doc.SetDescriptorEntry(kStandardInput, STDIN_FILENO);
        if (kwic)
            kwic->SetDescriptorEntry(kStandardInput, STDIN_FILENO);
    } else {
        std::error_code listError;
        const bool subdir = IsOn(settings, setting_keys::kSubdir);
        if (!BuildFileList(target.directory, target.pattern, subdir, files, &listError))
            return Fail(options.directory, listError.message());
        spec = target.directory + target.pattern;
    }
    // Data is made from the report held whole; the report itself is counted
    // while the output is open, and written as it is made.
    if (!kwic && options.format)
        doc.CountWords(files, spec);
    const OutputWriter write = [&](CArchive& ar) {
        if (kwic) {
            kwic->Write(files, ar);
        } else if (options.format) {
            WriteWordList(options, doc, spec, ar);
        } else {
            CArchiveLineSink sink(ar);
            doc.CountWords(files, spec, &sink);
        }
    };

    if (options.output) {
        const std::error_code ec = ReplaceFileAtomically(
            *options.output, [&](int fd) { return WriteToDescriptor(fd, write); });
        if (ec)
            return Fail(*options.output, ec.message());
    } else if (std::error_code ec = WriteToDescriptor(STDOUT_FILENO, write)) {
        return Fail("standard output", ec.message());
    }
    if (kwic)
        return kwic->AllRead() ? kExitCounted : kExitSomeFilesFailed;
    const CountOutcome& count = doc.LastCount();
    return count.failedFiles.empty() && !count.bOutOfMemory ? kExitCounted : kExitSomeFilesFailed;
}

// Parse, validate, count, write: the exit status.
int RunCommandLine(int argc, char** argv) {
    CountOptions options;
    ParseResult parsed = ParseCountOptions(argc, argv, options);
    switch (parsed.outcome) {
    case ParseOutcome::help:
        std::fputs(UsageText(), stdout);
        return kExitCounted;
    case ParseOutcome::version:
        std::printf("vorlan-count (Vorlan) %s\n", VORLAN_VERSION);
        return kExitCounted;
    case ParseOutcome::error:
        return UsageError(parsed);
    case ParseOutcome::count:
        break;
    }
    return CountAndWrite(options);
}

} // namespace

int main(int argc, char** argv) {
    RestartWithLargePageHeap(argv);
    // Memory that runs out anywhere but in the word table (which ends the
    // count and says so in the report) ends the run here, after every
    // temporary file has been removed on the way out.
    try {
        return RunCommandLine(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("vorlan-count: memory exhausted\n", stderr);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vorlan-count: %s\n", e.what());
    }
    return kExitTrouble;
}
