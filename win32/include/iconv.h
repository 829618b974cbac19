#pragma once

// The POSIX character set conversion for Windows, over the system's code pages. Names are taken
// without regard to letter case, "-" or "_", as the GNU C library's iconv knows them: "CP932",
// "SHIFT_JIS", "SJIS", "WINDOWS-31J" and "MS_KANJI" are code page 932; "UTF-8"; "EUC-JP" is code
// page 20932 (no JIS X 0212: its three-byte characters are EILSEQ); "GB2312" and "GBK" are 936,
// "BIG5" 950, "EUC-KR" and "UHC" 949; "ASCII", the ISO-8859 parts that Windows has, "KOI8-R" and
// the like; and "CPnnn" or "WINDOWS-nnn" for any other single- or double-byte code page of the
// system. "UTF-16LE", "UTF-16BE", "GB18030" and "ISO-2022-JP" are read by this library itself (the
// system lacks them on some hosts) and can only be converted from. Suffixes such as "//TRANSLIT"
// are refused. A character the target cannot hold is EILSEQ, never a look-alike.

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void* iconv_t;

// A converter from fromcode to tocode, or (iconv_t)-1 with errno EINVAL for a name not known.
iconv_t iconv_open(const char* tocode, const char* fromcode);

// Converts whole characters from *inbuf to *outbuf, moving both and counting both sizes down.
// Answers 0, or (size_t)-1 with errno EILSEQ (an invalid or unconvertible character at *inbuf),
// EINVAL (the input ends inside a character or an escape sequence) or E2BIG (no room for the next
// character). A null inbuf or *inbuf resets the shift state (ISO-2022-JP's, back to ASCII) and
// answers 0.
size_t iconv(iconv_t cd, char** inbuf, size_t* inbytesleft, char** outbuf, size_t* outbytesleft);

// Frees the converter: 0, or -1 with errno EBADF.
int iconv_close(iconv_t cd);

#ifdef __cplusplus
}
#endif
