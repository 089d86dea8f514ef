#pragma once

// CString: the class library's string, holding UTF-8 text.
//
// Lengths, indexes and counts are in bytes (TCHAR is char), as with a
// multi-byte build. Arguments out of range are clamped the way the class
// library clamps them, and never fault: reading past the end gives '\0',
// writing past the end does nothing. The text may hold NUL bytes; the LPCTSTR
// view then ends at the first one, and so do comparisons.
//
// Case mapping and case-insensitive comparison work on characters (Unicode
// simple case mapping); the character-set arguments of SpanIncluding,
// SpanExcluding, FindOneOf and Trim match whole characters. Everything else,
// including single TCHAR arguments, works on bytes.

#include "platform/base/WinTypes.h"

#include <cstdarg>
#include <string>
#include <type_traits>

class CString {
public:
    /* Construction and assignment. */

    CString() = default;
    // A null lpsz gives an empty string. A string ID in the low word of lpsz
    // (MAKEINTRESOURCE) loads that string, as LoadString does.
    CString(LPCTSTR lpsz);
    // The first nLength bytes of lpch, NULs included; a negative length counts as 0.
    CString(LPCTSTR lpch, int nLength);
    // nRepeat copies of ch; a negative count counts as 0.
    CString(TCHAR ch, int nRepeat = 1);
    CString(const CString& stringSrc) = default;
    CString(CString&& stringSrc) noexcept;
    ~CString() = default;

    CString& operator=(const CString& stringSrc) = default;
    CString& operator=(CString&& stringSrc) noexcept;
    CString& operator=(LPCTSTR lpsz);
    CString& operator=(TCHAR ch);

