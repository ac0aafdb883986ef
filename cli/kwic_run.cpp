#include "cli/kwic_run.h"

#include "cli/kwic_output.h"
#include "cli/kwic_word.h"
#include "engine/collocates.h"

CKwicCommand::CKwicCommand(const CountOptions& options, const CSettingsStore& settings,
                           const CSegmentation& segmentation, const CExcludeList& exclude,
                           ICountNotifier& notifier)
    : m_options(options), m_reading(ReadConcordanceReading(settings)), m_segmentation(segmentation),
      m_exclude(exclude), m_notifier(notifier) {}

std::string CKwicCommand::CheckWord() {
    return PrepareKwicWord(m_options.kwic.Word(), m_reading.nEncoding, m_word);
}

void CKwicCommand::Write(const std::vector<std::string>& files, CArchive& ar) {
    const int quit = 0; // nothing stops a command-line run but a signal
    CConcordance concordance(m_input, m_notifier, m_exclude, m_reading, m_segmentation, quit);
    const KwicRequest& request = m_options.kwic;
    if (request.kwic) {
        CKwicWriter writer(request, m_options.format, files, ar);
        m_outcome = concordance.Run(files, m_word, writer);
        writer.Finish();
        return;
    }
    CCollocates collocates(request.nLeft, request.nRight);
    m_outcome = concordance.Run(files, m_word, collocates);
    WriteCollocates(collocates.Rows(request.nMin), m_options.format, ar);
}
