#include "platform/shared_library.h"

#include <dlfcn.h>

CSharedLibrary::~CSharedLibrary() {
    if (m_pHandle)
        dlclose(m_pHandle);
}

bool CSharedLibrary::Open(const char* name) {
    if (m_pHandle)
        dlclose(m_pHandle);
    m_pHandle = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (!m_pHandle) {
        const char* reason = dlerror();
        m_strError = reason ? reason : name;
    }
    return m_pHandle != nullptr;
}

void* CSharedLibrary::Symbol(const char* name) {
    if (!m_pHandle) {
        m_strError = "no library loaded";
        return nullptr;
    }
    dlerror(); // a symbol may legitimately be null; only dlerror tells
    void* address = dlsym(m_pHandle, name);
    if (const char* reason = dlerror()) {
        m_strError = reason;
        return nullptr;
    }
    return address;
}
