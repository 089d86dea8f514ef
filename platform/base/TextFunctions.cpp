#include "platform/base/TextFunctions.h"

#include "platform/base/WinError.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <vector>

#include <locale.h>
#include <wctype.h>

namespace {

/*********************************** UTF-8 coding ***********************************/

bool IsContinuationByte(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// One character read from UTF-8 text: a code point with its byte length, or a
// malformed byte (bValid false, nLength 1).
struct DecodedChar {
    char32_t cp;
    std::size_t nLength;
    bool bValid;
};

// Decodes the character at nPos. Only shortest-form sequences of scalar values
// are well-formed: overlong forms, surrogates and values past U+10FFFF are not.
DecodedChar DecodeUtf8(std::string_view strText, std::size_t nPos)
{
    auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(strText[i]); };
    unsigned char b0 = byteAt(nPos);
    if (b0 < 0x80)
        return { b0, 1, true };

    std::size_t nLength;
    char32_t cp;
    unsigned char lo = 0x80, hi = 0xBF; // Allowed range of the second byte.
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        nLength = 2;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        nLength = 3;
        cp = b0 & 0x0F;
        if (b0 == 0xE0)
            lo = 0xA0;
        else if (b0 == 0xED)
            hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        nLength = 4;
        cp = b0 & 0x07;
        if (b0 == 0xF0)
            lo = 0x90;
        else if (b0 == 0xF4)
            hi = 0x8F;
    } else {
        return { b0, 1, false };
    }

    if (strText.size() - nPos < nLength)
        return { b0, 1, false };
    unsigned char b1 = byteAt(nPos + 1);
    if (b1 < lo || b1 > hi)
        return { b0, 1, false };
    cp = (cp << 6) | (b1 & 0x3F);
    for (std::size_t i = 2; i < nLength; ++i) {
        unsigned char b = byteAt(nPos + i);
        if (!IsContinuationByte(b))
            return { b0, 1, false };
        cp = (cp << 6) | (b & 0x3F);
    }
    return { cp, nLength, true };
}

