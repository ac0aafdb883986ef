// The Select Files dialog: the user picks a directory and a file name or
// wildcard pattern; the count enumerates the matching files itself. The last
// confirmed directory is kept in the settings ("File"/"Dir").
#ifndef VORLAN_UI_FILE_SEL_DIALOG_H
#define VORLAN_UI_FILE_SEL_DIALOG_H

#include <QDialog>
#include <QList>
#include <QString>

class CSettingsStore;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

// A "drive" of the drives list: the platform's equivalent of a drive letter,
// shown as [-c-], and the directory it stands for (ending with "/").
struct CDriveRoot {
    QChar letter;
    QString path;
};

// The file-system root [-/-] and the home directory [-~-].
QList<CDriveRoot> DefaultDriveRoots();

class CFileSelDialog : public QDialog {
    Q_OBJECT
  public:
    explicit CFileSelDialog(CSettingsStore& settings, QWidget* parent = nullptr,
                            QList<CDriveRoot> roots = DefaultDriveRoots());

    // The chosen directory, always ending with "/", and the file name or
    // pattern; valid after the dialog ended with OK.
    const QString& Dir() const { return m_strDir; }
    const QString& File() const { return m_strFile; }

  public slots:
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void BuildControls();
    void FillDirList();
    void FillFileList();
    void FillDriveList();
    void ShowValues();
    void ReadEdits();
    void OnDirDoubleClicked(QListWidgetItem* item);
    void OnDriveDoubleClicked(QListWidgetItem* item);
    void OnFileDoubleClicked(QListWidgetItem* item);
    void OnTypeDoubleClicked(QListWidgetItem* item);
    void OnFileEditChanged();

    CSettingsStore& m_settings;
    QList<CDriveRoot> m_roots;
    QString m_strDir;
    QString m_strFile;
    QLineEdit* m_pFileEdit = nullptr;
    QLineEdit* m_pDirEdit = nullptr;
    QListWidget* m_pFileList = nullptr;
    QListWidget* m_pDirList = nullptr;
    QListWidget* m_pDriveList = nullptr;
    QListWidget* m_pTypeList = nullptr;
    QLabel* m_pNote = nullptr;
    bool m_bShowingValues = false;
};

#endif
