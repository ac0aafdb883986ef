// The Select Files dialog: the user picks a directory and a file name or
// wildcard pattern; the count enumerates the matching files itself. The last
// confirmed directory is kept in the settings ("File"/"Dir"), and so is the
// choice to include subfolders ("Option"/"Subdir", as the Output Option
// dialog keeps it).
//
// The keyboard: Enter on a highlighted folder or drive opens it, on a
// pattern of the type list takes it, in the directory box goes to the folder
// typed there; in the file name box and on a file it counts, as OK does.
#ifndef VORLAN_UI_FILE_SEL_DIALOG_H
#define VORLAN_UI_FILE_SEL_DIALOG_H

#include <QDialog>
#include <QList>
#include <QString>

class CSettingsStore;
class QCheckBox;
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
    // Whether the count is to read the subfolders too; stored with OK.
    bool IncludeSubfolders() const;

  public slots:
    // OK: goes first to a folder typed in the directory box and not yet
    // entered; with nothing to count it says why and stays open.
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildControls();
    void LayOutControls(QWidget* buttons);
    void ConnectControls();
    void FillDirList(const QString& highlight = QString());
    void FillFileList();
    void FillDriveList();
    void ShowValues();
    void ShowFolder(const QString& highlight = QString());
    void SyncTypeSelection();
    bool GoToTypedFolder();
    QString NothingToCount() const;
    void OnDirActivated(QListWidgetItem* item);
    void OnDriveActivated(QListWidgetItem* item);
    void OnFileActivated(QListWidgetItem* item);
    void OnTypeChosen();
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
    QCheckBox* m_pSubdirs = nullptr;
    QLabel* m_pNote = nullptr;
    bool m_bShowingValues = false;
};

#endif
