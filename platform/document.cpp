#include "platform/document.h"

#include "platform/atomic_file.h"
#include "platform/file_io.h"
#include "platform/path.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <sys/stat.h>

void CArchive::Write(const char* data, std::size_t size) {
    if (!m_pSink || m_bFailed)
        return;
    if (!m_pSink->Write(data, size))
        m_bFailed = true;
}

std::size_t CArchive::Read(char* data, std::size_t size) {
    return m_pSource ? m_pSource->Read(data, size) : 0;
}

namespace {

// A source over an open file descriptor (not owned), read from its position;
// the first failure ends the data and stays in Error.
class CFdSource : public CByteSource {
  public:
    explicit CFdSource(int fd) : m_fd(fd) {}
    std::size_t Read(char* data, std::size_t size) override {
        return m_error ? 0 : ReadSome(m_fd, data, size, m_error);
    }
    std::error_code Error() const { return m_error; }

  private:
    int m_fd;
    std::error_code m_error;
};

} // namespace

CFdSink::CFdSink(int fd, std::size_t bufferSize)
    : m_fd(fd), m_buffer(bufferSize ? bufferSize : 1) {}

CFdSink::~CFdSink() {
    Flush();
}

bool CFdSink::Write(const char* data, std::size_t size) {
    if (m_error)
        return false;
    if (size > m_buffer.size() - m_nUsed) {
        if (!Flush())
            return false;
        if (size >= m_buffer.size())
            return WriteAll(data, size);
    }
    std::copy(data, data + size, m_buffer.data() + m_nUsed);
    m_nUsed += size;
    return true;
}

bool CFdSink::Flush() {
    if (m_error)
        return false;
    std::size_t used = m_nUsed;
    m_nUsed = 0;
    return WriteAll(m_buffer.data(), used);
}

bool CFdSink::WriteAll(const char* data, std::size_t size) {
    m_error = ::WriteAll(m_fd, std::string_view(data, size));
    return !m_error;
}

void CDocument::SetTitle(const std::string& title) {
    m_strTitle = title;
    // Copy: an observer may remove itself while being told.
    std::vector<IDocumentObserver*> observers = m_observers;
    for (IDocumentObserver* o : observers)
        o->OnDocumentTitleChanged(*this);
}

void CDocument::SetPathName(const std::string& path) {
    m_strPathName = path;
    SetTitle(std::string(FileNameOf(path)));
}

void CDocument::AddObserver(IDocumentObserver* observer) {
    if (std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void CDocument::RemoveObserver(IDocumentObserver* observer) {
    std::erase(m_observers, observer);
}

void CDocument::UpdateAllViews() {
    std::vector<IDocumentObserver*> observers = m_observers;
    for (IDocumentObserver* o : observers)
        o->OnDocumentUpdate(*this);
}

std::error_code WriteFileAtomically(const std::string& path,
                                    const std::function<void(CArchive&)>& write) {
    return ReplaceFileAtomically(path, [&write](int fd) {
        CFdSink sink(fd);
        CArchive ar(sink);
        write(ar);
        sink.Flush();
        if (sink.Error() || !ar.Failed())
            return sink.Error();
        return SystemError(EIO);
    });
}

std::error_code CDocument::OnSaveDocument(const std::string& path) {
    if (std::error_code ec = WriteFileAtomically(path, [this](CArchive& ar) { Serialize(ar); }))
        return ec;
    SetModifiedFlag(false);
    SetPathName(path);
    return {};
}

std::error_code CDocument::OnOpenDocument(const std::string& path) {
    std::error_code ec;
    CFd fd = OpenForReading(path.c_str(), ec);
    if (ec)
        return ec;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0)
        return LastSystemError();
    if (!S_ISREG(st.st_mode))
        return SystemError(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    if (static_cast<std::uint64_t>(st.st_size) > kMaxOpenSize)
        return SystemError(EFBIG);
    DeleteContents();
    CFdSource source(fd.Get());
    CArchive ar(source);
    try {
        Serialize(ar);
    } catch (const std::bad_alloc&) {
        DeleteContents();
        return SystemError(ENOMEM);
    }
    // Half a file must not pass for the file.
    if (source.Error()) {
        DeleteContents();
        return source.Error();
    }
    SetModifiedFlag(false);
    SetPathName(path);
    return {};
}
