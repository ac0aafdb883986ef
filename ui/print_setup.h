// What print and preview jobs share for the life of the program: the
// printer that "Printer setting" sets up and every job starts from, and the
// number of pages the preview shows side by side.
#ifndef VORLAN_UI_PRINT_SETUP_H
#define VORLAN_UI_PRINT_SETUP_H

#include <memory>

class QPrinter;

class CPrintSetup {
  public:
    CPrintSetup();
    ~CPrintSetup();
    CPrintSetup(const CPrintSetup&) = delete;
    CPrintSetup& operator=(const CPrintSetup&) = delete;

    // Made at high resolution on first use (finding the printers may take a
    // moment); paper, orientation and printer chosen on it stay for later
    // jobs.
    QPrinter& Printer();

    // Pages side by side in the preview; 0 leaves the choice to the preview.
    int PreviewPages() const { return m_nPreviewPages; }
    void SetPreviewPages(int nPages) { m_nPreviewPages = nPages; }

  private:
    std::unique_ptr<QPrinter> m_pPrinter;
    int m_nPreviewPages = 0;
};

#endif
