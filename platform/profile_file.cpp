#include "platform/profile_file.h"

#include "platform/ascii_case.h"
#include "platform/atomic_file.h"
#include "platform/fd.h"
#include "platform/file_io.h"
#include "platform/path.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <new>
#include <sys/file.h>
#include <sys/stat.h>

namespace {

// ---------------------------------------------------------------- file access

enum class Load { kOk, kAbsent, kUnreadable };

struct LoadedFile {
    Load result = Load::kAbsent;
    std::string text;
    std::error_code error; // why it is unreadable
};

// A profile of any size is read whole (it is rewritten whole, too); only
// memory limits it. One that does not fit is unreadable, as ReadError says.
std::error_code ReadAll(int fd, off_t size, std::string& text) {
    try {
        text.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return SystemError(ENOMEM);
    }
    std::size_t done = 0;
    while (done < text.size()) {
        std::error_code ec;
        const std::size_t n = ReadSome(fd, text.data() + done, text.size() - done, ec);
        if (ec)
            return ec;
        if (n == 0)
            break; // shrank while we read: take what is there
        done += n;
    }
    text.resize(done);
    return {};
}

LoadedFile Unreadable(std::error_code error) {
    LoadedFile file;
    file.result = Load::kUnreadable;
    file.error = error;
    return file;
}

// Anything but a regular file is refused without being opened; opening
// without blocking still keeps a FIFO put in its place meanwhile from
// hanging the open.
LoadedFile LoadFile(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return Unreadable(SystemError(S_ISDIR(st.st_mode) ? EISDIR : EINVAL));
    std::error_code ec;
    CFd fd = OpenForReading(path.c_str(), ec);
    if (ec == std::errc::no_such_file_or_directory)
        return LoadedFile{};
    if (ec)
        return Unreadable(ec);
    if (::fstat(fd.Get(), &st) != 0)
        return Unreadable(LastSystemError());
    if (!S_ISREG(st.st_mode))
        return Unreadable(SystemError(EINVAL));
    LoadedFile file;
    if ((ec = ReadAll(fd.Get(), st.st_size, file.text)))
        return Unreadable(ec);
    file.result = Load::kOk;
    return file;
}

// Two instances writing different keys at once must not lose either write:
// each read-modify-replace holds an advisory lock on the profile's folder
// (the profile itself is replaced, so a lock on it would not hold).
class CFolderLock {
  public:
    explicit CFolderLock(const std::string& target)
        : m_fd(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        if (m_fd.Get() >= 0)
            while (::flock(m_fd.Get(), LOCK_EX) != 0 && errno == EINTR) {
            }
    }

  private:
    CFd m_fd; // closing it releases the lock
};

// ---------------------------------------------------------------- parsing

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

struct Line {
    enum Kind { kOther, kSection, kKey };
    Kind kind = kOther;
    std::size_t begin = 0;  // first byte
    std::size_t end = 0;    // end of the content, before CR LF or LF
    std::size_t next = 0;   // first byte of the next line
    std::string_view name;  // section or key name
    std::string_view value; // a key's value, outer blanks and quotes removed
};

std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

void Classify(std::string_view content, Line& line) {
    std::string_view t = Trim(content);
    if (t.empty() || t.front() == ';')
        return;
    if (t.front() == '[') {
        std::size_t close = t.find(']');
        if (close != std::string_view::npos) {
            line.kind = Line::kSection;
            line.name = Trim(t.substr(1, close - 1));
        }
        return;
    }
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos || Trim(t.substr(0, eq)).empty())
        return;
    line.kind = Line::kKey;
    line.name = Trim(t.substr(0, eq));
    std::string_view value = Unquote(Trim(t.substr(eq + 1)));
    line.value = value.substr(0, value.find('\0'));
}

// Calls visit(line) for every line of text in order. Lines are looked at one
// at a time and never kept: a junk file of millions of empty lines costs no
// memory beyond its text.
template <typename Visit> void ForEachLine(std::string_view text, Visit visit) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        Line line;
        line.begin = pos;
        std::size_t nl = text.find('\n', pos);
        line.next = nl == std::string_view::npos ? text.size() : nl + 1;
        line.end = nl == std::string_view::npos ? text.size() : nl;
        if (line.end > pos && text[line.end - 1] == '\r' && nl != std::string_view::npos)
            --line.end;
        // Editors that save UTF-8 may put a byte-order mark before the first header.
        std::size_t mark = pos == 0 && text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
        Classify(text.substr(pos + mark, line.end - pos - mark), line);
        visit(line);
        pos = line.next;
    }
}

// Where a key stands and where a new one would go.
struct Place {
    std::optional<Line> key;           // the first matching key line
    std::optional<Line> lastOfSection; // header or last key of the first matching section
};

