// The drive table: the system's on Linux, or one that a test installed.
#include "drives.h"

#include "ctype_tables.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace tesmo {
namespace {

constexpr int kDriveC = 3;

bool IsDriveLetter(char c) {
    return IsLetter(static_cast<unsigned char>(c));
}

int DriveNumber(char letter) {
    return (letter & ~0x20) - 'A' + 1;
}

// DOS separators to Linux ones, character by character so that a second
// byte 0x5C of a double-byte character stays what it is.
std::string ToSlashes(const std::string& dos) {
    std::string out = dos;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (IsLead(static_cast<unsigned char>(out[i])))
            ++i;
        else if (out[i] == '\\')
            out[i] = '/';
    }
    return out;
}

// The Linux path of a DOS path on drive C:, or false for other drives.
bool ToLinuxPath(const std::string& dos, std::string& linux_path) {
    std::string rest = dos;
    if (dos.size() >= 2 && IsDriveLetter(dos[0]) && dos[1] == ':') {
        if (DriveNumber(dos[0]) != kDriveC)
            return false;
        rest = dos.substr(2); // "C:NAME" is relative to C:'s current directory
    }
    if (rest.empty())
        return false;
    linux_path = ToSlashes(rest);
    return true;
}

// * matches any run of bytes, ? one byte; greedy, going back only to the
// last star, so the time stays bounded by the product of the two lengths.
bool PlainWildcardMatch(const char* p, const char* n) {
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*n) {
        if (*p == '*') {
            star = p++;
            resume = n;
        } else if (*p == '?' || *p == *n) {
            ++p;
            ++n;
        } else if (star) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (*p == '*')
        ++p;
    return *p == '\0';
}

// DOS wildcards: a pattern ending in ".*" also matches a name without that
// extension, so "*.*" matches every name.
bool WildcardMatch(const std::string& pattern, const std::string& name) {
    if (PlainWildcardMatch(pattern.c_str(), name.c_str()))
        return true;
    const std::size_t n = pattern.size();
    return n >= 2 && pattern.compare(n - 2, 2, ".*") == 0 &&
           PlainWildcardMatch(pattern.substr(0, n - 2).c_str(), name.c_str());
}

bool HasWildcard(const std::string& s) {
    return s.find_first_of("*?") != std::string::npos;
}

unsigned AttributesOf(const struct stat& st, const std::string& name) {
    unsigned a = 0;
    if (S_ISDIR(st.st_mode))
        a |= kAttrDirectory;
    else if (!S_ISREG(st.st_mode))
        a |= kAttrSystem; // devices, pipes, sockets
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        a |= kAttrReadOnly;
    if (name.size() > 1 && name[0] == '.' && name != "..")
        a |= kAttrHidden;
    return a;
}

bool StatPath(const std::string& path, const std::string& name, unsigned& attributes) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return false;
    attributes = AttributesOf(st, name);
    return true;
}

struct DirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

// The first entry of the directory that matches the wildcard name.
bool LookupWildcard(const std::string& parent, const std::string& pattern, unsigned& attributes) {
    std::unique_ptr<DIR, DirCloser> dir(::opendir(parent.empty() ? "." : parent.c_str()));
    if (!dir)
        return false;
    while (const dirent* e = ::readdir(dir.get())) {
        const std::string name = e->d_name;
        if (name == "." || name == ".." || !WildcardMatch(pattern, name))
            continue;
        if (StatPath((parent.empty() ? std::string(".") : parent) + "/" + name, name, attributes))
            return true;
    }
    return false;
}

class LinuxDrives final : public DriveTable {
  public:
    int CurrentDrive() override { return kDriveC; }

    bool CurrentDirectory(int drive, std::string& directory) override {
        if (drive != kDriveC)
            return false;
        std::unique_ptr<char, decltype(&std::free)> cwd(::getcwd(nullptr, 0), &std::free);
        // A name holding a backslash has no DOS spelling.
        if (!cwd || cwd.get()[0] != '/' || std::strchr(cwd.get(), '\\'))
            return false;
        directory = "C:" + std::string(cwd.get());
        for (char& c : directory)
            if (c == '/')
                c = '\\';
        return true;
    }

    bool Lookup(const std::string& path, unsigned& attributes) override {
        std::string linux_path;
        if (!ToLinuxPath(path, linux_path))
            return false;
        while (linux_path.size() > 1 && linux_path.back() == '/')
            linux_path.pop_back();
        const std::size_t slash = linux_path.rfind('/');
        const std::string name =
            slash == std::string::npos ? linux_path : linux_path.substr(slash + 1);
        if (HasWildcard(name)) {
            const std::string parent = slash == std::string::npos ? ""
                                       : slash == 0               ? "/"
                                                                  : linux_path.substr(0, slash);
            return LookupWildcard(parent, name, attributes);
        }
        return StatPath(linux_path, name, attributes);
    }
};

DriveTable* g_installed = nullptr;

} // namespace

DriveTable& SystemDrives() {
    static LinuxDrives drives;
    return drives;
}

DriveTable& Drives() {
    return g_installed ? *g_installed : SystemDrives();
}

void SetDrives(DriveTable* table) {
    g_installed = table;
}

} // namespace tesmo
