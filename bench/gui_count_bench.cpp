// What a count costs in the desktop program against the same count without
// it. Each run counts the files of DIR matching PATTERN twice, in turn:
//   gui       through the program's windows: the count command of the result
//             window, its Select Files dialog answered with PATTERN, the count
//             with the event pump, progress and status bar running, then the
//             report shown; timed from the dialog's OK to the drawn report;
//   headless  the engine alone, as vorlan-count runs it: the file list, then
//             the count, with no event pump.
// Both read the same in-memory settings: the built-in options with the report
// in ascending order (as --order=abc), and both reports must be the same. Prints the medians as one
// JSON object; run it with QT_QPA_PLATFORM=offscreen. Usage: bench_gui_count [--runs N] DIR PATTERN
#include "engine/count_notifier.h"
#include "engine/file_list.h"
#include "engine/vorlan_doc.h"
#include "platform/event_pump.h"
#include "platform/large_pages.h"
#include "settings/memory_settings.h"
#include "ui/command_ids.h"
#include "ui/file_sel_dialog.h"
#include "ui/main_frame.h"
#include "ui/result_document.h"
#include "ui/vorlan_app.h"
#include "ui/vorlan_scroll_view.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Engine messages (a file that cannot be opened) would make the figures
// meaningless: they end the benchmark.
class CFailingNotifier : public ICountNotifier {
  public:
    void ShowMessage(const std::string& text) override {
        std::fprintf(stderr, "bench_gui_count: the count says: %s\n", text.c_str());
        std::exit(1);
    }
    void Beep() override {}
};

std::vector<std::string> ReportWithoutHeader(const CExStringList& report) {
    std::vector<std::string> lines;
    for (const auto* node = report.m_pHead; node; node = node->m_pNextNode)
        lines.push_back(node->m_strLine);
    if (!lines.empty())
        lines.erase(lines.begin());
    return lines;
}

struct Args {
    int runs = 9;
    std::string dir; // ending with "/"
    std::string pattern;
};

bool ParseArgs(int argc, char** argv, Args& args) {
    std::vector<std::string> rest;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            args.runs = std::atoi(argv[++i]);
        else
            rest.push_back(arg);
    }
    if (rest.size() != 2 || args.runs < 1)
        return false;
    args.dir = rest[0].ends_with('/') ? rest[0] : rest[0] + '/';
    args.pattern = rest[1];
    return true;
}

class CGuiCountBench {
  public:
    CGuiCountBench(const Args& args) : m_args(args) {
        m_settings.WriteSettingString("File", "Dir", args.dir.c_str());
        m_settings.WriteSettingInt("Sort", "abc", 1);
    }

    bool Start() {
        if (!m_app.InitInstance())
            return false;
        m_frame = m_app.MainFrame();
        m_frame->resize(800, 600);
        QApplication::processEvents();
        return m_frame->ActiveView() != nullptr;
    }

    double Headless() {
        // No event pump, as in vorlan-count.
        CScopedPumpHook noPump(nullptr, nullptr);
        const Clock::time_point start = Clock::now();
        std::vector<std::string> files;
        if (!BuildFileList(m_args.dir, m_args.pattern, false, files) || files.empty())
            Fail("no file to count");
        CVorlanDoc doc(m_settings, m_notifier);
        doc.CountWords(files, m_args.dir + m_args.pattern);
        const double ms = Ms(Clock::now() - start);
        m_headlessReport = ReportWithoutHeader(doc.m_listResult);
        m_words = doc.m_nTotalWords;
        return ms;
    }

    double Gui() {
        CVorlanScrollView* view = m_frame->ActiveView();
        Clock::time_point ok{};
        AnswerDialog(&ok);
        m_frame->RouteCommand(ID_COUNT_FREQUENCY);
        QApplication::processEvents(); // draws the report
        const double ms = Ms(Clock::now() - ok);
        if (ok == Clock::time_point{})
            Fail("the Select Files dialog did not open");
        CResultDocument* doc = view->GetDocument();
        if (ReportWithoutHeader(doc->Report()) != m_headlessReport)
            Fail("the window's report differs from the engine's");
        doc->Doc().SetModifiedFlag(false); // nothing to save at the end
        return ms;
    }

    long Words() const { return m_words; }

  private:
    [[noreturn]] static void Fail(const char* what) {
        std::fprintf(stderr, "bench_gui_count: %s\n", what);
        std::exit(1);
    }

    // Types the pattern into the Select Files dialog once it is up, notes
    // the time and presses OK.
    void AnswerDialog(Clock::time_point* ok) {
        auto* timer = new QTimer(m_frame);
        timer->setInterval(1);
        QObject::connect(timer, &QTimer::timeout, [this, timer, ok] {
            auto* dialog = qobject_cast<CFileSelDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            timer->stop();
            timer->deleteLater();
            dialog->findChild<QLineEdit*>(QStringLiteral("fileName"))
                ->setText(QFile::decodeName(m_args.pattern.c_str()));
            *ok = Clock::now();
            dialog->accept();
        });
        timer->start();
    }

    Args m_args;
    CMemorySettings m_settings;
    CFailingNotifier m_notifier;
    CVorlanApp m_app{m_settings};
    CMainFrame* m_frame = nullptr;
    std::vector<std::string> m_headlessReport;
    long m_words = 0;
};

} // namespace

int main(int argc, char** argv) {
    // As the desktop program starts.
    RestartWithLargePageHeap(argv);
    QApplication qapp(argc, argv);
    Args args;
    if (!ParseArgs(argc, argv, args)) {
        std::fputs("usage: bench_gui_count [--runs N] DIR PATTERN\n", stderr);
        return 2;
    }
    CGuiCountBench bench(args);
    if (!bench.Start()) {
        std::fputs("bench_gui_count: the main window did not open\n", stderr);
        return 1;
    }
    // One warm-up of each; then the two take turns at going first.
    bench.Headless();
    bench.Gui();
    std::vector<double> gui, headless;
    for (int i = 0; i < args.runs; ++i) {
        if (i % 2 == 0) {
            headless.push_back(bench.Headless());
            gui.push_back(bench.Gui());
        } else {
            gui.push_back(bench.Gui());
            headless.push_back(bench.Headless());
        }
    }
    const double g = Median(gui), h = Median(headless);
    std::printf("{\"runs\": %d, \"words\": %ld, \"gui_median_ms\": %.1f, "
                "\"headless_median_ms\": %.1f, \"ratio\": %.3f}\n",
                args.runs, bench.Words(), g, h, g / h);
    return 0;
}
