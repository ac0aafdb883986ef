// How long the result window holds the user-interface thread with a report
// of two million lines: the first paint, a jump to the end, a page and a line
// step, the copy dialog, a save, and a count of two million distinct words,
// whose longest stretch without an event is reported as longest_stall_ms.
// Each step runs on the user-interface thread from start to end, so its time
// is the longest the window cannot react; a step that walks or formats the
// whole report takes far longer than one that does not. The desktop
// program's tests check what these steps do; this program times them.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "engine/report_format.h"
#include "settings/memory_settings.h"
#include "tests/ui/big_report_lines.h"
#include "ui/command_ids.h"
#include "ui/copy_dialog.h"
#include "ui/main_frame.h"
#include "ui/output_services.h"
#include "ui/result_document.h"
#include "ui/save_report.h"
#include "ui/vorlan_app.h"
#include "ui/vorlan_scroll_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kLines = kBigReportLines;

// A document holding the big report and one view of it, 640 by 400.
class CBigReport {
  public:
    CBigReport() {
        m_doc = std::make_shared<CResultDocument>(m_settings, QStringLiteral("Big"));
        CExStringList& report = m_doc->Doc().m_listResult;
        AppendBigReport(report);
        m_view = std::make_unique<CVorlanScrollView>(m_doc);
        m_view->resize(640, 400);
        m_view->show();
        QApplication::processEvents();
    }
    ~CBigReport() { m_doc->Doc().SetModifiedFlag(false); }

    CResultDocument& Doc() { return *m_doc; }
    CVorlanScrollView& View() { return *m_view; }
    QScrollBar& Bar() { return *m_view->verticalScrollBar(); }
    void Paint() { m_view->viewport()->grab(); }

  private:
    CMemorySettings m_settings;
    std::shared_ptr<CResultDocument> m_doc;
    std::unique_ptr<CVorlanScrollView> m_view;
};

void FirstPaint(benchmark::State& state, CBigReport& big) {
    for (auto _ : state) {
        big.Doc().UpdateAllViews();
        big.Paint();
    }
}

// From the top of a freshly updated report, where the view knows no place
// beyond the first page yet.
void JumpToTheEnd(benchmark::State& state, CBigReport& big) {
    for (auto _ : state) {
        state.PauseTiming();
        big.Bar().setValue(0);
        big.Doc().UpdateAllViews();
        big.Paint();
        state.ResumeTiming();
        big.Bar().setValue(big.Bar().maximum());
        big.Paint();
    }
}

void Step(benchmark::State& state, CBigReport& big, QAbstractSlider::SliderAction action) {
    big.Bar().setValue(big.Bar().maximum() / 2);
    big.Paint();
    for (auto _ : state) {
        big.Bar().triggerAction(action);
        big.Paint();
    }
}

void CopyDialog(benchmark::State& state, CBigReport& big) {
    COutputServices services = DefaultOutputServices();
    services.message = [](QWidget*, const QString&) {};
    services.beep = [] {};
    services.execDialog = [](QDialog& dialog) {
        auto& copy = static_cast<CCopyDialog&>(dialog);
        copy.show();
        copy.OnWhole();
        return copy.result();
    };
    CScopedOutputServices scoped(services);
    for (auto _ : state)
        big.View().DoCommand(ID_EDIT_COPY);
}

void Save(benchmark::State& state, CBigReport& big) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    COutputServices services = DefaultOutputServices();
    services.message = [&state](QWidget*, const QString& text) {
        state.SkipWithError(text.toLocal8Bit().constData());
    };
    CScopedOutputServices scoped(services);
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveDocumentTo(big.Doc().Doc(), path, &big.View()));
}

// The count lets events through as it works; a timer every 10 ms measures
// the longest gap between two of its ticks while the view is scrolled to
// the end of the growing report now and then.
void CountStall(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("words.txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        state.SkipWithError("cannot write the word file");
        return;
    }
    std::string text;
    for (int i = 0; i < kLines; ++i)
        text += BigReportWord(i) + "\n";
    file.write(text.data(), qint64(text.size()));
    file.close();

    CMemorySettings settings;
    settings.WriteSettingInt("Sort", "Freq", 1);
    CVorlanApp app(settings); // installs the event pump the count calls
    if (!app.InitInstance()) {
        state.SkipWithError("the program did not start");
        return;
    }
    CMainFrame* frame = app.MainFrame();
    frame->resize(640, 400);
    CVorlanScrollView* view = frame->ActiveView();
    CResultDocument* doc = view->GetDocument();
    QElapsedTimer sinceTick;
    qint64 longest = 0;
    int ticks = 0;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.restart());
        if (++ticks % 20 == 0)
            view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    });
    const std::vector<std::string> files{QFile::encodeName(path).toStdString()};
    for (auto _ : state) {
        sinceTick.start();
        watch.start();
        doc->CountWords(files, "/DATA/WORDS.TXT");
        view->viewport()->grab();
        longest = std::max(longest, sinceTick.elapsed());
        watch.stop();
    }
    state.counters["longest_stall_ms"] = double(longest);
    doc->Doc().SetModifiedFlag(false);
    frame->close();
    app.ExitInstance();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    QApplication app(argc, argv);
    CBigReport big;
    auto add = [&](const char* name, auto run) {
        benchmark::RegisterBenchmark(name, run)->Unit(benchmark::kMillisecond)->Iterations(10);
    };
    add("view/update_and_first_paint", [&](benchmark::State& s) { FirstPaint(s, big); });
    add("view/jump_to_the_end", [&](benchmark::State& s) { JumpToTheEnd(s, big); });
    add("view/page_up",
        [&](benchmark::State& s) { Step(s, big, QAbstractSlider::SliderPageStepSub); });
    add("view/line_down",
        [&](benchmark::State& s) { Step(s, big, QAbstractSlider::SliderSingleStepAdd); });
    add("copy_dialog_whole", [&](benchmark::State& s) { CopyDialog(s, big); });
    add("save", [&](benchmark::State& s) { Save(s, big); });
    benchmark::RegisterBenchmark("count_of_distinct_words", CountStall)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(2);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