    /* Length and characters. */

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty() ? TRUE : FALSE; }
    // Makes the string empty and frees its memory.
    void Empty();
    // The byte at nIndex; '\0' when nIndex is outside the string.
    TCHAR GetAt(int nIndex) const;
    TCHAR operator[](int nIndex) const { return GetAt(nIndex); }
    // Replaces the byte at nIndex; does nothing when nIndex is outside the string.
    void SetAt(int nIndex, TCHAR ch);
    // The text, NUL-terminated; valid until the string next changes.
    operator LPCTSTR() const { return m_str.c_str(); }

    /* Concatenation. */

    CString& operator+=(const CString& string);
    CString& operator+=(LPCTSTR lpsz);
    CString& operator+=(TCHAR ch);
    friend CString operator+(const CString& string1, const CString& string2);
    friend CString operator+(const CString& string, LPCTSTR lpsz);
    friend CString operator+(LPCTSTR lpsz, const CString& string);
    friend CString operator+(const CString& string, TCHAR ch);
    friend CString operator+(TCHAR ch, const CString& string);

    /* Comparison. Compare and Collate order by code point (byte order of the
       UTF-8 text); the NoCase forms lower-case every character first. All
       return -1, 0 or 1; a null lpsz compares as an empty string. */

    int Compare(LPCTSTR lpsz) const;
    int CompareNoCase(LPCTSTR lpsz) const;
    int Collate(LPCTSTR lpsz) const;
    int CollateNoCase(LPCTSTR lpsz) const;

    /* Extraction. Counts are clamped to the string: a negative count gives an
       empty result, a count past the end takes the rest. */

    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    // The leading characters that all are (or all are not) in lpszCharSet.
    CString SpanIncluding(LPCTSTR lpszCharSet) const;
    CString SpanExcluding(LPCTSTR lpszCharSet) const;

    /* Changing the text in place. */

    CString& MakeUpper();
    CString& MakeLower();
    // Reverses the order of the characters; a multi-byte character stays intact.
    CString& MakeReverse();
    // Replace and Remove return the number of replaced or removed occurrences.
    // Replacing an empty or null lpszOld does nothing; a null lpszNew removes.
    int Replace(TCHAR chOld, TCHAR chNew);
    int Replace(LPCTSTR lpszOld, LPCTSTR lpszNew);
    int Remove(TCHAR chRemove);
    // Insert and Delete return the new length. An index before the start counts
    // as 0 and one past the end as the end.
    int Insert(int nIndex, TCHAR ch);
    int Insert(int nIndex, LPCTSTR lpsz);
    int Delete(int nIndex, int nCount = 1);

    // Replaces the text with lpszFormat formatted as printf does. CString
    // arguments may be passed directly; they are formatted as their text.
    template<typename... Args> void Format(LPCTSTR lpszFormat, const Args&... args)
    {
        FormatArgs(lpszFormat, FormatArg(args)...);
    }
    // The same, with the format read from the string table (empty if missing).
    template<typename... Args> void Format(UINT nFormatID, const Args&... args)
    {
        CString strFormat;
        strFormat.LoadString(nFormatID);
        FormatArgs(strFormat, FormatArg(args)...);
    }
    void FormatV(LPCTSTR lpszFormat, va_list argList);

    // Trimming without an argument removes white space (space, \t, \n, \v, \f,
    // \r); with a TCHAR, that byte; with a string, any of its characters.
    CString& TrimLeft();
    CString& TrimLeft(TCHAR chTarget);
    CString& TrimLeft(LPCTSTR lpszTargets);
    CString& TrimRight();
    CString& TrimRight(TCHAR chTarget);
    CString& TrimRight(LPCTSTR lpszTargets);
    CString& Trim();
    CString& Trim(TCHAR chTarget);
    CString& Trim(LPCTSTR lpszTargets);

    /* Searching. Each returns a byte index, or -1 when there is no match. A
       start outside the string finds nothing, except that a string search may
       start at the end. */

    int Find(TCHAR ch, int nStart = 0) const;
    int Find(LPCTSTR lpszSub, int nStart = 0) const;
    int ReverseFind(TCHAR ch) const;
    int FindOneOf(LPCTSTR lpszCharSet) const;

    /* Direct access to the buffer. GetBuffer returns room for at least
       nMinBufLength bytes plus a NUL, keeping the text; GetBufferSetLength makes
       the length exactly nNewLength. After writing, ReleaseBuffer sets the
       length to nNewLength, or with -1 to the first NUL. Call no other member
       between the two. */

    LPTSTR GetBuffer(int nMinBufLength);
    LPTSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);
    // The text is never shared between strings, so locking only hands out the buffer.
    LPTSTR LockBuffer();
    void UnlockBuffer() { }

    /* Resources. */

    // Replaces the text with string nID of the current resource module.
    // Returns FALSE (and leaves the string empty) if there is no such string.
    BOOL LoadString(UINT nID);

private:
    // A CString (or a class derived from it) goes to printf as its text,
    // everything else as it is.
    template<typename T> static decltype(auto) FormatArg(const T& arg)
    {
        if constexpr (std::is_base_of_v<CString, T>)
            return static_cast<LPCTSTR>(arg);
        else
            return (arg);
    }
    void FormatArgs(LPCTSTR lpszFormat, ...);

    std::string m_str;
};

/* Comparison operators, in byte order. */

bool operator==(const CString& s1, const CString& s2);
bool operator==(const CString& s1, LPCTSTR s2);
bool operator==(LPCTSTR s1, const CString& s2);
bool operator!=(const CString& s1, const CString& s2);
bool operator!=(const CString& s1, LPCTSTR s2);
bool operator!=(LPCTSTR s1, const CString& s2);
bool operator<(const CString& s1, const CString& s2);
bool operator<(const CString& s1, LPCTSTR s2);
bool operator<(LPCTSTR s1, const CString& s2);
bool operator>(const CString& s1, const CString& s2);
bool operator>(const CString& s1, LPCTSTR s2);
bool operator>(LPCTSTR s1, const CString& s2);
bool operator<=(const CString& s1, const CString& s2);
bool operator<=(const CString& s1, LPCTSTR s2);
bool operator<=(LPCTSTR s1, const CString& s2);
bool operator>=(const CString& s1, const CString& s2);
bool operator>=(const CString& s1, LPCTSTR s2);
bool operator>=(LPCTSTR s1, const CString& s2);
