// What tells the four scans apart. One loop serves all four; the named
// scans of CVorlanDoc pass one of these descriptions to it.
#ifndef VORLAN_ENGINE_SCAN_H
#define VORLAN_ENGINE_SCAN_H

struct ScanVariant {
    bool stripHtml;         // lines pass the HTML filter instead of being trimmed
    bool reverseWords;      // words are counted with their bytes reversed
    const char* progress;   // title every 500 words; printf format of one long
    const char* failSuffix; // follows the path in the open-failure message
};

extern const ScanVariant kScanPlain;
extern const ScanVariant kScanByEndings;
extern const ScanVariant kScanHtml;
extern const ScanVariant kScanHtmlByEndings;

// The longest piece of a line one read stores, plus the terminating NUL.
constexpr int kScanLineBufferSize = 5120;

#endif
