// A file of a concordance hit, read-only, scrolled to the hit's line with
// that line highlighted. The file is read as the count reads it (text
// mode, Ctrl-Z), so line numbers agree; a file that changed since the
// concordance is shown as it is now, with a note when the hit is gone.
#ifndef VORLAN_UI_CONCORDANCE_FILE_VIEW_H
#define VORLAN_UI_CONCORDANCE_FILE_VIEW_H

#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;

class CConcordanceFileView : public QDialog {
    Q_OBJECT
  public:
    // Lines shown around the hit's line of a file too large to show whole.
    static constexpr std::uint64_t kLinesAround = 2000;

    // Deletes itself on close. With tagsRemoved the column counts the line
    // after its HTML tags are removed and cannot be checked against the file.
    CConcordanceFileView(std::string path, std::uint64_t line, std::uint64_t column,
                         std::string hit, bool tagsRemoved, QWidget* parent = nullptr);

  private:
    struct Excerpt {
        std::vector<std::string> lines;
        std::uint64_t nFirst = 1; // the line number of lines[0]
        bool bOpened = false;
    };
    static Excerpt Read(const std::string& path, std::uint64_t line);
    void Show(const Excerpt& excerpt, std::uint64_t line, std::uint64_t column,
              const std::string& hit, bool tagsRemoved);

    QLabel* m_pNote;
    QPlainTextEdit* m_pText;
};

#endif
