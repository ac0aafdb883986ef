// How a count speaks to the user in the desktop program: the output
// services' message box (one OK button, captioned with the application
// title) and beep. Progress figures go to whoever set a sink for them.
#ifndef VORLAN_UI_GUI_COUNT_NOTIFIER_H
#define VORLAN_UI_GUI_COUNT_NOTIFIER_H

#include "engine/count_notifier.h"

#include <QString>
#include <functional>
#include <string_view>

class CGuiCountNotifier : public ICountNotifier {
  public:
    void ShowMessage(const std::string& text) override;
    void Beep() override;
    void OnProgress(const CountProgress& progress) override;

    using ProgressSink = std::function<void(const CountProgress&)>;
    void SetProgressSink(ProgressSink sink) { m_progressSink = std::move(sink); }

  private:
    ProgressSink m_progressSink;
};

// Engine text (messages, titles) as the user reads it: UTF-8 when the bytes
// are valid UTF-8, as the file system's names are; otherwise Shift-JIS, the
// encoding of the counted text.
QString EngineText(std::string_view bytes);

#endif
