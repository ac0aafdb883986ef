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

#include "engine/scan.h"
#include "filters/dehtml_string.h"

#include "tesmo.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

namespace {

class CSilentNotifier : public ICountNotifier {
  public:
    void ShowMessage(const std::string&) override {}
    void Beep() override {}
};

// The counts of the different words, in ascending order.
std::vector<long long> ExpectedCounts(const std::string& bytes, bool html) {
    const std::size_t end = std::min(bytes.find('\x1A'), bytes.size());
    std::string text;
    for (std::size_t i = 0; i < end; ++i)
        if (!(bytes[i] == '\r' && i + 1 < end && bytes[i + 1] == '\n'))
            text += bytes[i];

    std::map<std::string, long long> words;
    CDehtmlString dehtml;
    const std::size_t piece = kScanLineBufferSize - 1;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t stop = std::min({text.find('\n', start), text.size() - 1, start + piece - 1});
        std::string line = text.substr(start, stop - start + 1);
        start = stop + 1;
        line = line.c_str();
        if (html) {
            dehtml.StripTags(line.data(), line.data());
            line = line.c_str();
        } else {
            if (!line.empty() && line.back() == '\n')
                line.pop_back();
            while (!line.empty() && line.back() == ' ')
                line.pop_back();
        }
        if (line.empty())
            continue;
        for (char* word = strword(line.data()); word; word = strword(nullptr)) {
            std::string key = word;
            for (char& c : key)
                if (c >= 'A' && c <= 'Z')
                    c = static_cast<char>(c - 'A' + 'a');
            if (!key.empty())
                ++words[key];
        }
    }
    std::vector<long long> counts;
    for (const auto& entry : words)
        counts.push_back(entry.second);
    std::sort(counts.begin(), counts.end());
    return counts;
}

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
    const std::string bytes = in.Rest();
    fuzz::WriteFile(path, bytes);
    CSilentNotifier notifier;
    CVorlanDoc doc(settings, notifier);
    doc.CountWords({path}, fuzz::ScratchDir() + "/*.*");

    FUZZ_CHECK(!doc.m_bCounting && !doc.IsCountRunning());
    FUZZ_CHECK(!doc.LastCount().bOutOfMemory);
    FUZZ_CHECK(doc.m_nFilesProcessed == 0 || doc.m_nFilesProcessed == 1);
    FUZZ_CHECK(doc.m_nTotalWords >= doc.m_nDifferentWords && doc.m_nDifferentWords >= 0);

    // Header, word lines, separator, total words, different words.
    const auto* node = doc.m_listResult.m_pHead;
    FUZZ_CHECK(node && std::strncmp(node->m_strLine.c_str(), "=====[ ", 7) == 0);
    long long sum = 0, lines = 0;
    std::vector<long long> counts;
    for (node = node->m_pNextNode; node && node->m_strLine[0] != '='; node = node->m_pNextNode) {
        const std::string& line = node->m_strLine;
        FUZZ_CHECK(line.size() >= 15 && line.ends_with("\r\n"));
        FUZZ_CHECK(line.find(" : ") != std::string::npos);
        char* end = nullptr;
        const long long count = std::strtoll(line.c_str(), &end, 10);
        FUZZ_CHECK(end == line.c_str() + 10 && count > 0);
        sum += count;
        counts.push_back(count);
        ++lines;
    }
    FUZZ_CHECK(node && node->m_strLine == "=========================\r\n");
    FUZZ_CHECK(lines == doc.m_nDifferentWords);
    FUZZ_CHECK(sum == doc.m_nTotalWords);
    std::size_t rest = 0;
    for (node = node->m_pNextNode; node; node = node->m_pNextNode)
        ++rest;
    FUZZ_CHECK(rest == 2);

    const bool excluded = (flags & 0x40) && more % 4 == 2;
    std::vector<long long> expected;
    if (!excluded)
        expected = ExpectedCounts(bytes, flags & 1);
    std::sort(counts.begin(), counts.end());
    FUZZ_CHECK(counts == expected);
    return 0;
}
