// A whole count of one file: the first two input bytes choose the options
// (HTML filter, listing by endings, alphabetic or frequency order, percent,
// binary exclusion) and the file's extension, the rest is the file. The
// report must agree with the counters: as many word lines as different
// words, their counts adding up to the total, framed by the header, the
// separator and the totals.
#include "fuzz_support.h"

#include "engine/count_notifier.h"
#include "engine/vorlan_doc.h"
#include "settings/memory_settings.h"

#include <cstdlib>
#include <cstring>

namespace {

class CSilentNotifier : public ICountNotifier {
  public:
    void ShowMessage(const std::string&) override {}
    void Beep() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::CInput in(data, size);
    const std::uint8_t flags = in.Byte();
    const std::uint8_t more = in.Byte();
    CMemorySettings settings;
    settings.WriteSettingInt("Option", "DeHTML", flags & 1);
    settings.WriteSettingInt("Sort", "Tail", (flags >> 1) & 1);
    settings.WriteSettingInt("Sort", "abc", (flags >> 2) & 1);
    settings.WriteSettingInt("Sort", "Percent", (flags >> 3) & 1);
    settings.WriteSettingInt("Sort", "Freq", (flags >> 4) & 1);
    settings.WriteSettingInt("Sort", "LowFreq", (flags >> 5) & 1);
    settings.WriteSettingInt("Option", "Binary", (flags >> 6) & 1);
    static constexpr const char* kExtensions[] = {".txt", ".htm", ".exe", ".TXT"};
    const std::string name = std::string("input") + kExtensions[more % 4];

    const std::string path = fuzz::ScratchDir() + "/" + name;
    fuzz::WriteFile(path, in.Rest());
    CSilentNotifier notifier;
    CVorlanDoc doc(settings, notifier);
    doc.CountWords({path}, fuzz::ScratchDir() + "/*.*");

    FUZZ_CHECK(!doc.m_bCounting && !doc.IsCountRunning());
    FUZZ_CHECK(!doc.RanOutOfMemory());
    FUZZ_CHECK(doc.m_nFilesProcessed == 0 || doc.m_nFilesProcessed == 1);
    FUZZ_CHECK(doc.m_nTotalWords >= doc.m_nDifferentWords && doc.m_nDifferentWords >= 0);

    // Header, word lines, separator, total words, different words.
    const auto* node = doc.m_listResult.m_pHead;
    FUZZ_CHECK(node && std::strncmp(node->m_strLine.c_str(), "=====[ ", 7) == 0);
    long long sum = 0, lines = 0;
    for (node = node->m_pNextNode; node && node->m_strLine[0] != '='; node = node->m_pNextNode) {
        const std::string& line = node->m_strLine;
        FUZZ_CHECK(line.size() >= 15 && line.ends_with("\r\n"));
        FUZZ_CHECK(line.find(" : ") != std::string::npos);
        char* end = nullptr;
        const long long count = std::strtoll(line.c_str(), &end, 10);
        FUZZ_CHECK(end == line.c_str() + 10 && count > 0);
        sum += count;
        ++lines;
    }
    FUZZ_CHECK(node && node->m_strLine == "=========================\r\n");
    FUZZ_CHECK(lines == doc.m_nDifferentWords);
    FUZZ_CHECK(sum == doc.m_nTotalWords);
    std::size_t rest = 0;
    for (node = node->m_pNextNode; node; node = node->m_pNextNode)
        ++rest;
    FUZZ_CHECK(rest == 2);
    return 0;
}
