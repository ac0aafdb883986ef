// The About box: the program's name and version and the edition of the text
// library, asked from the library each time the box opens.
#ifndef VORLAN_UI_ABOUT_DLG_H
#define VORLAN_UI_ABOUT_DLG_H

#include <QDialog>
#include <QString>

class QLabel;

// The library's identity exports. Tests hand in others to show the other
// editions; the default is the linked library.
struct CLibraryIdentity {
    int (*cwExType)();
    char* (*getLanguage)(char* buffer);
    int (*getExDllVersion)();

    static CLibraryIdentity Linked();
};

// "Version of DLL: 0.05" for 5: the version times 100 shown with two
// decimals. Outside 0 to 999 the number keeps all its digits and its sign
// (1234 gives 12.34, -5 gives -0.05).
QString FormatDllVersion(int version);
// "Language: English" for type 0, "Language: Japanese" for 1, otherwise the
// library's own name of its language.
QString FormatLanguage(const CLibraryIdentity& library);

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr,
                       const CLibraryIdentity& library = CLibraryIdentity::Linked());

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    CLibraryIdentity m_library;
    QLabel* m_pVersion;
    QLabel* m_pLanguage;
};

#endif
