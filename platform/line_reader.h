// Reads a file line by line the way a text-mode stream of the original
// platform does, so that counts do not depend on how lines end:
//  - CR LF reads as LF; a CR that is not followed by LF is kept as a byte;
//  - a byte 0x1A (Ctrl-Z) ends the file: nothing after it is read;
//  - a line ends after its first LF, or earlier when the caller's buffer is
//    full (size - 1 bytes), so a longer line comes in pieces.
// Files opened by path must be regular files: FIFOs, sockets, devices and
// directories are refused as open failures without being opened (opening one
// can block, wake a writer waiting at a FIFO, or act on a device). Such a file
// is read up to the size it had when it was opened, so one that another
// program keeps appending to still comes to an end; one that shrinks ends
// early. A regular file that reports size 0 (as the files of /proc do) is
// read until its end, but no further than kUnknownSizeLimit bytes: past that
// the read fails with EFBIG, since such a file may never end. A descriptor the
// process already holds (standard input in a pipeline) may be of any kind but
// a directory and is read to its end; reading it may wait for its writer.
#ifndef VORLAN_PLATFORM_LINE_READER_H
#define VORLAN_PLATFORM_LINE_READER_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <system_error>

class CTextLineReader {
  public:
    // Bytes asked of the system per read.
    static constexpr std::size_t kReadSize = 256 * 1024;
    // The most a file opened by path that reports size 0 may yield.
    static constexpr std::uint64_t kUnknownSizeLimit = std::uint64_t{1} << 30;

    CTextLineReader() = default;
    ~CTextLineReader() { Close(); }
    CTextLineReader(const CTextLineReader&) = delete;
    CTextLineReader& operator=(const CTextLineReader&) = delete;

    // Opens path for reading, closing any file open before. False when the
    // file cannot be opened or is not a regular file; Error() then tells why
    // (EISDIR for a directory, EINVAL for any other kind that is not a
    // regular file).
    bool Open(const char* path);
    // Opens path like Open and reads only its bytes from offset begin up to
    // end (or its end, when that comes first): one part of a file that is
    // read in parts, each starting where a line starts. A part reads exactly
    // as those lines read from the whole file, Ctrl-Z included.
    bool OpenPart(const char* path, std::uint64_t begin, std::uint64_t end);
    // The same part of the regular file open at fd, which stays open and
    // must stay so while the reader reads: the reader keeps its own offset,
    // so that several readers can read parts of one descriptor at once.
    // False, with Error() set, when fd is not a regular file.
    bool OpenPartOf(int fd, std::uint64_t begin, std::uint64_t end);
    // Reads what is left of the already-open descriptor fd, closing any file
    // open before. fd itself stays open: the reader works on a duplicate.
    // False, with Error() set, when fd is not open, names a directory
    // (EISDIR) or cannot be duplicated.
    bool OpenDescriptor(int fd);

    // Stores the next line (or piece of one) in buf: at most size - 1 bytes,
    // then a NUL. A NUL byte of the file is stored like any other byte, so a
    // reader of buf as a C string sees the line end there. When length is
    // given it receives the number of bytes stored before the terminator.
    // Returns false, storing an empty string, when nothing could be read: at
    // the end of the file, after a Ctrl-Z, after a read error (see Failed),
    // when no file is open, or when size is less than 2.
    bool ReadLine(char* buf, std::size_t size, std::size_t* length = nullptr);

    // True when a read error ended the file early.
    bool Failed() const { return m_bFailed; }
    // True when a Ctrl-Z ended the file (or part): whatever follows it in the
    // file is not to be read.
    bool EndedAtCtrlZ() const { return m_bCtrlZ; }
    // Why the last open or read failed (system category); empty when none did.
    std::error_code Error() const { return m_error; }
    bool IsOpen() const { return m_fd >= 0; }
    // The bytes of the open file taken from the system and not left in the
    // buffer: how far into the file the lines handed out so far reach.
    std::uint64_t BytesConsumed() const {
        return m_nBytesRead - static_cast<std::uint64_t>(m_pEnd - m_pPos);
    }
    // The bytes taken from the system and not handed out yet, as the file
    // has them: the start of the lines to come, as far as read, for a look
    // ahead. Valid until the next read.
    std::string_view Unread() const { return {m_pPos, static_cast<std::size_t>(m_pEnd - m_pPos)}; }

    void Close();

  private:
    // Closes any open file and clears what the last one left.
    void Reset();
    // Records error as the reason of a failed open; returns false.
    bool Refuse(int error);
    // Reads the open descriptor fd (now the reader's) from where it stands:
    // size bytes, or to its end when size is 0. False, fd closed, when the
    // buffer cannot be had.
    bool Attach(int fd, std::uint64_t size);
    // Narrows an attached regular file to the bytes from begin up to end.
    void Narrow(std::uint64_t begin, std::uint64_t end);
    bool Fill();
    ssize_t ReadPiece(std::size_t want);

    int m_fd = -1;
    // Bytes left to read of the size found at the open; a regular file that
    // reports size 0 (as generated ones do) is read until its end instead.
    unsigned long long m_nLeft = 0;
    bool m_bSizeKnown = false;
    // Reads at m_nOffset instead of the descriptor's shared file position.
    bool m_bPositional = false;
    std::uint64_t m_nOffset = 0;
    // What a file of unknown size may yield before it counts as failed.
    std::uint64_t m_nUnknownLimit = UINT64_MAX;
    std::unique_ptr<char[]> m_buffer; // kept from file to file
    const char* m_pPos = nullptr;
    const char* m_pEnd = nullptr;
    bool m_bEnd = false;
    bool m_bFailed = false;
    bool m_bCtrlZ = false;
    std::error_code m_error;
    std::uint64_t m_nBytesRead = 0;
};

#endif
