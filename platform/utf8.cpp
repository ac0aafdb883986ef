#include "platform/utf8.h"

bool CUtf8Validator::Feed(const unsigned char* data, std::size_t size) {
    for (std::size_t i = 0; i < size && m_bValid; ++i) {
        const unsigned char c = data[i];
        if (m_nPending > 0) {
            if (c < m_nLow || c > m_nHigh)
                m_bValid = false;
            --m_nPending;
            m_nLow = 0x80, m_nHigh = 0xBF;
            continue;
        }
        if (c < 0x80)
            continue;
        m_bMultiByte = true;
        // The first continuation byte's range rules out overlong forms,
        // surrogates and code points past U+10FFFF.
        if (c >= 0xC2 && c <= 0xDF) {
            m_nPending = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            m_nPending = 2;
            m_nLow = c == 0xE0 ? 0xA0 : 0x80;
            m_nHigh = c == 0xED ? 0x9F : 0xBF;
        } else if (c >= 0xF0 && c <= 0xF4) {
            m_nPending = 3;
            m_nLow = c == 0xF0 ? 0x90 : 0x80;
            m_nHigh = c == 0xF4 ? 0x8F : 0xBF;
        } else {
            m_bValid = false;
        }
    }
    return m_bValid;
}

bool IsValidUtf8(std::string_view bytes) {
    CUtf8Validator validator;
    validator.Feed(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    return validator.Complete();
}
