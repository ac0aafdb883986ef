// How one scan reads its lines. One loop serves every variant; what the user
// is shown of a scan (its progress title, the suffix of its failure
// messages) is the document's business, told by the variant it is given.
#ifndef VORLAN_ENGINE_SCAN_H
#define VORLAN_ENGINE_SCAN_H

struct ScanVariant {
    bool stripHtml;    // lines pass the HTML filter instead of being trimmed
    bool reverseWords; // words are counted with their bytes reversed
};

inline constexpr ScanVariant kScanPlain{false, false};
inline constexpr ScanVariant kScanByEndings{false, true};
inline constexpr ScanVariant kScanHtml{true, false};
inline constexpr ScanVariant kScanHtmlByEndings{true, true};

// The longest piece of a line one read stores, plus the terminating NUL.
constexpr int kScanLineBufferSize = 5120;

#endif
