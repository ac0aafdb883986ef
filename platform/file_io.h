// The few file operations the layers above need from the system, so that
// only platform/ calls it. Failures come back as std::error_code holding
// the errno value (system category); an empty code means success.
// Interrupted system calls are restarted, never reported.
#ifndef VORLAN_PLATFORM_FILE_IO_H
#define VORLAN_PLATFORM_FILE_IO_H

#include "platform/fd.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <system_error>

// The error code of errno value, and of the last failed system call.
std::error_code SystemError(int value);
std::error_code LastSystemError();

// Opens path for reading. Opening never blocks, not even on a FIFO without
// a writer or a device; reads from such a file may then find no data. The
// descriptor is closed on exec. An invalid CFd and ec set on failure.
CFd OpenForReading(const char* path, std::error_code& ec);

// The size of the regular file at path (links followed) or behind fd;
// nothing when it is not a regular file or its status cannot be read.
std::optional<std::uint64_t> RegularFileSize(const char* path);
std::optional<std::uint64_t> RegularFileSize(int fd);

// Reads up to size bytes into buffer, at offset or from the file position.
// Returns how many were read, 0 at the end of the file or on failure (ec
// then tells which).
std::size_t ReadAt(int fd, void* buffer, std::size_t size, std::uint64_t offset,
                   std::error_code& ec);
std::size_t ReadSome(int fd, void* buffer, std::size_t size, std::error_code& ec);

// Writes all of data at the file position, in as many writes as it takes.
std::error_code WriteAll(int fd, std::string_view data);

#endif
