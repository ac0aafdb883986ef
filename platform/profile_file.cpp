#include "platform/profile_file.h"

#include "platform/fd.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// A profile is a few kilobytes; anything far larger is not one.
constexpr off_t kMaxProfileSize = 1024 * 1024;

// ---------------------------------------------------------------- file access

enum class Load { kOk, kAbsent, kUnreadable };

struct LoadedFile {
    Load result = Load::kAbsent;
    std::string text;
    mode_t mode = 0;
};

bool ReadAll(int fd, off_t size, std::string& text) {
    text.resize(static_cast<std::size_t>(size));
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::read(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break; // shrank while we read: take what is there
        done += static_cast<std::size_t>(n);
    }
    text.resize(done);
    return true;
}

// Anything but a regular file is refused without being opened; O_NONBLOCK
// still keeps a FIFO put in its place meanwhile from hanging the open.
LoadedFile LoadFile(const std::string& path) {
    LoadedFile file;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        file.result = Load::kUnreadable;
        return file;
    }
    CFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0) {
        file.result = errno == ENOENT ? Load::kAbsent : Load::kUnreadable;
        return file;
    }
    file.result = Load::kUnreadable;
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxProfileSize)
        return file;
    if (!ReadAll(fd.Get(), st.st_size, file.text))
        return file;
    file.mode = st.st_mode & 07777;
    file.result = Load::kOk;
    return file;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A symbolic link to the profile (a dotfile manager's) stays a link: the
// file it points to is the one replaced.
bool ResolveTarget(const std::string& path, std::string& target) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
        target = path;
        return true;
    }
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real)
        return false;
    target = real;
    std::free(real);
    return true;
}

// Creates a fresh temporary file beside target; its name starts with a point
// so that a crash between create and rename leaves no visible debris.
int CreateTemporary(const std::string& target, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    std::string folder = FolderOf(target);
    // Cut so that a long profile name still leaves room for the suffix.
    std::size_t slash = target.rfind('/');
    std::string base = target.substr(slash == std::string::npos ? 0 : slash + 1, 200);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "/." + base + ".tmp" + std::to_string(::getpid()) + "-" +
                   std::to_string(counter++);
        int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Replaces target with text so that readers see either the old or the new
// file, never a part of one. keepMode: the old file's permissions, or 0.
bool ReplaceFile(const std::string& target, std::string_view text, mode_t keepMode) {
    std::string tempPath;
    CFd fd(CreateTemporary(target, tempPath));
    if (fd.Get() < 0)
        return false;
    bool ok = (keepMode == 0 || ::fchmod(fd.Get(), keepMode) == 0) && WriteAll(fd.Get(), text) &&
              ::fsync(fd.Get()) == 0 && ::close(fd.Release()) == 0 &&
              ::rename(tempPath.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tempPath.c_str());
        return false;
    }
    // Makes the rename itself durable; the data already is.
    CFd folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Get() >= 0)
        ::fsync(folder.Get());
    return true;
}

// A profile made read-only, by its mode or for this user, stays as it is,
// even for root, like a file with the read-only attribute.
bool IsWritable(const std::string& path, mode_t mode) {
    return (mode & 0222) != 0 && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
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

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
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
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    return true;
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
    if (!ResolveTarget(m_strPath, target))
        return false;
    CFolderLock lock(target);
    LoadedFile file = LoadFile(target);
    if (file.result == Load::kUnreadable)
        return false; // replacing what we could not read would lose it
    if (file.result == Load::kOk && !IsWritable(target, file.mode))
        return false; // the rename would get past a read-only file
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
    return ReplaceFile(target, text, file.result == Load::kOk ? file.mode : 0);
}
