/*
 * tesmo: text functions for single-byte and Japanese Shift-JIS byte strings.
 *
 * Every string is a NUL-terminated byte string owned by the caller. Functions
 * that write take the caller's buffer and return pointers into it; nothing is
 * allocated on one side of the library boundary and freed on the other.
 * No function reports errors: they return null, 0 or an empty result.
 *
 * TESMO_CALL is the calling convention of the exports: __stdcall on 32-bit
 * Windows (where the names are exported with a leading underscore), empty
 * elsewhere (plain names).
 */
#ifndef TESMO_H
#define TESMO_H

#if defined(_WIN32) && !defined(_WIN64)
#define TESMO_CALL __stdcall
#else
#define TESMO_CALL
#endif

#if defined(_WIN32)
#ifdef TESMO_BUILDING
#define TESMO_API __declspec(dllexport)
#else
#define TESMO_API __declspec(dllimport)
#endif
#else
#define TESMO_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Identity and character classes. */
TESMO_API int TESMO_CALL CwExType(void);
TESMO_API char* TESMO_CALL GetLanguage(char* buffer);
TESMO_API int TESMO_CALL GetExDllVersion(void);
TESMO_API int TESMO_CALL is_nth_kanji(int n, const char* text);
TESMO_API int TESMO_CALL is_nth_kanji2(int n, const char* text);
TESMO_API int TESMO_CALL zqr_nthctype(int n, const char* text);

/* Word extraction: the tokenizer of the word counter. Process-wide state. */
TESMO_API char* TESMO_CALL strword(char* text);
/* The same for UTF-8 text, with a continuation of its own: a multi-byte
 * character is one character, and Unicode white space, punctuation and
 * symbols end words. */
TESMO_API char* TESMO_CALL strword_utf8(char* text);

/* The same two with the continuation in the caller's hands, so that several
 * tokenizations can be in progress at once (one per thread, say). A state
 * belongs to one tokenization at a time; zero-initialise it before its first
 * use (a call without a string on such a state returns null). Its members
 * are the library's own. strword and strword_utf8 keep states of their own,
 * which these never touch. */
typedef struct strword_state {
    unsigned char* next;
    const unsigned char* begin;
    const unsigned char* limit;
    unsigned char* window_base;
    unsigned long long window_stops;
    unsigned long long pending_stops;
} strword_state;
TESMO_API char* TESMO_CALL strword_r(char* text, strword_state* state);
TESMO_API char* TESMO_CALL strword_utf8_r(char* text, strword_state* state);

/* Multibyte string operations. */
TESMO_API int TESMO_CALL mbstrcmp(const char* a, const char* b);
TESMO_API int TESMO_CALL mbstricmp(const char* a, const char* b);
TESMO_API int TESMO_CALL mbstrncmp(const char* a, const char* b, int n);
TESMO_API int TESMO_CALL mbstrnicmp(const char* a, const char* b, int n);
TESMO_API char* TESMO_CALL mbstrrev(char* s);
TESMO_API char* TESMO_CALL mbstrupr(char* s);
TESMO_API char* TESMO_CALL mbstrlwr(char* s);
TESMO_API char* TESMO_CALL mbstrtok(char* s, const char* delimiters);
TESMO_API char* TESMO_CALL mbstrconv(char* s);
TESMO_API char* TESMO_CALL mbdelspace1(char* dest, const char* src);
TESMO_API char* TESMO_CALL mbdelspace3(char* dest, const char* src);
TESMO_API char* TESMO_CALL mbstrstr(const char* haystack, const char* needle);

/* Boyer-Moore search: bmstrstr takes the pattern last given to bminitialize. */
TESMO_API void TESMO_CALL bminitialize(const char* pattern);
TESMO_API char* TESMO_CALL bmstrstr(const char* text, const char* pattern);

/* Code conversion to Shift-JIS, in place. */
TESMO_API char* TESMO_CALL euc2sjis(char* s);
TESMO_API char* TESMO_CALL jis2sjis(char* s);

/* DOS/Windows file names (backslash separator, drive letters). Out buffers
 * must hold at least 260 bytes. */
TESMO_API int TESMO_CALL parse_filename(char* dir, char* file, const char* input);
TESMO_API void TESMO_CALL GetFilename(const char* path, char* out);
TESMO_API void TESMO_CALL GetDirectory(const char* path, char* out);
TESMO_API void TESMO_CALL GetExtension(const char* path, char* out);

/* Tokens, sentence ends and word checks. gettoken's out must hold 1,000
 * bytes; gettoken tokenizes with strword and leaves its continuation null.
 * Rekkc's searches before the hit read the line backwards, character by
 * character, and look for the keyword's bytes as given: pass the keyword with
 * its characters reversed ("eht" finds "the"). */
TESMO_API void TESMO_CALL gettoken(int n, int mode, int pos, int ignored, const char* line,
                                   char* out);
TESMO_API char* TESMO_CALL getSF(int mode, const char* text);
TESMO_API int TESMO_CALL Rekkc(int type, int lower, int check, int pos, int len, const char* line,
                               const char* keyword);
TESMO_API int TESMO_CALL wordcheck(int mode, const char* line, int pos, int len);

#ifdef __cplusplus
}
#endif

#endif /* TESMO_H */
