// The most-recently-used file list: up to four paths, newest first, kept in
// the settings under "Recent File List" as "File1" to "File4".
#ifndef VORLAN_UI_RECENT_FILE_LIST_H
#define VORLAN_UI_RECENT_FILE_LIST_H

#include <QString>
#include <QStringList>

class CSettingsStore;

class CRecentFileList {
  public:
    static constexpr int kSize = 4;
    static constexpr int kDisplayChars = 30;

    const QStringList& Files() const { return m_files; }
    // Puts path first; an older entry of the same path goes, and so does the
    // oldest entry beyond the fourth.
    void Add(const QString& path);
    void Remove(int index);

    // The entries as the menu shows them, shortened to 30 characters.
    QStringList DisplayNames() const;

    void Read(const CSettingsStore& settings);
    // Writes the entries; the keys of unused slots are removed.
    void Write(CSettingsStore& settings) const;

  private:
    QStringList m_files;
};

// path shortened to at most maxChars characters by replacing leading
// directories with "...", keeping at least the file name.
QString AbbreviatePath(const QString& path, int maxChars);

#endif
