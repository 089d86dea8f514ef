#pragma once

// Text functions on UTF-8 strings: the Win32 character and string calls the
// program uses, Unicode case mapping, and cutting text to a byte limit without
// splitting a character.
//
// Text is UTF-8 throughout. A "character" is a well-formed UTF-8 sequence; a
// byte that does not start or belong to one (a malformed byte) counts as a
// character of its own, is never case-mapped and compares as its byte value.

#include "platform/base/WinTypes.h"

#include <cstddef>
#include <string>
#include <string_view>

/* UTF-8 characters and byte limits. */

// The byte length of the character that starts at nPos: 1 to 4 for a
// well-formed sequence, 1 for a malformed byte. nPos must be below the size.
std::size_t Utf8CharLength(std::string_view strText, std::size_t nPos);

// TRUE when `text` is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsValidUtf8(std::string_view text);

// One character of UTF-8 text: its code point and byte length, or a malformed
// byte (bValid false, cp the byte's value, nLength 1).
struct Utf8Char {
    char32_t cp;
    std::size_t nLength;
    bool bValid;
};
// The character that starts at nPos, which must be below the size.
Utf8Char DecodeUtf8Char(std::string_view strText, std::size_t nPos);
// Writes the UTF-8 form of a scalar value into pOut (4 bytes) and returns its length.
std::size_t EncodeUtf8Char(char32_t cp, char* pOut);

// The length of the longest prefix of pszText that is at most nMaxBytes long
// and does not end inside a character. A null pszText counts as empty.
std::size_t Utf8PrefixLength(LPCSTR pszText, std::size_t nMaxBytes);

// How Utf8CopyToField ends the text in a fixed-size field.
enum class FieldEnd {
    NulTerminated, // The text takes at most cbField - 1 bytes and is always followed by a NUL.
    NulPadded,     // The text may fill the whole field; a NUL follows it only if there is room.
};

// Copies as much of pszText into the fixed field pField of cbField bytes as
// fits without splitting a character, and fills the rest of the field with
// NULs. Returns the number of text bytes copied. A null pszText counts as empty.
std::size_t Utf8CopyToField(char* pField, std::size_t cbField, LPCSTR pszText, FieldEnd eEnd);

/* UTF-16. */

// The UTF-8 form of UTF-16 text. A surrogate pair becomes the character it
// encodes; a surrogate without its partner (a high one not followed by a low
// one, or a low one on its own) becomes U+FFFD, so the result is always
// well-formed. NUL units are kept as NUL bytes: the text does not end there.
std::string Utf8FromUtf16(std::u16string_view strText);
// The UTF-16 form of UTF-8 text; a malformed byte becomes U+FFFD. NUL bytes
// are kept as NUL units.
std::u16string Utf16FromUtf8(std::string_view strText);

/* Code points: one element per character. */

// The characters of UTF-8 text; a byte that starts no valid character
// (a stray continuation, a truncated or overlong sequence, a surrogate)
// becomes U+FFFD and decoding goes on with the next byte.
std::u32string Utf32FromUtf8(std::string_view strText);
// The UTF-8 form of characters; a value that is no scalar value (a surrogate,
// or past U+10FFFF) becomes U+FFFD.
std::string Utf8FromUtf32(std::u32string_view strText);
// Appends the UTF-8 form of one character, as Utf8FromUtf32 writes it.
void AppendUtf8(std::string& strOut, char32_t ch);
// A character lower-cased as CharLower maps it.
char32_t CodePointToLower(char32_t ch);
// Whether a character is a letter or a digit in Unicode's tables.
bool IsCodePointAlphaNumeric(char32_t ch);

/* Unicode case of UTF-8 text. Each character is mapped on its own (no
   context, no expansion such as "ß" to "SS"); the result may differ in length. */

std::string Utf8ToLower(std::string_view strText);
std::string Utf8ToUpper(std::string_view strText);
// One character in the other case (a code point without one stays as it is).
char32_t CharToLowerW(char32_t cp);
char32_t CharToUpperW(char32_t cp);
// Whether a character is a letter or a digit, in all of Unicode.
bool IsCharAlphaNumericW(char32_t cp);

// Compares two texts with every character lower-cased, in code point order.
// Returns -1, 0 or 1.
int Utf8CompareNoCase(std::string_view strText1, std::string_view strText2);

/* Character case, as the Win32 calls. In-place conversion never grows the text:
   a character whose mapping takes more bytes is left as it is, and one whose
   mapping takes fewer bytes closes up. */

// Converts a NUL-terminated string in place and returns it. A value whose high
// bits are zero is not a pointer but a character code in the low word; it is
// returned converted, in the low word. Codes 0x80 to 0xFF, also when they come
// sign-extended from a negative char, are returned as they are, since with
// UTF-8 text they are bytes of a longer character.
LPSTR CharLowerA(LPSTR lpsz);
LPSTR CharUpperA(LPSTR lpsz);

