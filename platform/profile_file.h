// An INI profile file, read and written the way the Windows profile functions
// treat one: sections and keys matched without regard to ASCII letter case, an
// absent key gives the caller's default, strings read back cut to 259 bytes.
//
// Format as read:
// - "[name]" starts a section; the name is the text up to the first "]",
//   without surrounding blanks. A "[" line without "]" is not a header.
// - "key=value" inside a section is a key; blanks around the key and the value
//   are dropped, and a value enclosed in a matching pair of '"' or '\'' loses
//   the pair (so a value can keep outer blanks). Text after the value, ";"
//   included, belongs to the value.
// - Lines starting with ";", blank lines, lines without "=" and keys before the
//   first section are nobody's key; they survive every write byte for byte.
// - When a section or key occurs twice, the first occurrence wins.
// - A value ends at a NUL byte. Both LF and CR LF line ends are read, and a
//   UTF-8 byte-order mark at the start of the file is skipped.
//
// Every call reads the file afresh, so each sees every earlier write, also one
// made through another object or by another process. Writes replace the file
// with ReplaceFileAtomically (platform/atomic_file.h, which also says how a
// symbolic link is written through) under an advisory lock on the folder, so
// a crash, a full disk or a second writer never leaves a half-written or
// half-merged profile.
//
// Nothing here throws or crashes on a bad file: a directory, a device, or an
// unreadable file (one too large for memory included; size is no limit
// otherwise) in place of the profile reads as empty, and a write to it fails
// rather than replacing something it could not read; ReadError tells a
// caller that must not go on with the defaults silently. A
// read-only profile (no write permission bit, or none for this user) is never
// replaced either.
#ifndef VORLAN_PLATFORM_PROFILE_FILE_H
#define VORLAN_PLATFORM_PROFILE_FILE_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

// The longest string a profile read returns, in bytes (a 260-byte buffer).
inline constexpr std::size_t kMaxProfileString = 259;

// Whether two section or key names match: ASCII letters compare without case,
// all other bytes (Shift-JIS and UTF-8 ones included) exactly.
bool ProfileNamesEqual(std::string_view a, std::string_view b);

class CProfileFile {
  public:
    explicit CProfileFile(std::string path) : m_strPath(std::move(path)) {}

    const std::string& Path() const { return m_strPath; }

    // Why the file cannot be read whole, if it cannot: not a regular file,
    // no permission, too large for memory. A missing file is no error (it
    // reads as empty).
    std::error_code ReadError() const;

    // The whole stored value, or nothing when the key is absent or the file
    // cannot be read. A present key with an empty value gives "".
    std::optional<std::string> ReadValue(const char* section, const char* key) const;

    // The stored value cut to kMaxProfileString bytes, or def when the key is
    // absent (a null def gives "").
    std::string GetString(const char* section, const char* key, const char* def) const;

    // Writes "key=value", creating the file and the section when needed. The
    // key's line is replaced where it stands; a new key goes after the last key
    // of its section, a new section at the end of the file. A value whose outer
    // blanks or quotes would be lost on reading is written in double quotes.
    // False when nothing was written: the file could not be read or replaced,
    // or the names or value cannot be stored (a line break in any of them, a
    // "]" in the section, a "=" in the key, blanks around a name).
    bool WriteString(const char* section, const char* key, const char* value);

    // Writes value with "%d".
    bool WriteInt(const char* section, const char* key, int value);

    // Removes the key's line; true also when there was no such key.
    bool DeleteKey(const char* section, const char* key);

  private:
    bool Edit(const char* section, const char* key, const char* value);

    std::string m_strPath;
};

#endif
