// The file-type exclusion list: the extensions of files that are not text
// (programs, pictures, media, archives and the user's own), read once from
// the profile section "Exclude" when a result document is created. While
// "Exclude binary files" is on, the counting engine skips every file whose
// extension is in the list.
#ifndef VORLAN_FILTERS_EXCLUDE_LIST_H
#define VORLAN_FILTERS_EXCLUDE_LIST_H

#include <string>
#include <vector>

class CSettingsStore;

class CExcludeList {
  public:
    // The longest list value used, in bytes; a longer value is cut there.
    static constexpr std::size_t kMaxListBytes = 2047;

    // Reads the five categories from store, in the order Exec, Pict, Data,
    // Arc, User, and keeps the items of every enabled one. The store is not
    // kept: later profile changes affect only lists built afterwards.
    explicit CExcludeList(const CSettingsStore& store);

    // True when the extension of the file named by path (the text after the
    // last "." of its last "/"-separated component) is in the list, compared
    // without regard to the case of ASCII letters. A name without a dot, or
    // one that begins with a dot, has the extension "" and is matched only by
    // an entry ".".
    bool IsExcluded(const char* path) const;

    // The entries in list order, each as written in the profile.
    const std::vector<std::string>& Entries() const { return m_listExt; }

  private:
    void AppendItems(const std::string& list);

    std::vector<std::string> m_listExt;
};

#endif
