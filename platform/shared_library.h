// A shared library loaded at run time, for code the program can do without:
// the program starts and works on a machine where the library is missing,
// and only what needs it reports the failure.
#ifndef VORLAN_PLATFORM_SHARED_LIBRARY_H
#define VORLAN_PLATFORM_SHARED_LIBRARY_H

#include <string>

class CSharedLibrary {
  public:
    CSharedLibrary() = default;
    ~CSharedLibrary();
    CSharedLibrary(const CSharedLibrary&) = delete;
    CSharedLibrary& operator=(const CSharedLibrary&) = delete;

    // Loads the library by file name (searched as the dynamic loader
    // searches) with every symbol bound at once, so that a missing symbol
    // shows here and not at its first call. False, with Error() set, when it
    // cannot be loaded.
    bool Open(const char* name);
    // The address of an exported symbol, or null with Error() set.
    void* Symbol(const char* name);
    // What the loader said of the last failure.
    const std::string& Error() const { return m_strError; }

  private:
    void* m_pHandle = nullptr;
    std::string m_strError;
};

#endif
