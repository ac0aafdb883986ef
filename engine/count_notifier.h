// How the counting engine speaks to the user. Each front end implements it:
// the desktop program with message boxes and the system beep, vorlan-count
// with lines on standard error. Progress texts do not come this way: they are
// the document's title (CDocument::SetTitle tells the observers).
#ifndef VORLAN_ENGINE_COUNT_NOTIFIER_H
#define VORLAN_ENGINE_COUNT_NOTIFIER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Where a scan stands. Bytes are those of the whole file list, as the files
// measured when the scan began; bytesDone never decreases within a scan and
// equals bytesTotal once every file of the list has been passed.
struct CountProgress {
    std::size_t fileIndex = 0; // 1-based position in the list; 0 before the first file
    std::size_t fileCount = 0;
    std::string_view path;  // as listed; valid only during the call
    std::int64_t words = 0; // words counted so far in this run
    std::uint64_t bytesDone = 0;
    std::uint64_t bytesTotal = 0;
};

class ICountNotifier {
  public:
    virtual ~ICountNotifier() = default;
    // A message with one OK button. Returns once the user has seen it; the
    // engine then goes on with its next item. The text is in the bytes the
    // engine formed (paths as listed, possibly Shift-JIS).
    virtual void ShowMessage(const std::string& text) = 0;
    // The platform's default notification sound; may do nothing.
    virtual void Beep() = 0;
    // Called when the scan opens a file, every few thousand lines while it
    // reads one, and once when it ends. Front ends without a progress
    // display leave it be.
    virtual void OnProgress(const CountProgress& progress) { (void)progress; }
};

#endif
