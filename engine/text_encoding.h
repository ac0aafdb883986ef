// How a count reads the bytes of its files: as single-byte and Shift-JIS
// text (the default), as UTF-8, or deciding per file.
#ifndef VORLAN_ENGINE_TEXT_ENCODING_H
#define VORLAN_ENGINE_TEXT_ENCODING_H

#include "platform/utf8.h" // CUtf8Validator, which the count feeds its lines

#include <cstddef>

// The values of the profile's "Option"/"Encoding" key. Any value not listed
// reads as bytes.
enum TextEncoding : int { kEncodingBytes = 0, kEncodingUtf8 = 1, kEncodingDetect = 2 };

// Whether the regular file at path reads as UTF-8: after an optional
// byte-order mark it is well-formed UTF-8 and holds at least one multi-byte
// character (a byte-order mark counts as one). Reading stops at a Ctrl-Z
// byte, where the line reader ends the file. The file is streamed in pieces.
// False when it cannot be read or is not a regular file; opening never
// blocks.
bool IsUtf8File(const char* path);
// The same for the regular file open at fd, read at its own offsets.
bool IsUtf8Descriptor(int fd);

// Whether a count with the given "Encoding" option reads the file at path as
// UTF-8 (detecting reads the file ahead; see IsUtf8File).
bool ReadsFileAsUtf8(int encoding, const char* path);

// The line past a UTF-8 byte-order mark at its start.
char* SkipByteOrderMark(char* line);

#endif
