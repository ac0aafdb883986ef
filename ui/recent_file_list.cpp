#include "ui/recent_file_list.h"

#include "settings/setting_keys.h"

#include <QFile>

namespace {

QByteArray KeyFor(int index) {
    return "File" + QByteArray::number(index + 1);
}

} // namespace

void CRecentFileList::Add(const QString& path) {
    m_files.removeAll(path);
    m_files.prepend(path);
    while (m_files.size() > kSize)
        m_files.removeLast();
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < m_files.size())
        m_files.removeAt(index);
}

QStringList CRecentFileList::DisplayNames() const {
    QStringList names;
    for (const QString& path : m_files)
        names.append(AbbreviatePath(path, kDisplayChars));
    return names;
}

void CRecentFileList::Read(const CSettingsStore& settings) {
    m_files.clear();
    for (int i = 0; i < kSize; ++i) {
        std::string value =
            settings.GetSettingString(setting_keys::kRecentFileSection, KeyFor(i).constData(), "");
        if (!value.empty() && !m_files.contains(QFile::decodeName(value.c_str())))
            m_files.append(QFile::decodeName(value.c_str()));
    }
}

void CRecentFileList::Write(CSettingsStore& settings) const {
    for (int i = 0; i < kSize; ++i) {
        if (i < m_files.size()) {
            QByteArray value = QFile::encodeName(m_files[i]);
            settings.WriteSettingString(setting_keys::kRecentFileSection, KeyFor(i).constData(),
                                        value.constData());
        } else {
            settings.WriteSettingString(setting_keys::kRecentFileSection, KeyFor(i).constData(),
                                        nullptr);
        }
    }
}

QString AbbreviatePath(const QString& path, int maxChars) {
    if (path.size() <= maxChars)
        return path;
    const QString ellipsis = QStringLiteral("/...");
    // Drop whole leading directories until the rest fits behind "/...".
    for (qsizetype slash = path.indexOf(QLatin1Char('/'), 1); slash > 0;
         slash = path.indexOf(QLatin1Char('/'), slash + 1)) {
        if (ellipsis.size() + path.size() - slash <= maxChars)
            return ellipsis + path.mid(slash);
    }
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}
