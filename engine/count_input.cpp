#include "engine/count_input.h"

#include "engine/text_encoding.h"
#include "platform/line_reader.h"

bool CCountInput::Open(CTextLineReader& reader, const std::string& entry, std::uint64_t begin,
                       std::uint64_t end, int fd) const {
    if (IsDescriptorEntry(entry))
        return reader.OpenDescriptor(m_nDescriptorFd);
    if (fd >= 0)
        return reader.OpenPartOf(fd, begin, end);
    return reader.OpenPart(entry.c_str(), begin, end);
}

bool CCountInput::ReadsAsUtf8(int encoding, const std::string& entry, int fd) const {
    if (IsDescriptorEntry(entry))
        return encoding == kEncodingUtf8;
    if (fd >= 0)
        return encoding == kEncodingUtf8 || (encoding == kEncodingDetect && IsUtf8Descriptor(fd));
    return ReadsFileAsUtf8(encoding, entry.c_str());
}
