// Where the lines of each entry of a count's file list come from: the file
// the entry names, or, for one entry that may be singled out, a descriptor
// the process already holds (standard input in a pipeline). Every reader of
// a count opens its entries here, so both kinds are told apart in one place.
#ifndef VORLAN_ENGINE_COUNT_INPUT_H
#define VORLAN_ENGINE_COUNT_INPUT_H

#include <cstdint>
#include <string>

class CTextLineReader;

class CCountInput {
  public:
    // The entry equal to name reads what is left of fd, which stays open and
    // must stay so while counting. An empty name (the default) means no
    // entry is special.
    void SetDescriptorEntry(std::string name, int fd) {
        m_strDescriptorEntry = std::move(name);
        m_nDescriptorFd = fd;
    }
    bool HasDescriptorEntry() const { return !m_strDescriptorEntry.empty(); }
    bool IsDescriptorEntry(const std::string& entry) const {
        return HasDescriptorEntry() && entry == m_strDescriptorEntry;
    }

    // Opens entry for reading, from byte begin up to end of its file (the
    // whole file by default; a descriptor entry is always read whole), or
    // those bytes of fd when it is not -1: the file entry named when the
    // count opened it, which several parts share. False, with the reader's
    // Error() set, when it cannot be opened.
    bool Open(CTextLineReader& reader, const std::string& entry, std::uint64_t begin = 0,
              std::uint64_t end = UINT64_MAX, int fd = -1) const;
    // Whether entry (or fd, as above) is read as UTF-8 under the count's
    // TextEncoding. Detection reads a file ahead, which a descriptor entry
    // (a pipe, as often as not) cannot offer: it is read as UTF-8 only when
    // told so.
    bool ReadsAsUtf8(int encoding, const std::string& entry, int fd = -1) const;

  private:
    std::string m_strDescriptorEntry;
    int m_nDescriptorFd = -1;
};

#endif
