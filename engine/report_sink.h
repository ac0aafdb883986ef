// Where the lines of a report go as they are written: the report list, or
// a stream that passes them on (the command line writes a long report out
// without holding it).
#ifndef VORLAN_ENGINE_REPORT_SINK_H
#define VORLAN_ENGINE_REPORT_SINK_H

#include <cstddef>
#include <cstdint>
#include <string>

class CExStringList;

class IReportLineSink {
  public:
    virtual ~IReportLineSink() = default;
    // Any line but a word line: the header, the separator, the totals.
    virtual void WriteLine(std::string line) = 0;
    // A word line: line ends with the nWordLength bytes of the word and
    // CR LF; the word was counted nCount times. The sink may take line's
    // text, leaving it empty, or leave it for the writer to reuse.
    virtual void WriteWordLine(std::string& line, std::uint64_t nCount,
                               std::size_t nWordLength) = 0;
};

// Appends every line to a report list. std::bad_alloc from the list
// propagates.
class CListLineSink : public IReportLineSink {
  public:
    explicit CListLineSink(CExStringList& list) : m_list(list) {}
    void WriteLine(std::string line) override;
    void WriteWordLine(std::string& line, std::uint64_t nCount, std::size_t nWordLength) override;

  private:
    CExStringList& m_list;
};

#endif
