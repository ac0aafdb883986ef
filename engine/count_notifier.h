// How the counting engine speaks to the user. Each front end implements it:
// the desktop program with message boxes and the system beep, vorlan-count
// with lines on standard error. Progress texts do not come this way: they are
// the document's title (CDocument::SetTitle tells the observers).
#ifndef VORLAN_ENGINE_COUNT_NOTIFIER_H
#define VORLAN_ENGINE_COUNT_NOTIFIER_H

#include <string>

class ICountNotifier {
  public:
    virtual ~ICountNotifier() = default;
    // A message with one OK button. Returns once the user has seen it; the
    // engine then goes on with its next item. The text is in the bytes the
    // engine formed (paths as listed, possibly Shift-JIS).
    virtual void ShowMessage(const std::string& text) = 0;
    // The platform's default notification sound; may do nothing.
    virtual void Beep() = 0;
};

#endif
