// The document base: what a document of the result window needs from the
// application framework. It keeps a title, a modified flag and a path name,
// tells its observers (the views and frames showing it) when to redraw and
// when its title changed, and stores or loads itself through an archive.
#ifndef VORLAN_PLATFORM_DOCUMENT_H
#define VORLAN_PLATFORM_DOCUMENT_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

// Where a storing archive's bytes go. Write returns false on failure; the
// archive remembers the first failure and drops everything after it.
class CByteSink {
  public:
    virtual ~CByteSink() = default;
    virtual bool Write(const char* data, std::size_t size) = 0;
};

// Where a loading archive's bytes come from. Read returns how many bytes it
// put into data: 0 at the end of the data, and from a failure on.
class CByteSource {
  public:
    virtual ~CByteSource() = default;
    virtual std::size_t Read(char* data, std::size_t size) = 0;
};

// A storing or a loading archive.
class CArchive {
  public:
    enum class Mode { store, load };

    explicit CArchive(CByteSink& sink) : m_mode(Mode::store), m_pSink(&sink) {}
    explicit CArchive(CByteSource& source) : m_mode(Mode::load), m_pSource(&source) {}

    bool IsStoring() const { return m_mode == Mode::store; }
    bool IsLoading() const { return m_mode == Mode::load; }
    // Storing only: hands the bytes to the sink unless an earlier write failed.
    void Write(const char* data, std::size_t size);
    bool Failed() const { return m_bFailed; }
    // Loading only: as CByteSource::Read; 0 for a storing archive.
    std::size_t Read(char* data, std::size_t size);

  private:
    Mode m_mode;
    CByteSink* m_pSink = nullptr;
    CByteSource* m_pSource = nullptr;
    bool m_bFailed = false;
};

// A sink over an open file descriptor, buffered so that many small writes
// (one per report line) become few large ones. The descriptor is not owned.
// Flush must be called before the descriptor is closed; Error gives the
// first failure, if any.
class CFdSink : public CByteSink {
  public:
    explicit CFdSink(int fd, std::size_t bufferSize = 1 << 20);
    ~CFdSink() override;
    CFdSink(const CFdSink&) = delete;
    CFdSink& operator=(const CFdSink&) = delete;

    bool Write(const char* data, std::size_t size) override;
    bool Flush();
    std::error_code Error() const { return m_error; }

  private:
    bool WriteAll(const char* data, std::size_t size);

    int m_fd;
    std::error_code m_error;
    std::vector<char> m_buffer;
    std::size_t m_nUsed = 0;
};

// Replaces the file at path with what write stores into the archive it is
// given, as ReplaceFileAtomically does (platform/atomic_file.h: links written
// through, read-only files refused, a failure leaves the old file whole).
// The failure, if any; EIO when the archive failed without an errno value.
std::error_code WriteFileAtomically(const std::string& path,
                                    const std::function<void(CArchive&)>& write);

class CDocument;

// Implemented by whatever shows a document. Callbacks run on the one thread,
// possibly from inside a count run (through the event pump).
class IDocumentObserver {
  public:
    virtual ~IDocumentObserver() = default;
    // The content changed: show it again from the first line.
    virtual void OnDocumentUpdate(CDocument& doc) = 0;
    // The title changed (a count's progress texts come this way).
    virtual void OnDocumentTitleChanged(CDocument& doc) = 0;
};

class CDocument {
  public:
    CDocument() = default;
    virtual ~CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    const std::string& GetTitle() const { return m_strTitle; }
    // Sets the title and tells every observer.
    void SetTitle(const std::string& title);

    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool modified = true) { m_bModified = modified; }

    // Empty until the document is saved to or opened from a file.
    const std::string& GetPathName() const { return m_strPathName; }
    // Sets the path name and makes its last component the title.
    void SetPathName(const std::string& path);
    // The document no longer belongs to its file (its content is a new
    // one): Save has to ask for a name again. The title stays.
    void ForgetPathName() { m_strPathName.clear(); }

    // Observers are not owned; one must be removed before it is destroyed.
    void AddObserver(IDocumentObserver* observer);
    void RemoveObserver(IDocumentObserver* observer);
    void UpdateAllViews();

    // Whether the framework may close the document now. Asked before the
    // question whether to save a modified document.
    virtual bool CanCloseFrame() const { return true; }

    // Writes the document to path with WriteFileAtomically, so a failed
    // save leaves the old file whole. On success the document takes
    // path as its path name and title and is no longer modified. On
    // failure the document is unchanged.
    std::error_code OnSaveDocument(const std::string& path);
    // The largest file OnOpenDocument loads.
    static constexpr std::uint64_t kMaxOpenSize = std::uint64_t{1} << 30;
    // Opens path (a readable regular file of at most kMaxOpenSize bytes),
    // empties the document and loads it from the file's bytes, and takes
    // path as path name and title. On failure (EFBIG for a larger file,
    // ENOMEM when the content does not fit in memory) the document is left
    // empty if loading had begun, else unchanged, and keeps its names.
    std::error_code OnOpenDocument(const std::string& path);

  protected:
    virtual void Serialize(CArchive& ar) = 0;
    // Empties the document before another file is loaded into it.
    virtual void DeleteContents() {}

  private:
    std::string m_strTitle;
    std::string m_strPathName;
    bool m_bModified = false;
    std::vector<IDocumentObserver*> m_observers;
};

#endif
