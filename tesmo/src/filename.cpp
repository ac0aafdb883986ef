// DOS/Windows file names: backslash separators and drive letters, on any
// system. Every walk goes character by character, so the second byte 0x5C of
// a Shift-JIS character is never taken for a backslash.
//
// Paths hold at most 259 bytes; the functions work on a private copy of that
// size and cut longer input there. Out buffers hold 260 bytes: parse_filename
// fails (returns 1, outputs untouched) rather than write a longer result.
// Null pointers: a null path reads as the empty string, a null out buffer
// gets nothing, and parse_filename fails on a null output.
#include "ctype_tables.h"
#include "drives.h"
#include "tesmo.h"

#include <cstring>
#include <string>

using namespace tesmo;

namespace {

constexpr std::size_t kMaxPath = 259;
constexpr const char* kAllFiles = "*.*";

struct PathCopy {
    char text[kMaxPath + 1];
};

PathCopy CopyOf(const char* path) {
    PathCopy c;
    const std::size_t n = path ? strnlen(path, kMaxPath) : 0;
    if (n > 0)
        std::memcpy(c.text, path, n);
    c.text[n] = '\0';
    return c;
}

unsigned char At(const std::string& s, std::size_t i) {
    return static_cast<unsigned char>(s[i]);
}

// The backslashes of s: how many, and the offset just after the last one
// (0 when there is none). A lead byte at the very end ends the walk.
struct Backslashes {
    std::size_t count = 0;
    std::size_t after_last = 0;
};

Backslashes FindBackslashes(const std::string& s) {
    Backslashes b;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (IsLead(At(s, i))) {
            ++i;
        } else if (s[i] == '\\') {
            ++b.count;
            b.after_last = i + 1;
        }
    }
    return b;
}

std::size_t AfterLastBackslash(const std::string& s) {
    return FindBackslashes(s).after_last;
}

// The upper-cased private copy of path.
std::string UpperCopy(const char* path) {
    PathCopy c = CopyOf(path);
    mbstrupr(c.text);
    return c.text;
}

void Put(char* out, const std::string& s) {
    std::memcpy(out, s.c_str(), s.size() + 1);
}

// Full-width a-z (0x8281-0x829A) to full-width A-Z (0x8260-0x8279).
void CapitaliseFullWidth(std::string& s) {
    for (std::size_t i = 0; i + 1 < s.size(); ++i) {
        if (!IsLead(At(s, i)))
            continue;
        if (At(s, i) == 0x82 && At(s, i + 1) >= 0x81 && At(s, i + 1) <= 0x9A)
            s[i + 1] = static_cast<char>(At(s, i + 1) - 0x21);
        ++i;
    }
}

bool HasDrive(const std::string& s) {
    return s.size() >= 2 && IsLetter(At(s, 0)) && s[1] == ':';
}

// A small drive letter names the same drive as its capital.
int DriveOf(const std::string& s) {
    return (At(s, 0) & ~0x20) - 'A' + 1;
}

// The drive's current directory with exactly one backslash at its end.
bool CurrentDirectoryOf(int drive, std::string& out) {
    std::string d;
    if (drive < 1 || drive > 26 || !Drives().CurrentDirectory(drive, d) || d.empty())
        return false;
    std::size_t end = 0; // just after the last character that is not a backslash
    for (std::size_t i = 0; i < d.size();) {
        const std::size_t len = (IsLead(At(d, i)) && i + 1 < d.size()) ? 2 : 1;
        if (len == 2 || d[i] != '\\')
            end = i + len;
        i += len;
    }
    out = d.substr(0, end) + '\\';
    return true;
}

bool CurrentDirectory(std::string& out) {
    return CurrentDirectoryOf(Drives().CurrentDrive(), out);
}

bool IsPlainDirectory(const std::string& path, bool& exists) {
    unsigned attributes = 0;
    exists = Drives().Lookup(path, attributes);
    return exists && attributes == kAttrDirectory;
}

