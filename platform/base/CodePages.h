#pragma once

// Conversions between the program's multi-byte text and UTF-16, as the Win32
// calls make them. The ANSI and OEM code pages are UTF-8, the program's
// text; Windows-1252 is read and written too, for files made on Windows.
//
// Counts: a source count of -1 means "up to and including the NUL", so the
// result includes one too; a destination size of 0 asks for the size needed.
// Malformed input becomes U+FFFD (or "?" in Windows-1252), never an error.

#include "platform/base/WinTypes.h"

#include <string>
#include <string_view>

// clang-format off
constexpr UINT CP_ACP    = 0;     // the ANSI code page: UTF-8 here
constexpr UINT CP_OEMCP  = 1;     // the OEM code page: UTF-8 here
constexpr UINT CP_1252   = 1252;  // Windows Western European
constexpr UINT CP_UTF8   = 65001;

constexpr DWORD MB_PRECOMPOSED = 0x00000001; // accepted; text is taken as it is
// clang-format on

// The number of UTF-16 units written (or needed when cchWideChar is 0); 0 with
// the last error set: ERROR_INVALID_PARAMETER (null source, unknown code page,
// a negative count other than -1), ERROR_INSUFFICIENT_BUFFER.
int MultiByteToWideChar(
    UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr, int cchWideChar);

// The number of bytes written (or needed when cbMultiByte is 0); errors as
// above. In Windows-1252 a character it lacks becomes lpDefaultChar's first
// byte (else "?") and sets *lpUsedDefaultChar; for UTF-8 both must be null.
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
    int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar);

// Windows-1252 text in UTF-8; the five unassigned bytes become U+FFFD.
std::string Utf8FromWindows1252(std::string_view strText);
// Text in the character set a document names ("ISO-8859-2", "Shift_JIS",
// "KOI8-R", any case) in UTF-8: false when the set is unknown. A byte sequence
// the set does not define becomes U+FFFD; a sequence cut off at the end is dropped.
bool Utf8FromCharset(std::string_view strText, const std::string& strCharset, std::string& strOut);