// Converts cchLength bytes in place; bytes freed by characters that closed up
// become NULs at the end of the range. Returns cchLength.
DWORD CharLowerBuffA(LPSTR lpsz, DWORD cchLength);
DWORD CharUpperBuffA(LPSTR lpsz, DWORD cchLength);

// Classify a single-byte character. Bytes 0x80 to 0xFF are parts of longer
// characters and belong to no class.
BOOL IsCharAlphaA(CHAR ch);
BOOL IsCharAlphaNumericA(CHAR ch);
BOOL IsCharLowerA(CHAR ch);
BOOL IsCharUpperA(CHAR ch);

/* String calls. A null string pointer reads as an empty string; a call that
   would write through a null pointer does nothing and returns NULL. */

// Both return -1, 0 or 1: lstrcmpA in code point order, lstrcmpiA as
// Utf8CompareNoCase.
int lstrcmpA(LPCSTR lpString1, LPCSTR lpString2);
int lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2);
int lstrlenA(LPCSTR lpString);
LPSTR lstrcpyA(LPSTR lpString1, LPCSTR lpString2);
// Copies at most iMaxLength - 1 bytes, never part of a character, and a NUL.
// With iMaxLength below 1 nothing is written.
LPSTR lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength);
LPSTR lstrcatA(LPSTR lpString1, LPCSTR lpString2);

/* The names the program calls. */

// clang-format off
inline LPSTR CharLower(LPSTR lpsz) { return CharLowerA(lpsz); }
inline LPSTR CharUpper(LPSTR lpsz) { return CharUpperA(lpsz); }
inline DWORD CharLowerBuff(LPSTR lpsz, DWORD cchLength) { return CharLowerBuffA(lpsz, cchLength); }
inline DWORD CharUpperBuff(LPSTR lpsz, DWORD cchLength) { return CharUpperBuffA(lpsz, cchLength); }
inline BOOL IsCharAlpha(CHAR ch) { return IsCharAlphaA(ch); }
inline BOOL IsCharAlphaNumeric(CHAR ch) { return IsCharAlphaNumericA(ch); }
inline BOOL IsCharLower(CHAR ch) { return IsCharLowerA(ch); }
inline BOOL IsCharUpper(CHAR ch) { return IsCharUpperA(ch); }
inline int lstrcmp(LPCSTR lpString1, LPCSTR lpString2) { return lstrcmpA(lpString1, lpString2); }
inline int lstrcmpi(LPCSTR lpString1, LPCSTR lpString2) { return lstrcmpiA(lpString1, lpString2); }
inline int lstrlen(LPCSTR lpString) { return lstrlenA(lpString); }
inline LPSTR lstrcpy(LPSTR lpString1, LPCSTR lpString2) { return lstrcpyA(lpString1, lpString2); }
inline LPSTR lstrcpyn(LPSTR lpString1, LPCSTR lpString2, int iMaxLength) { return lstrcpynA(lpString1, lpString2, iMaxLength); }
inline LPSTR lstrcat(LPSTR lpString1, LPCSTR lpString2) { return lstrcatA(lpString1, lpString2); }
// clang-format on

/* Locale comparison: the order lists and users see ("word sort").
   Texts compare level by level, each level deciding only when all before it
   tie:
     1. the characters' base values: symbols and punctuation (space first,
        then by code point) before digits (by value, so "10" comes before "2")
        before letters; Latin letters by their base letter whatever their
        accents ("é" with "e", "ß" as "ss", "æ" as "ae"), other letters after
        them by code point. Hyphens and apostrophes are left out here, so
        "co-op" sorts with "coop".
     2. accents: the plain letter before the accented ones.
     3. case: lower case before upper case (skipped with NORM_IGNORECASE).
     4. the hyphens and apostrophes left out at level 1: without before with.
   Texts that differ in any byte never compare equal, except by case under
   NORM_IGNORECASE. */

// clang-format off
using LCID = DWORD;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
constexpr LCID LOCALE_USER_DEFAULT   = 0x0400;

constexpr DWORD NORM_IGNORECASE = 0x00000001; // the only flag; 0 is the word sort with case

constexpr int CSTR_LESS_THAN    = 1;
constexpr int CSTR_EQUAL        = 2;
constexpr int CSTR_GREATER_THAN = 3;
// clang-format on

// Compares cchCount1 bytes of lpString1 with cchCount2 bytes of lpString2 (a
// negative count: up to the NUL) in the word sort above; every locale sorts
// alike. Returns CSTR_LESS_THAN, CSTR_EQUAL or CSTR_GREATER_THAN, or 0 with
// ERROR_INVALID_PARAMETER for a null string and ERROR_INVALID_FLAGS for an
// unknown flag.
int CompareStringA(LCID Locale, DWORD dwCmpFlags, LPCSTR lpString1, int cchCount1, LPCSTR lpString2, int cchCount2);
inline int CompareString(
    LCID Locale, DWORD dwCmpFlags, LPCSTR lpString1, int cchCount1, LPCSTR lpString2, int cchCount2)
{
    return CompareStringA(Locale, dwCmpFlags, lpString1, cchCount1, lpString2, cchCount2);
}
