#include "platform/base/CString.h"

#include "platform/base/ResourceModule.h"
#include "platform/base/TextFunctions.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <utility>

namespace {

std::string_view ViewOf(LPCTSTR lpsz)
{
    return lpsz ? std::string_view(lpsz) : std::string_view();
}

int ClampIndex(int nIndex, std::size_t nLength)
{
    return std::clamp(nIndex, 0, static_cast<int>(nLength));
}

bool IsWhiteSpace(char ch)
{
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

// Whether the character at nPos of strText is one of the characters of strSet.
bool SetHoldsCharAt(std::string_view strSet, std::string_view strText, std::size_t nPos)
{
    std::string_view strChar = strText.substr(nPos, Utf8CharLength(strText, nPos));
    for (std::size_t nSetPos = 0; nSetPos < strSet.size();) {
        std::size_t nLength = Utf8CharLength(strSet, nSetPos);
        if (strSet.substr(nSetPos, nLength) == strChar)
            return true;
        nSetPos += nLength;
    }
    return false;
}

enum class Span { InSet, NotInSet };

// The byte length of the leading characters of strText that are all in strSet
// (Span::InSet) or all not in it (Span::NotInSet).
std::size_t SpanLength(std::string_view strText, std::string_view strSet, Span eSpan)
{
    std::size_t nPos = 0;
    while (nPos < strText.size() && SetHoldsCharAt(strSet, strText, nPos) == (eSpan == Span::InSet))
        nPos += Utf8CharLength(strText, nPos);
    return nPos;
}

// Where the trailing characters of strText that are in strSet begin.
std::size_t TrailingSetStart(std::string_view strText, std::string_view strSet)
{
    std::size_t nKeep = 0;
    for (std::size_t nPos = 0; nPos < strText.size();) {
        std::size_t nLength = Utf8CharLength(strText, nPos);
        if (!SetHoldsCharAt(strSet, strText, nPos))
            nKeep = nPos + nLength;
        nPos += nLength;
    }
    return nKeep;
}

} // namespace

/*********************************** Construction and assignment ***********************************/

CString::CString(LPCTSTR lpsz)
{
    // A string ID passed as a pointer (MAKEINTRESOURCE) loads that string.
    if (lpsz && IS_INTRESOURCE(lpsz))
        LoadString(LOWORD(reinterpret_cast<ULONG_PTR>(lpsz)));
    else
        m_str.assign(ViewOf(lpsz));
}

CString::CString(LPCTSTR lpch, int nLength)
{
    if (lpch && nLength > 0)
        m_str.assign(lpch, static_cast<std::size_t>(nLength));
}

CString::CString(TCHAR ch, int nRepeat)
{
    if (nRepeat > 0)
        m_str.assign(static_cast<std::size_t>(nRepeat), ch);
}

CString::CString(CString&& stringSrc) noexcept
    : m_str(std::exchange(stringSrc.m_str, std::string()))
{
}

CString& CString::operator=(CString&& stringSrc) noexcept
{
    if (this != &stringSrc)
        m_str = std::exchange(stringSrc.m_str, std::string());
    return *this;
}

CString& CString::operator=(LPCTSTR lpsz)
{
    // lpsz may point into this string, so assign through a view, which
    // std::string handles for overlapping sources.
    m_str.assign(ViewOf(lpsz));
    return *this;
}

CString& CString::operator=(TCHAR ch)
{
    m_str.assign(1, ch);
    return *this;
}

/*********************************** Length and characters ***********************************/

void CString::Empty()
{
    m_str.clear();
    m_str.shrink_to_fit();
}

TCHAR CString::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetLength())
        return '\0';
    return m_str[static_cast<std::size_t>(nIndex)];
}

void CString::SetAt(int nIndex, TCHAR ch)
{
    if (nIndex >= 0 && nIndex < GetLength())
        m_str[static_cast<std::size_t>(nIndex)] = ch;
}

/*********************************** Concatenation ***********************************/

CString& CString::operator+=(const CString& string)
{
    m_str += string.m_str;
    return *this;
}

CString& CString::operator+=(LPCTSTR lpsz)
{
    m_str.append(ViewOf(lpsz));
    return *this;
}

CString& CString::operator+=(TCHAR ch)
{
    m_str += ch;
    return *this;
}

CString operator+(const CString& string1, const CString& string2)
{
    CString strResult(string1);
    strResult += string2;
    return strResult;
}

CString operator+(const CString& string, LPCTSTR lpsz)
{
    CString strResult(string);
    strResult += lpsz;
    return strResult;
}

CString operator+(LPCTSTR lpsz, const CString& string)
{
    CString strResult(lpsz);
    strResult += string;
    return strResult;
}