// Writes the UTF-8 form of a scalar value into pOut and returns its length.
std::size_t EncodeUtf8(char32_t cp, char* pOut)
{
    if (cp < 0x80) {
        pOut[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        pOut[0] = static_cast<char>(0xC0 | (cp >> 6));
        pOut[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        pOut[0] = static_cast<char>(0xE0 | (cp >> 12));
        pOut[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        pOut[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    pOut[0] = static_cast<char>(0xF0 | (cp >> 18));
    pOut[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    pOut[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    pOut[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

/*********************************** Case mapping ***********************************/

enum class CaseMap { Lower, Upper };

// The C library's UTF-8 character tables, independent of the process locale.
// Null if the system has no UTF-8 locale; mapping then covers ASCII only.
locale_t Utf8Locale()
{
    static const locale_t s_locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return s_locale;
}

// An ASCII character in the other case; other bytes stay as they are.
char AsciiMapCase(char ch, CaseMap eMap)
{
    if (eMap == CaseMap::Lower)
        return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch + ('a' - 'A')) : ch;
    return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - ('a' - 'A')) : ch;
}

char32_t MapCase(char32_t cp, CaseMap eMap)
{
    if (cp < 0x80)
        return static_cast<unsigned char>(AsciiMapCase(static_cast<char>(cp), eMap));
    locale_t locale = Utf8Locale();
    if (!locale)
        return cp;
    wint_t mapped = eMap == CaseMap::Lower ? towlower_l(static_cast<wint_t>(cp), locale)
                                           : towupper_l(static_cast<wint_t>(cp), locale);
    return static_cast<char32_t>(mapped);
}

std::string MapCaseCopy(std::string_view strText, CaseMap eMap)
{
    std::string strResult;
    strResult.reserve(strText.size());
    for (std::size_t nPos = 0; nPos < strText.size();) {
        // ASCII, the common case, maps without decoding, a run at a time.
        if (static_cast<unsigned char>(strText[nPos]) < 0x80) {
            std::size_t nEnd = nPos + 1;
            while (nEnd < strText.size() && static_cast<unsigned char>(strText[nEnd]) < 0x80)
                ++nEnd;
            std::size_t nOut = strResult.size();
            strResult.append(strText.substr(nPos, nEnd - nPos));
            for (std::size_t n = nOut; n < strResult.size(); ++n)
                strResult[n] = AsciiMapCase(strResult[n], eMap);
            nPos = nEnd;
            continue;
        }
        DecodedChar ch = DecodeUtf8(strText, nPos);
        if (ch.bValid) {
            char encoded[4];
            strResult.append(encoded, EncodeUtf8(MapCase(ch.cp, eMap), encoded));
        } else {
            strResult += strText[nPos];
        }
        nPos += ch.nLength;
    }
    return strResult;
}

// Maps the cbText bytes at pText in place, keeping only mappings that take no
// more bytes than the original, and returns the new byte length.
std::size_t MapCaseInPlace(char* pText, std::size_t cbText, CaseMap eMap)
{
    std::string_view strText(pText, cbText);
    std::size_t nWrite = 0;
    for (std::size_t nRead = 0; nRead < cbText;) {
        if (static_cast<unsigned char>(pText[nRead]) < 0x80) {
            // ASCII, the common case, maps without decoding.
            pText[nWrite++] = AsciiMapCase(pText[nRead++], eMap);
            continue;
        }
        DecodedChar ch = DecodeUtf8(strText, nRead);
        char encoded[4];
        std::size_t nEncoded = ch.bValid ? EncodeUtf8(MapCase(ch.cp, eMap), encoded) : 0;
        if (ch.bValid && nEncoded <= ch.nLength) {
            std::memcpy(pText + nWrite, encoded, nEncoded);
            nWrite += nEncoded;
        } else {
            std::memmove(pText + nWrite, pText + nRead, ch.nLength);
            nWrite += ch.nLength;
        }
        nRead += ch.nLength;
    }
    return nWrite;
}

// Reads a text as the byte stream of its lower-cased form, so that two texts
// compare without building their lower-cased copies.
class CLowerCaseReader {
public:
    explicit CLowerCaseReader(std::string_view strText)
        : m_strText(strText)
    {
    }

    // The next byte (0 to 255), or -1 at the end.
    int Next()
    {
        if (m_iPending < m_nPending)
            return static_cast<unsigned char>(m_pending[m_iPending++]);
        if (m_nPos >= m_strText.size())
            return -1;
        DecodedChar ch = DecodeUtf8(m_strText, m_nPos);
        m_nPos += ch.nLength;
        if (!ch.bValid)
            return static_cast<int>(ch.cp);
        m_nPending = EncodeUtf8(MapCase(ch.cp, CaseMap::Lower), m_pending);
        m_iPending = 1;
        return static_cast<unsigned char>(m_pending[0]);
    }

private:
    std::string_view m_strText;
    std::size_t m_nPos { 0 };
    char m_pending[4] {};
    std::size_t m_nPending { 0 };
    std::size_t m_iPending { 0 };
};

std::string_view ViewOf(LPCSTR psz)
{
    return psz ? std::string_view(psz) : std::string_view();
}

LPSTR MapCaseString(LPSTR lpsz, CaseMap eMap)
{
    auto nValue = reinterpret_cast<UINT_PTR>(lpsz);
    // A negative char cast to a pointer arrives sign-extended; it is a byte of
    // a longer character and stays as it is.
    if (static_cast<INT_PTR>(nValue) < 0 && static_cast<INT_PTR>(nValue) >= -128)
        return lpsz;
    if ((nValue >> 16) == 0) {
        char32_t cp = static_cast<char32_t>(nValue);
        if (cp >= 0x80 && cp <= 0xFF)
            return lpsz;
        char32_t mapped = MapCase(cp, eMap);
        // The call's contract returns the character in place of the pointer.
        return mapped > 0xFFFF
            ? lpsz
            : reinterpret_cast<LPSTR>(static_cast<UINT_PTR>(mapped)); // NOLINT(performance-no-int-to-ptr)
    }
    std::size_t cbText = std::strlen(lpsz);
    lpsz[MapCaseInPlace(lpsz, cbText, eMap)] = '\0';
    return lpsz;
}

DWORD MapCaseBuffer(LPSTR lpsz, DWORD cchLength, CaseMap eMap)
{
    if (!lpsz)
        return 0;
    std::size_t nNewLength = MapCaseInPlace(lpsz, cchLength, eMap);
    std::memset(lpsz + nNewLength, 0, cchLength - nNewLength);
    return cchLength;
}

} // namespace

/*********************************** UTF-8 characters and byte limits ***********************************/

std::size_t Utf8CharLength(std::string_view strText, std::size_t nPos)
{
    return DecodeUtf8(strText, nPos).nLength;
}

Utf8Char DecodeUtf8Char(std::string_view strText, std::size_t nPos)
{
    DecodedChar ch = DecodeUtf8(strText, nPos);
    return { ch.cp, ch.nLength, ch.bValid };
}

std::size_t EncodeUtf8Char(char32_t cp, char* pOut)
{
    return EncodeUtf8(cp, pOut);
}

bool IsValidUtf8(std::string_view text)
{
    // A malformed byte decodes as a one-byte character that is not ASCII.
    for (size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t nLength = Utf8CharLength(text, i);
        if (nLength == 1)
            return false;
        i += nLength;
    }
    return true;
}

std::size_t Utf8PrefixLength(LPCSTR pszText, std::size_t nMaxBytes)
{
    if (!pszText)
        return 0;
    // A character that crosses the limit ends at most 3 bytes past it.
    std::string_view strText(pszText, strnlen(pszText, nMaxBytes + 4));
    if (strText.size() <= nMaxBytes)
        return strText.size();
    // Look back for the lead byte of a sequence that runs past the limit.
    for (std::size_t nBack = 1; nBack <= 3 && nBack <= nMaxBytes; ++nBack) {
        std::size_t nPos = nMaxBytes - nBack;
        auto b = static_cast<unsigned char>(strText[nPos]);
        if (!IsContinuationByte(b))
            return Utf8CharLength(strText, nPos) > nBack ? nPos : nMaxBytes;
    }
    return nMaxBytes;
}

std::size_t Utf8CopyToField(char* pField, std::size_t cbField, LPCSTR pszText, FieldEnd eEnd)
{
    if (!pField || cbField == 0)
        return 0;
    std::size_t cbRoom = eEnd == FieldEnd::NulTerminated ? cbField - 1 : cbField;
    std::size_t cbCopy = Utf8PrefixLength(pszText, cbRoom);
    if (cbCopy > 0)
        std::memcpy(pField, pszText, cbCopy);
    std::memset(pField + cbCopy, 0, cbField - cbCopy);
    return cbCopy;
}

/*********************************** UTF-16 ***********************************/

std::string Utf8FromUtf16(std::u16string_view strText)
{
    auto isHigh = [](char32_t u) { return u >= 0xD800 && u < 0xDC00; };
    auto isLow = [](char32_t u) { return u >= 0xDC00 && u < 0xE000; };
    std::string strResult;
    strResult.reserve(strText.size());
    char encoded[4];
    for (std::size_t i = 0; i < strText.size(); ++i) {
        char32_t cp = strText[i];
        if (isHigh(cp) && i + 1 < strText.size() && isLow(strText[i + 1]))
            cp = 0x10000 + ((cp - 0xD800) << 10) + (strText[++i] - 0xDC00);
        else if (isHigh(cp) || isLow(cp))
            cp = 0xFFFD;
        strResult.append(encoded, EncodeUtf8(cp, encoded));
    }
    return strResult;
}

std::u16string Utf16FromUtf8(std::string_view strText)
{
    std::u16string strResult;
    strResult.reserve(strText.size());
    for (std::size_t nPos = 0; nPos < strText.size();) {
        DecodedChar ch = DecodeUtf8(strText, nPos);
        nPos += ch.nLength;
        char32_t cp = ch.bValid ? ch.cp : 0xFFFD;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            strResult += static_cast<char16_t>(0xD800 + (cp >> 10));
            strResult += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            strResult += static_cast<char16_t>(cp);
        }
    }
    return strResult;
}

/*********************************** Unicode case ***********************************/

std::string Utf8ToLower(std::string_view strText)
{
    return MapCaseCopy(strText, CaseMap::Lower);
}

std::string Utf8ToUpper(std::string_view strText)
{
    return MapCaseCopy(strText, CaseMap::Upper);
}

char32_t CharToLowerW(char32_t cp)
{
    return MapCase(cp, CaseMap::Lower);
}

char32_t CharToUpperW(char32_t cp)
{
    return MapCase(cp, CaseMap::Upper);
}

bool IsCharAlphaNumericW(char32_t cp)
{
    if (cp < 0x80)
        return (cp >= '0' && cp <= '9') || (cp >= 'a' && cp <= 'z') || (cp >= 'A' && cp <= 'Z');
    locale_t locale = Utf8Locale();
    return locale != nullptr && iswalnum_l(static_cast<wint_t>(cp), locale) != 0;
}

int Utf8CompareNoCase(std::string_view strText1, std::string_view strText2)
{
    CLowerCaseReader reader1(strText1);
    CLowerCaseReader reader2(strText2);
    for (;;) {
        int b1 = reader1.Next();
        int b2 = reader2.Next();
        if (b1 != b2)
            return b1 < b2 ? -1 : 1;
        if (b1 < 0)
            return 0;
    }
}

/*********************************** UTF-32 ***********************************/

std::u32string Utf32FromUtf8(std::string_view strText)
{
    std::u32string strResult;
    strResult.reserve(strText.size());
    for (std::size_t nPos = 0; nPos < strText.size();) {
        const auto b = static_cast<unsigned char>(strText[nPos]);
        if (b < 0x80) {
            strResult += b;
            ++nPos;
            continue;
        }
        DecodedChar ch = DecodeUtf8(strText, nPos);
        strResult += ch.bValid ? ch.cp : U'\uFFFD';
        nPos += ch.nLength;
    }
    return strResult;
}

void AppendUtf8(std::string& strOut, char32_t ch)
{
    if (ch < 0x80) {
        strOut += static_cast<char>(ch);
        return;
    }
    if (ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF))
        ch = 0xFFFD;
    char encoded[4];
    strOut.append(encoded, EncodeUtf8(ch, encoded));
}

std::string Utf8FromUtf32(std::u32string_view strText)
{
    std::string strResult;
    strResult.reserve(strText.size());
    for (char32_t ch : strText)
        AppendUtf8(strResult, ch);
    return strResult;
}

char32_t CodePointToLower(char32_t ch)
{
    return MapCase(ch, CaseMap::Lower);
}

bool IsCodePointAlphaNumeric(char32_t ch)
{
    if (ch < 0x80)
        return (ch >= '0' && ch <= '9') || ((ch | 0x20) >= 'a' && (ch | 0x20) <= 'z');
    locale_t locale = Utf8Locale();
    return locale && iswalnum_l(static_cast<wint_t>(ch), locale);
}

/*********************************** Character case ***********************************/

LPSTR CharLowerA(LPSTR lpsz)
{
    return MapCaseString(lpsz, CaseMap::Lower);
}

LPSTR CharUpperA(LPSTR lpsz)
{
    return MapCaseString(lpsz, CaseMap::Upper);
}

DWORD CharLowerBuffA(LPSTR lpsz, DWORD cchLength)
{
    return MapCaseBuffer(lpsz, cchLength, CaseMap::Lower);
}

DWORD CharUpperBuffA(LPSTR lpsz, DWORD cchLength)
{
    return MapCaseBuffer(lpsz, cchLength, CaseMap::Upper);
}

BOOL IsCharAlphaA(CHAR ch)
{
    return IsCharLowerA(ch) || IsCharUpperA(ch) ? TRUE : FALSE;
}

BOOL IsCharAlphaNumericA(CHAR ch)
{
    return IsCharAlphaA(ch) || (ch >= '0' && ch <= '9') ? TRUE : FALSE;
}

BOOL IsCharLowerA(CHAR ch)
{
    return ch >= 'a' && ch <= 'z' ? TRUE : FALSE;
}

BOOL IsCharUpperA(CHAR ch)
{
    return ch >= 'A' && ch <= 'Z' ? TRUE : FALSE;
}

/*********************************** String calls ***********************************/

int lstrcmpA(LPCSTR lpString1, LPCSTR lpString2)
{
    int nResult = ViewOf(lpString1).compare(ViewOf(lpString2));
    return nResult < 0 ? -1 : (nResult > 0 ? 1 : 0);
}

int lstrcmpiA(LPCSTR lpString1, LPCSTR lpString2)
{
    return Utf8CompareNoCase(ViewOf(lpString1), ViewOf(lpString2));
}

int lstrlenA(LPCSTR lpString)
{
    return static_cast<int>(ViewOf(lpString).size());
}

LPSTR lstrcpyA(LPSTR lpString1, LPCSTR lpString2)
{
    if (!lpString1)
        return nullptr;
    std::string_view strSource = ViewOf(lpString2);
    if (!strSource.empty())
        std::memmove(lpString1, strSource.data(), strSource.size());
    lpString1[strSource.size()] = '\0';
    return lpString1;
}

LPSTR lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength)
{
    if (!lpString1)
        return nullptr;
    if (iMaxLength < 1)
        return lpString1;
    std::size_t cbCopy = Utf8PrefixLength(lpString2, static_cast<std::size_t>(iMaxLength) - 1);
    if (cbCopy > 0)
        std::memmove(lpString1, lpString2, cbCopy);
    lpString1[cbCopy] = '\0';
    return lpString1;
}

LPSTR lstrcatA(LPSTR lpString1, LPCSTR lpString2)
{
    if (!lpString1)
        return nullptr;
    lstrcpyA(lpString1 + std::strlen(lpString1), lpString2);
    return lpString1;
}

/*********************************** Word sort ***********************************/

namespace {

// The base letters of the lower-case Latin letters U+00E0 to U+00FF and
// U+0100 to U+017F; '#' marks letters that stand for two (see Expansion), '/'
// the one symbol of the range (U+00F7, the division sign).
// clang-format off
constexpr std::string_view LATIN1_BASES = "aaaaaa#ceeeeiiiidnooooo/ouuuuy#y";
constexpr std::string_view LATIN_A_BASES = "aaaaaacccccccc" "dddd" "eeeeeeeeee" "gggggggg" "hhhh" "iiiiiiiiii" "##"
                                           "jj" "kkk" "llllllllll" "nnnnnnnnn" "oooooo" "##" "rrrrrr" "ssssssss"
                                           "tttttt" "uuuuuuuuuuuu" "ww" "yyy" "zzzzzz" "s";
// clang-format on
static_assert(LATIN1_BASES.size() == 0x20 && LATIN_A_BASES.size() == 0x80);

// The two base letters of a letter that sorts as two; empty for others.
std::string_view Expansion(char32_t cp)
{
    // clang-format off
    switch (cp) {
    case 0xDF: return "ss";  // sharp s
    case 0xE6: return "ae";  // ash
    case 0xFE: return "th";  // thorn
    case 0x133: return "ij"; // ligature ij
    case 0x153: return "oe"; // ligature oe
    default: return {};
    }
    // clang-format on
}

// The base letter of a lower-case Latin letter, or 0 for any other character.
char LatinBase(char32_t cp)
{
    if (cp >= 'a' && cp <= 'z')
        return static_cast<char>(cp);
    if (cp >= 0xE0 && cp <= 0xFF)
        return LATIN1_BASES[cp - 0xE0];
    if (cp >= 0x100 && cp <= 0x17F)
        return LATIN_A_BASES[cp - 0x100];
    return 0;
}

// The groups of level 1, in their order.
enum class SortGroup : std::uint8_t { Symbol, Digit, LatinLetter, OtherLetter };

// One element of level 1 with what levels 2 and 3 know of it.
struct SortElement {
    SortGroup eGroup;
    std::uint32_t nBase;   // within the group
    std::uint32_t nAccent; // 0 for the plain letter, else the accented letter's code point
    std::uint8_t nCase;    // 0 lower case or none, 1 upper case
};

// The elements of a text, and the characters level 1 leaves out with the
// number of elements before each.
struct SortKey {
    std::vector<SortElement> elements;
    std::vector<std::pair<std::size_t, char32_t>> ignored;
};

bool IsIgnoredInWordSort(char32_t cp)
{
    return cp == '-' || cp == '\'' || cp == 0xAD; // hyphen, apostrophe, soft hyphen
}

SortKey MakeSortKey(std::string_view strText)
{
    SortKey key;
    locale_t locale = Utf8Locale();
    for (std::size_t nPos = 0; nPos < strText.size();) {
        DecodedChar ch = DecodeUtf8(strText, nPos);
        nPos += ch.nLength;
        if (!ch.bValid) {
            // A malformed byte sorts among the symbols, after every character.
            key.elements.push_back({ SortGroup::Symbol, 0x110000 + ch.cp, 0, 0 });
            continue;
        }
        if (IsIgnoredInWordSort(ch.cp)) {
            key.ignored.emplace_back(key.elements.size(), ch.cp);
            continue;
        }
        char32_t lower = MapCase(ch.cp, CaseMap::Lower);
        std::uint8_t nCase = lower != ch.cp ? 1 : 0;
        if (ch.cp >= '0' && ch.cp <= '9') {
            key.elements.push_back({ SortGroup::Digit, ch.cp - '0', 0, 0 });
        } else if (std::string_view expansion = Expansion(lower); !expansion.empty()) {
            for (char base : expansion)
                key.elements.push_back({ SortGroup::LatinLetter, static_cast<std::uint32_t>(base), lower, nCase });
        } else if (char base = LatinBase(lower); base != 0 && base != '/') {
            std::uint32_t nAccent = static_cast<char32_t>(base) == lower ? 0 : lower;
            key.elements.push_back({ SortGroup::LatinLetter, static_cast<std::uint32_t>(base), nAccent, nCase });
        } else if (locale && ch.cp >= 0x80 && iswalpha_l(static_cast<wint_t>(ch.cp), locale)) {
            key.elements.push_back({ SortGroup::OtherLetter, lower, 0, nCase });
        } else {
            key.elements.push_back({ SortGroup::Symbol, ch.cp, 0, 0 });
        }
    }
    return key;
}

// Compares two sequences by one level's projection: the first difference
// decides, then the shorter sequence comes first.
template<typename T, typename Projection>
int CompareLevel(const std::vector<T>& first, const std::vector<T>& second, Projection project)
{
    for (std::size_t i = 0; i < first.size() && i < second.size(); ++i) {
        auto a = project(first[i]);
        auto b = project(second[i]);
        if (a != b)
            return a < b ? -1 : 1;
    }
    if (first.size() != second.size())
        return first.size() < second.size() ? -1 : 1;
    return 0;
}

bool IsAscii(std::string_view strText)
{
    return std::all_of(strText.begin(), strText.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x80; });
}

// The levels of CompareWordSort for two ASCII texts, read off the bytes
// without building their keys (a sorted list compares often): no accents
// there, every letter its own base.
int CompareAsciiWordSort(std::string_view strText1, std::string_view strText2, bool bIgnoreCase)
{
    struct CAsciiElement {
        int nGroup;
        int nBase;
    };
    auto element = [](char ch) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c >= '0' && c <= '9')
            return CAsciiElement { static_cast<int>(SortGroup::Digit), c - '0' };
        if (std::isalpha(c))
            return CAsciiElement { static_cast<int>(SortGroup::LatinLetter), std::tolower(c) };
        return CAsciiElement { static_cast<int>(SortGroup::Symbol), c };
    };
    auto ignored = [](char ch) { return IsIgnoredInWordSort(static_cast<unsigned char>(ch)); };
    // Each level walks both texts' elements (ignored characters left out) in step.
    auto compareLevel = [&](auto project) {
        std::size_t i = 0;
        std::size_t j = 0;
        for (;;) {
            while (i < strText1.size() && ignored(strText1[i]))
                ++i;
            while (j < strText2.size() && ignored(strText2[j]))
                ++j;
            if (i == strText1.size() || j == strText2.size())
                return i == strText1.size() ? (j == strText2.size() ? 0 : -1) : 1;
            const auto a = project(strText1[i++]);
            const auto b = project(strText2[j++]);
            if (a != b)
                return a < b ? -1 : 1;
        }
    };
    if (int n = compareLevel([&](char ch) { return std::pair(element(ch).nGroup, element(ch).nBase); }))
        return n;
    if (!bIgnoreCase) {
        if (int n = compareLevel([](char ch) { return std::isupper(static_cast<unsigned char>(ch)) ? 1 : 0; }))
            return n;
    }
    // The ignored characters with the number of elements before each.
    auto ignoredOf = [&](std::string_view strText) {
        std::vector<std::pair<std::size_t, char32_t>> marks;
        std::size_t nElements = 0;
        for (char ch : strText) {
            if (ignored(ch))
                marks.emplace_back(nElements, static_cast<unsigned char>(ch));
            else
                ++nElements;
        }
        return marks;
    };
    if (strText1.find_first_of("-'") != std::string_view::npos
        || strText2.find_first_of("-'") != std::string_view::npos) {
        const auto marks1 = ignoredOf(strText1);
        const auto marks2 = ignoredOf(strText2);
        if (marks1 != marks2)
            return marks1 < marks2 ? -1 : 1;
    }
    if (!bIgnoreCase)
        return strText1.compare(strText2) < 0 ? -1 : strText1.compare(strText2) > 0 ? 1 : 0;
    return 0;
}

int CompareWordSort(std::string_view strText1, std::string_view strText2, bool bIgnoreCase)
{
    if (IsAscii(strText1) && IsAscii(strText2))
        return CompareAsciiWordSort(strText1, strText2, bIgnoreCase);
    SortKey key1 = MakeSortKey(strText1);
    SortKey key2 = MakeSortKey(strText2);
    if (int n = CompareLevel(key1.elements, key2.elements,
            [](const SortElement& e) { return std::pair(static_cast<int>(e.eGroup), e.nBase); }))
        return n;
    if (int n = CompareLevel(key1.elements, key2.elements, [](const SortElement& e) { return e.nAccent; }))
        return n;
    if (!bIgnoreCase) {
        if (int n = CompareLevel(key1.elements, key2.elements, [](const SortElement& e) { return e.nCase; }))
            return n;
    }
    if (int n = CompareLevel(key1.ignored, key2.ignored, [](const std::pair<std::size_t, char32_t>& p) { return p; }))
        return n;
    // Different characters can share every level (a letter and a compatibility
    // form of it); with case counted, only equal texts compare equal.
    if (!bIgnoreCase)
        return strText1.compare(strText2) < 0 ? -1 : strText1.compare(strText2) > 0 ? 1 : 0;
    return 0;
}

std::string_view CountedView(LPCSTR lpString, int cchCount)
{
    if (cchCount < 0)
        return std::string_view(lpString);
    return std::string_view(lpString, static_cast<std::size_t>(cchCount));
}

} // namespace

int CompareStringA(LCID, DWORD dwCmpFlags, LPCSTR lpString1, int cchCount1, LPCSTR lpString2, int cchCount2)
{
    if (!lpString1 || !lpString2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (dwCmpFlags & ~NORM_IGNORECASE) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    int n = CompareWordSort(
        CountedView(lpString1, cchCount1), CountedView(lpString2, cchCount2), (dwCmpFlags & NORM_IGNORECASE) != 0);
    return n < 0 ? CSTR_LESS_THAN : n > 0 ? CSTR_GREATER_THAN : CSTR_EQUAL;
}
