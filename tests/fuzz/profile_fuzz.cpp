// CProfileFile on a file of the input's bytes. The section and key names
// tried are taken from the file's own lines (a rough split, so that odd
// names are tried too). Every read stays within its limits and agrees with
// the whole value; then one key is written with a value from the input, and
// when the write succeeds the key reads back exactly and every other key
// reads as before.
#include "fuzz_support.h"

#include "platform/profile_file.h"

#include <optional>
#include <utility>
#include <vector>

namespace {

using Name = std::pair<std::string, std::string>;

std::string Trim(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::vector<Name> NamesIn(const std::string& text) {
    std::vector<Name> names;
    std::string section;
    std::size_t start = 0;
    while (start < text.size() && names.size() < 12) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t open = line.find('['), close = line.find(']');
        const std::size_t equals = line.find('=');
        if (open != std::string::npos && close != std::string::npos && open < close)
            section = Trim(line.substr(open + 1, close - open - 1));
        else if (equals != std::string::npos)
            // As the profile sees them: C strings.
            names.emplace_back(section.c_str(), Trim(line.substr(0, equals)).c_str());
    }
    return names;
}

bool SameName(const Name& a, const Name& b) {
    return ProfileNamesEqual(a.first, b.first) && ProfileNamesEqual(a.second, b.second);
}

std::vector<std::optional<std::string>> ReadAll(const CProfileFile& profile,
                                                const std::vector<Name>& names) {
    std::vector<std::optional<std::string>> values;
    for (const auto& [section, key] : names) {
        auto value = profile.ReadValue(section.c_str(), key.c_str());
        const std::string cut = profile.GetString(section.c_str(), key.c_str(), "\x01");
        FUZZ_CHECK(cut.size() <= kMaxProfileString);
        if (value) {
            FUZZ_CHECK(value->find('\n') == std::string::npos);
            FUZZ_CHECK(value->find('\0') == std::string::npos);
            FUZZ_CHECK(cut == value->substr(0, kMaxProfileString));
        } else {
            FUZZ_CHECK(cut == "\x01");
        }
        values.push_back(std::move(value));
    }
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::CInput in(data, size);
    const std::size_t which = in.Byte();
    const std::string value = in.Until('\0');
    const std::string text = in.Rest();

    const std::string path = fuzz::ScratchDir() + "/profile.ini";
    fuzz::WriteFile(path, text);
    CProfileFile profile(path);
    std::vector<Name> names = NamesIn(text);
    names.emplace_back("Fuzz", "Key"); // a section that may not exist yet
    const auto before = ReadAll(profile, names);

    const Name& target = names[which % names.size()];
    if (!profile.WriteString(target.first.c_str(), target.second.c_str(), value.c_str())) {
        FUZZ_CHECK(ReadAll(profile, names) == before);
        return 0;
    }
    const auto after = ReadAll(profile, names);
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (SameName(names[i], target))
            FUZZ_CHECK(after[i] == value);
        else
            FUZZ_CHECK(after[i] == before[i]);
    }
    return 0;
}