CString operator+(const CString& string, TCHAR ch)
{
    CString strResult(string);
    strResult += ch;
    return strResult;
}

CString operator+(TCHAR ch, const CString& string)
{
    CString strResult(ch);
    strResult += string;
    return strResult;
}

/*********************************** Comparison ***********************************/

int CString::Compare(LPCTSTR lpsz) const
{
    return lstrcmpA(*this, lpsz);
}

int CString::CompareNoCase(LPCTSTR lpsz) const
{
    return lstrcmpiA(*this, lpsz);
}

int CString::Collate(LPCTSTR lpsz) const
{
    return Compare(lpsz);
}

int CString::CollateNoCase(LPCTSTR lpsz) const
{
    return CompareNoCase(lpsz);
}

// clang-format off
bool operator==(const CString& s1, const CString& s2) { return s1.Compare(s2) == 0; }
bool operator==(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) == 0; }
bool operator==(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
bool operator!=(const CString& s1, const CString& s2) { return s1.Compare(s2) != 0; }
bool operator!=(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) != 0; }
bool operator!=(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) != 0; }
bool operator<(const CString& s1, const CString& s2) { return s1.Compare(s2) < 0; }
bool operator<(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) < 0; }
bool operator<(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) > 0; }
bool operator>(const CString& s1, const CString& s2) { return s1.Compare(s2) > 0; }
bool operator>(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) > 0; }
bool operator>(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) < 0; }
bool operator<=(const CString& s1, const CString& s2) { return s1.Compare(s2) <= 0; }
bool operator<=(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) <= 0; }
bool operator<=(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) >= 0; }
bool operator>=(const CString& s1, const CString& s2) { return s1.Compare(s2) >= 0; }
bool operator>=(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) >= 0; }
bool operator>=(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) <= 0; }
// clang-format on

/*********************************** Extraction ***********************************/

