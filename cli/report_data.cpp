#include "cli/report_data.h"

#include <charconv>

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kColon = " : ";
constexpr std::string_view kHeaderStart = "=====[ ";
constexpr std::string_view kHeaderEnd = " ]=====\r\n";

} // namespace

bool ParseWordLine(std::string_view line, ReportWord& word) {
    if (!line.ends_with(kLineEnd))
        return false;
    line.remove_suffix(kLineEnd.size());
    std::size_t at = line.find_first_not_of(' ');
    if (at == std::string_view::npos)
        return false;
    std::uint32_t count = 0;
    const char* end = line.data() + line.size();
    auto [ptr, ec] = std::from_chars(line.data() + at, end, count);
    if (ec != std::errc() || ptr == line.data() + at)
        return false;
    std::string_view rest(ptr, static_cast<std::size_t>(end - ptr));
    if (rest.starts_with('(')) {
        std::size_t close = rest.find("%)");
        if (close == std::string_view::npos)
            return false;
        rest.remove_prefix(close + 2);
    }
    if (!rest.starts_with(kColon) || rest.size() == kColon.size())
        return false;
    word.word = rest.substr(kColon.size());
    word.count = count;
    return true;
}

bool ParseHeaderLine(std::string_view line, std::string_view& spec) {
    if (line.size() < kHeaderStart.size() + kHeaderEnd.size() || !line.starts_with(kHeaderStart) ||
        !line.ends_with(kHeaderEnd))
        return false;
    spec = line.substr(kHeaderStart.size(), line.size() - kHeaderStart.size() - kHeaderEnd.size());
    return true;
}
