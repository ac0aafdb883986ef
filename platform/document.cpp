#include "platform/document.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void CArchive::Write(const char* data, std::size_t size) {
    if (!m_pSink || m_bFailed)
        return;
    if (!m_pSink->Write(data, size))
        m_bFailed = true;
}

CFdSink::CFdSink(int fd, std::size_t bufferSize)
    : m_fd(fd), m_buffer(bufferSize ? bufferSize : 1) {}

CFdSink::~CFdSink() {
    Flush();
}

bool CFdSink::Write(const char* data, std::size_t size) {
    if (m_nError)
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
    if (m_nError)
        return false;
    std::size_t used = m_nUsed;
    m_nUsed = 0;
    return WriteAll(m_buffer.data(), used);
}

bool CFdSink::WriteAll(const char* data, std::size_t size) {
    while (size > 0) {
        ssize_t n = ::write(m_fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            m_nError = errno;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
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
    std::string::size_type slash = path.find_last_of('/');
    SetTitle(slash == std::string::npos ? path : path.substr(slash + 1));
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

namespace {

// The mode a new file gets from open(2): 0666 less the umask.
mode_t NewFileMode() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

std::string FolderOf(const std::string& path) {
    std::string::size_type slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

int WriteFileAtomically(const std::string& path, const std::function<void(CArchive&)>& write) {
    if (path.empty())
        return ENOENT;
    std::string temp = FolderOf(path) + "/.vorlan-save-XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return errno;

    struct stat old {};
    ::fchmod(fd, ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : NewFileMode());

    int err = 0;
    std::exception_ptr thrown;
    {
        CFdSink sink(fd);
        CArchive ar(sink);
        try {
            write(ar);
        } catch (...) {
            thrown = std::current_exception();
        }
        sink.Flush();
        err = sink.Error() ? sink.Error() : (ar.Failed() ? EIO : 0);
    }
    if (thrown) {
        // No half-written temporary file may stay behind.
        ::close(fd);
        ::unlink(temp.c_str());
        std::rethrow_exception(thrown);
    }
    if (!err && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && !err)
        err = errno;
    if (!err && ::rename(temp.c_str(), path.c_str()) != 0)
        err = errno;
    if (err)
        ::unlink(temp.c_str());
    return err;
}

int CDocument::OnSaveDocument(const std::string& path) {
    if (int err = WriteFileAtomically(path, [this](CArchive& ar) { Serialize(ar); }))
        return err;
    SetModifiedFlag(false);
    SetPathName(path);
    return 0;
}

int CDocument::OnOpenDocument(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st {};
    int err = ::fstat(fd, &st) != 0 ? errno
                                    : (S_ISREG(st.st_mode)   ? 0
                                       : S_ISDIR(st.st_mode) ? EISDIR
                                                             : EINVAL);
    ::close(fd);
    if (err)
        return err;
    DeleteContents();
    CArchive ar;
    Serialize(ar);
    SetModifiedFlag(false);
    SetPathName(path);
    return 0;
}