Place Locate(std::string_view text, std::string_view section, std::string_view key) {
    Place place;
    int seen = 0;
    bool inside = false;
    ForEachLine(text, [&](const Line& line) {
        if (line.kind == Line::kSection) {
            inside = ProfileNamesEqual(line.name, section);
            seen += inside;
            if (inside && seen == 1)
                place.lastOfSection = line;
        } else if (line.kind == Line::kKey && inside) {
            if (seen == 1)
                place.lastOfSection = line;
            if (!place.key && ProfileNamesEqual(line.name, key))
                place.key = line;
        }
    });
    return place;
}

// ---------------------------------------------------------------- editing

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

bool IsStorableName(std::string_view name, std::string_view forbidden) {
    return !HasLineBreak(name) && name.find_first_of(forbidden) == std::string_view::npos &&
           Trim(name) == name && name.find('\0') == std::string_view::npos;
}

bool IsStorableKey(std::string_view key) {
    return !key.empty() && IsStorableName(key, "=") && key.front() != '[' && key.front() != ';';
}

// The text to store so that reading gives value back.
std::string StoredForm(std::string_view value) {
    if (Trim(value) != value || Unquote(value) != value)
        return std::string(1, '"').append(value).append(1, '"');
    return std::string(value);
}

// A file that came from Windows keeps its CR LF line ends.
std::string_view LineEndOf(std::string_view text) {
    std::size_t nl = text.find('\n');
    return nl != std::string_view::npos && nl > 0 && text[nl - 1] == '\r' ? "\r\n" : "\n";
}

// The edited text, given the key's place; newLine empty means remove the key.
std::string Apply(std::string_view text, const Place& place, std::string_view section,
                  const std::string& newLine) {
    std::string_view eol = LineEndOf(text);
    std::string out;
    if (place.key) {
        const Line& line = *place.key;
        out.append(text.substr(0, line.begin));
        if (!newLine.empty())
            out.append(newLine).append(text.substr(line.end));
        else
            out.append(text.substr(line.next));
        return out;
    }
    if (newLine.empty())
        return std::string(text);
    std::size_t at = place.lastOfSection ? place.lastOfSection->next : text.size();
    out.append(text.substr(0, at));
    if (!out.empty() && out.back() != '\n')
        out.append(eol);
    if (!place.lastOfSection)
        out.append("[").append(section).append("]").append(eol);
    out.append(newLine).append(eol).append(text.substr(at));
    return out;
}

} // namespace

bool ProfileNamesEqual(std::string_view a, std::string_view b) {
    return AsciiEqualNoCase(a, b);
}

std::error_code CProfileFile::ReadError() const {
    return LoadFile(m_strPath).error;
}

std::optional<std::string> CProfileFile::ReadValue(const char* section, const char* key) const {
    if (!section || !key)
        return std::nullopt;
    LoadedFile file = LoadFile(m_strPath);
    if (file.result != Load::kOk)
        return std::nullopt;
    Place place = Locate(file.text, section, key);
    if (!place.key)
        return std::nullopt;
    return std::string(place.key->value);
}

std::string CProfileFile::GetString(const char* section, const char* key, const char* def) const {
    std::optional<std::string> value = ReadValue(section, key);
    if (!value)
        return def ? def : "";
    if (value->size() > kMaxProfileString)
        value->resize(kMaxProfileString);
    return *value;
}

bool CProfileFile::WriteString(const char* section, const char* key, const char* value) {
    return value && !HasLineBreak(value) && Edit(section, key, value);
}

bool CProfileFile::WriteInt(const char* section, const char* key, int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    return WriteString(section, key, text);
}

bool CProfileFile::DeleteKey(const char* section, const char* key) {
    return Edit(section, key, nullptr);
}

// value null removes the key.
bool CProfileFile::Edit(const char* section, const char* key, const char* value) {
    if (!section || !key || !IsStorableName(section, "]") || !IsStorableKey(key))
        return false;
    std::string target;
    if (ResolveWriteTarget(m_strPath, target))
        return false;
    CFolderLock lock(target);
    LoadedFile file = LoadFile(target);
    if (file.result == Load::kUnreadable)
        return false; // replacing what we could not read would lose it
    if (file.result == Load::kOk && CheckFileReplaceable(target))
        return false;
    Place place = Locate(file.text, section, key);
    if (!value && !place.key)
        return true;
    std::string newLine;
    if (value) {
        std::string_view name = place.key ? place.key->name : std::string_view(key);
        newLine = std::string(name) + "=" + StoredForm(value);
    }
    std::string text = Apply(file.text, place, section, newLine);
    if (file.result == Load::kOk && text == file.text)
        return true;
    return !ReplaceFileAtomically(target, text);
}
