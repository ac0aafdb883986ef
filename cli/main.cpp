// vorlan-count: counts the words of the files of one directory (or of
// standard input), as the count command of the desktop program would, and
// writes the report, or its word list as data, to standard output or a file.
// Parse, validate, delegate to the engine, print, exit status.
#include "cli/data_export.h"
#include "cli/options.h"
#include "cli/output_file.h"
#include "cli/target.h"

#include "engine/count_notifier.h"
#include "engine/file_list.h"
#include "engine/report_format.h"
#include "engine/vorlan_doc.h"
#include "platform/large_pages.h"
#include "settings/profile_location.h"
#include "settings/profile_settings.h"
#include "settings/setting_keys.h"
#include "settings/settings_overlay.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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
    std::fprintf(stderr, "vorlan-count: %s: %s\n", what.c_str(), reason.c_str());
    return kExitTrouble;
}

int UsageError(const ParseResult& result) {
    Fail(result.what, result.reason);
    std::fputs("Try 'vorlan-count --help' for more information.\n", stderr);
    return kExitTrouble;
}

// The report, byte for byte as a saved file holds it, or its word list as
// data with the file specification the count was given, as its header shows
// it.
void WriteOutput(const CountOptions& options, CVorlanDoc& doc, const std::string& spec,
                 CArchive& ar) {
    if (!options.format) {
        doc.SerializeReport(ar);
        return;
    }
    const CountOutcome& count = doc.LastCount();
    const ExportTotals totals{count.nFilesProcessed, count.nTotalWords, count.nDifferentWords,
                              UpperCased(spec)};
    WriteWordData(doc.m_listResult, totals, *options.format, ar);
}

// Writes the output to the open descriptor fd, in one large write for all
// but the largest outputs. Returns 0 or the errno value of the failure.
int WriteToDescriptor(int fd, const CountOptions& options, CVorlanDoc& doc,
                      const std::string& spec) {
    CFdSink sink(fd);
    CArchive ar(sink);
    WriteOutput(options, doc, spec, ar);
    if (!sink.Flush() || ar.Failed())
        return sink.Error() ? sink.Error().value() : EIO;
    return 0;
}

// A device or a FIFO named as the output (/dev/null, a named pipe) is
// written in place, as a shell's redirection would write it: renaming a
// file over it would replace the node itself.
bool IsDeviceOrFifo(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

// 0 when the output can be written, else the errno value of the reason.
int CheckOutput(const std::string& target) {
    if (IsDeviceOrFifo(target))
        return ::access(target.c_str(), W_OK) == 0 ? 0 : errno;
    return CheckOutputTarget(target);
}

int WriteOutputFile(const std::string& target, const CountOptions& options, CVorlanDoc& doc,
                    const std::string& spec) {
    if (!IsDeviceOrFifo(target)) {
        return WriteFileAtomically(target,
                                   [&](CArchive& ar) { WriteOutput(options, doc, spec, ar); })
            .value();
    }
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno;
    const int err = WriteToDescriptor(fd, options, doc, spec);
    ::close(fd);
    return err;
}

// The profile must be a readable regular file: a directory, a FIFO or a
// device in its place would otherwise read as empty and the count would run
// silently with the defaults. One named on the command line must also be
// there (a mistyped name); the default one may not have been written yet.
bool CheckProfile(const std::string& path, bool mustExist, std::string& reason) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (!mustExist && (errno == ENOENT || errno == ENOTDIR))
            return true;
        reason = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        reason = std::strerror(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
        return false;
    }
    if (::access(path.c_str(), R_OK) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    RestartWithLargePageHeap(argv);
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
        if (int err = CheckOutput(*options.output))
            return Fail(*options.output, std::strerror(err));
    }

    // Nothing is ever written to the profile: the overrides stay in memory.
    CProfileSettings profile(location);
    CSettingsOverlay settings(profile);
    ApplyOptionOverrides(options, settings);

    CStderrNotifier notifier;
    CVorlanDoc doc(settings, notifier);
    std::vector<std::string> files;
    std::string spec;
    if (options.FromStandardInput()) {
        files.emplace_back(kStandardInput);
        spec = kStandardInput;
        doc.SetDescriptorEntry(kStandardInput, STDIN_FILENO);
    } else {
        std::error_code listError;
        const bool subdir = IsOn(settings, setting_keys::kSubdir);
        if (!BuildFileList(target.directory, target.pattern, subdir, files, &listError))
            return Fail(options.directory, listError.message());
        spec = target.directory + target.pattern;
    }
    doc.CountWords(files, spec);

    if (options.output) {
        if (int err = WriteOutputFile(*options.output, options, doc, spec))
            return Fail(*options.output, std::strerror(err));
    } else if (int err = WriteToDescriptor(STDOUT_FILENO, options, doc, spec)) {
        return Fail("standard output", std::strerror(err));
    }
    const CountOutcome& count = doc.LastCount();
    return count.failedFiles.empty() && !count.bOutOfMemory ? kExitCounted : kExitSomeFilesFailed;
}
