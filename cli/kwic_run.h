// vorlan-count --kwic and --collocates: the word checked, the files read
// once by the concordance, the hits or collocates written as they come.
#ifndef VORLAN_CLI_KWIC_RUN_H
#define VORLAN_CLI_KWIC_RUN_H

#include "cli/options.h"
#include "engine/concordance.h"
#include "engine/count_input.h"

#include <string>
#include <vector>

class CArchive;
class CExcludeList;
class CSegmentation;
class CSettingsStore;
class ICountNotifier;

class CKwicCommand {
  public:
    // Everything given must outlive the command; segmentation is the count's
    // own (made from the same settings) and Ready().
    CKwicCommand(const CountOptions& options, const CSettingsStore& settings,
                 const CSegmentation& segmentation, const CExcludeList& exclude,
                 ICountNotifier& notifier);

    // Why the WORD cannot be looked for under the count's reading; empty
    // when it can.
    std::string CheckWord();
    // The list entry that stands for standard input.
    void SetDescriptorEntry(std::string name, int fd) {
        m_input.SetDescriptorEntry(std::move(name), fd);
    }
    // Reads files and writes what was asked to ar.
    void Write(const std::vector<std::string>& files, CArchive& ar);
    // Every file was opened and read whole.
    bool AllRead() const { return m_outcome.failedFiles.empty(); }

  private:
    const CountOptions& m_options;
    ConcordanceReading m_reading;
    const CSegmentation& m_segmentation;
    const CExcludeList& m_exclude;
    ICountNotifier& m_notifier;
    CCountInput m_input;
    ConcordanceWord m_word;
    ConcordanceOutcome m_outcome;
};

#endif