CString CString::Mid(int nFirst) const
{
    return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const
{
    nFirst = ClampIndex(nFirst, m_str.size());
    nCount = std::clamp(nCount, 0, GetLength() - nFirst);
    return CString(m_str.data() + nFirst, nCount);
}

CString CString::Left(int nCount) const
{
    return Mid(0, nCount);
}

CString CString::Right(int nCount) const
{
    nCount = ClampIndex(nCount, m_str.size());
    return Mid(GetLength() - nCount, nCount);
}

CString CString::SpanIncluding(LPCTSTR lpszCharSet) const
{
    return Left(static_cast<int>(SpanLength(m_str, ViewOf(lpszCharSet), Span::InSet)));
}

CString CString::SpanExcluding(LPCTSTR lpszCharSet) const
{
    return Left(static_cast<int>(SpanLength(m_str, ViewOf(lpszCharSet), Span::NotInSet)));
}

/*********************************** Changing the text ***********************************/

CString& CString::MakeUpper()
{
    m_str = Utf8ToUpper(m_str);
    return *this;
}

CString& CString::MakeLower()
{
    m_str = Utf8ToLower(m_str);
    return *this;
}

CString& CString::MakeReverse()
{
    std::string strReversed(m_str.size(), '\0');
    std::size_t nEnd = m_str.size();
    for (std::size_t nPos = 0; nPos < m_str.size();) {
        std::size_t nLength = Utf8CharLength(m_str, nPos);
        nEnd -= nLength;
        m_str.copy(strReversed.data() + nEnd, nLength, nPos);
        nPos += nLength;
    }
    m_str = std::move(strReversed);
    return *this;
}

int CString::Replace(TCHAR chOld, TCHAR chNew)
{
    int nCount = 0;
    for (char& ch : m_str) {
        if (ch == chOld) {
            ch = chNew;
            ++nCount;
        }
    }
    return nCount;
}

int CString::Replace(LPCTSTR lpszOld, LPCTSTR lpszNew)
{
    std::string_view strOld = ViewOf(lpszOld);
    if (strOld.empty())
        return 0;
    // lpszNew may point into this string; the result is built apart from it.
    std::string_view strNew = ViewOf(lpszNew);
    std::string strResult;
    int nCount = 0;
    std::size_t nPos = 0;
    for (std::size_t nFound; (nFound = m_str.find(strOld, nPos)) != std::string::npos; nPos = nFound + strOld.size()) {
        strResult.append(m_str, nPos, nFound - nPos);
        strResult.append(strNew);
        ++nCount;
    }
    if (nCount > 0) {
        strResult.append(m_str, nPos);
        m_str = std::move(strResult);
    }
    return nCount;
}

int CString::Remove(TCHAR chRemove)
{
    auto nRemoved = std::erase(m_str, chRemove);
    return static_cast<int>(nRemoved);
}

int CString::Insert(int nIndex, TCHAR ch)
{
    m_str.insert(static_cast<std::size_t>(ClampIndex(nIndex, m_str.size())), 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, LPCTSTR lpsz)
{
    // Copy first: lpsz may point into this string.
    std::string strInsert(ViewOf(lpsz));
    m_str.insert(static_cast<std::size_t>(ClampIndex(nIndex, m_str.size())), strInsert);
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    nIndex = std::max(nIndex, 0);
    if (nIndex < GetLength() && nCount > 0)
        m_str.erase(static_cast<std::size_t>(nIndex), static_cast<std::size_t>(nCount));
    return GetLength();
}

void CString::FormatV(LPCTSTR lpszFormat, va_list argList)
{
    if (!lpszFormat) {
        m_str.clear();
        return;
    }
    // The arguments may point into this string, so format into a new one.
    va_list argCopy;
    va_copy(argCopy, argList);
    int nLength = std::vsnprintf(nullptr, 0, lpszFormat, argCopy);
    va_end(argCopy);
    std::string strResult;
    if (nLength > 0) {
        strResult.resize(static_cast<std::size_t>(nLength));
        std::vsnprintf(strResult.data(), strResult.size() + 1, lpszFormat, argList);
    }
    m_str = std::move(strResult);
}

void CString::FormatArgs(LPCTSTR lpszFormat, ...)
{
    va_list argList;
    va_start(argList, lpszFormat);
    FormatV(lpszFormat, argList);
    va_end(argList);
}

CString& CString::TrimLeft()
{
    auto it = std::find_if_not(m_str.begin(), m_str.end(), IsWhiteSpace);
    m_str.erase(m_str.begin(), it);
    return *this;
}

CString& CString::TrimLeft(TCHAR chTarget)
{
    m_str.erase(0, m_str.find_first_not_of(chTarget));
    return *this;
}

CString& CString::TrimLeft(LPCTSTR lpszTargets)
{
    m_str.erase(0, SpanLength(m_str, ViewOf(lpszTargets), Span::InSet));
    return *this;
}

CString& CString::TrimRight()
{
    auto it = std::find_if_not(m_str.rbegin(), m_str.rend(), IsWhiteSpace);
    m_str.erase(it.base(), m_str.end());
    return *this;
}

CString& CString::TrimRight(TCHAR chTarget)
{
    std::size_t nLast = m_str.find_last_not_of(chTarget);
    m_str.erase(nLast == std::string::npos ? 0 : nLast + 1);
    return *this;
}

CString& CString::TrimRight(LPCTSTR lpszTargets)
{
    m_str.erase(TrailingSetStart(m_str, ViewOf(lpszTargets)));
    return *this;
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::Trim(TCHAR chTarget)
{
    return TrimRight(chTarget).TrimLeft(chTarget);
}

CString& CString::Trim(LPCTSTR lpszTargets)
{
    return TrimRight(lpszTargets).TrimLeft(lpszTargets);
}

/*********************************** Searching ***********************************/

int CString::Find(TCHAR ch, int nStart) const
{
    if (nStart < 0 || nStart >= GetLength())
        return -1;
    std::size_t nFound = m_str.find(ch, static_cast<std::size_t>(nStart));
    return nFound == std::string::npos ? -1 : static_cast<int>(nFound);
}

int CString::Find(LPCTSTR lpszSub, int nStart) const
{
    if (!lpszSub || nStart < 0 || nStart > GetLength())
        return -1;
    std::size_t nFound = m_str.find(lpszSub, static_cast<std::size_t>(nStart));
    return nFound == std::string::npos ? -1 : static_cast<int>(nFound);
}

int CString::ReverseFind(TCHAR ch) const
{
    std::size_t nFound = m_str.rfind(ch);
    return nFound == std::string::npos ? -1 : static_cast<int>(nFound);
}

int CString::FindOneOf(LPCTSTR lpszCharSet) const
{
    std::size_t nPos = SpanLength(m_str, ViewOf(lpszCharSet), Span::NotInSet);
    return nPos < m_str.size() ? static_cast<int>(nPos) : -1;
}

/*********************************** Buffer access ***********************************/

LPTSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength > GetLength())
        m_str.resize(static_cast<std::size_t>(nMinBufLength));
    return m_str.data();
}

LPTSTR CString::GetBufferSetLength(int nNewLength)
{
    m_str.resize(static_cast<std::size_t>(std::max(nNewLength, 0)));
    return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        m_str.resize(strnlen(m_str.data(), m_str.size()));
    else if (nNewLength < GetLength())
        m_str.resize(static_cast<std::size_t>(nNewLength));
}

LPTSTR CString::LockBuffer()
{
    return m_str.data();
}