// "\NAME": NAME is taken from the current directory, not from the root.
bool ParseRootedName(const std::string& s, std::string& dir, std::string& file) {
    const std::string name = s.substr(1);
    std::string current;
    bool exists = false;
    if (name.empty() || !CurrentDirectory(current))
        return false;
    const bool directory = IsPlainDirectory(name, exists);
    if (!exists)
        return false;
    dir = directory ? current + name + '\\' : current;
    file = directory ? kAllFiles : name;
    return true;
}

// A path that ends in a backslash names a directory.
bool ParseDirectoryPath(const std::string& s, std::string& dir, std::string& file) {
    if (HasDrive(s)) {
        dir = s;
    } else if (s[0] == '\\') {
        std::string current;
        if (!CurrentDirectory(current))
            return false;
        dir = current + s.substr(1);
    } else {
        const int drive = Drives().CurrentDrive();
        if (drive < 1 || drive > 26)
            return false;
        dir = std::string(1, static_cast<char>('A' + drive - 1)) + ":\\" + s;
    }
    file = kAllFiles;
    return true;
}

bool ParseInnerBackslash(const std::string& s, std::size_t after, std::string& dir,
                         std::string& file) {
    const std::string name = s.substr(after);
    if (name.find_first_of("?*") != std::string::npos) {
        dir = s.substr(0, after);
        file = name;
        return true;
    }
    bool exists = false;
    const bool directory = IsPlainDirectory(s, exists);
    if (!exists)
        return false;
    dir = directory ? s + '\\' : s.substr(0, after);
    file = directory ? kAllFiles : name;
    return true;
}

bool Parse(const std::string& s, std::string& dir, std::string& file) {
    if (s.empty() || (HasDrive(s) && s.size() == 2)) {
        file = kAllFiles;
        return s.empty() ? CurrentDirectory(dir) : CurrentDirectoryOf(DriveOf(s), dir);
    }
    if (HasDrive(s) && s[2] != '\\') {
        file = s.substr(2);
        return CurrentDirectoryOf(DriveOf(s), dir);
    }
    const Backslashes backslashes = FindBackslashes(s);
    const std::size_t after = backslashes.after_last;
    if (after == 0 && s.find(':') == std::string::npos) {
        file = s;
        return CurrentDirectory(dir);
    }
    if (after == 0)
        return false; // a colon that is no drive, and no backslash
    if (after == 1 && backslashes.count == 1)
        return ParseRootedName(s, dir, file);
    if (after == s.size())
        return ParseDirectoryPath(s, dir, file);
    return ParseInnerBackslash(s, after, dir, file);
}

} // namespace

extern "C" {

TESMO_API void TESMO_CALL GetFilename(const char* path, char* out) {
    if (!out)
        return;
    const std::string s = UpperCopy(path);
    Put(out, s.substr(AfterLastBackslash(s)));
}

TESMO_API void TESMO_CALL GetDirectory(const char* path, char* out) {
    if (!out)
        return;
    const std::string s = UpperCopy(path);
    Put(out, s.substr(0, AfterLastBackslash(s)));
}

TESMO_API void TESMO_CALL GetExtension(const char* path, char* out) {
    if (!out)
        return;
    const std::string s = UpperCopy(path);
    const std::string name = s.substr(AfterLastBackslash(s));
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && name[0] != '.')
        Put(out, name.substr(dot + 1));
}

// The caller's input is read only: the full-width capitalisation happens in
// the private copy and shows in the outputs.
TESMO_API int TESMO_CALL parse_filename(char* dir, char* file, const char* input) {
    if (!dir || !file)
        return 1;
    PathCopy c = CopyOf(input);
    std::string s = c.text;
    CapitaliseFullWidth(s);
    std::string d, f;
    if (!Parse(s, d, f) || d.size() > kMaxPath || f.size() > kMaxPath)
        return 1;
    Put(dir, d);
    Put(file, f);
    return 0;
}

} // extern "C"
