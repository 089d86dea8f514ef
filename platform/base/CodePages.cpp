#include "platform/base/CodePages.h"

#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <iconv.h>

namespace {

// The characters of Windows-1252 bytes 0x80..0x9F; 0 for the unassigned ones.
// clang-format off
constexpr char16_t WINDOWS_1252_HIGH[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};
// clang-format on

char16_t CharOfWindows1252(unsigned char b)
{
    if (b >= 0x80 && b < 0xA0)
        return WINDOWS_1252_HIGH[b - 0x80] ? WINDOWS_1252_HIGH[b - 0x80] : char16_t { 0xFFFD };
    return b;
}

// The Windows-1252 byte of a UTF-16 unit; -1 when it has none.
int Windows1252ByteOf(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return ch;
    for (int i = 0; i < 32; ++i) {
        if (WINDOWS_1252_HIGH[i] == ch && ch != 0)
            return 0x80 + i;
    }
    return -1;
}

bool IsUtf8CodePage(UINT CodePage)
{
    return CodePage == CP_ACP || CodePage == CP_OEMCP || CodePage == CP_UTF8;
}

// Copies the result into the caller's buffer, or says how large it must be.
template<typename Char> int Deliver(const std::basic_string<Char>& strResult, Char* pOut, int cchOut)
{
    if (strResult.size() > static_cast<size_t>(INT32_MAX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int nNeeded = static_cast<int>(strResult.size());
    if (cchOut == 0)
        return nNeeded;
    if (cchOut < nNeeded || pOut == nullptr) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::copy(strResult.begin(), strResult.end(), pOut);
    return nNeeded;
}

} // namespace

int MultiByteToWideChar(
    UINT CodePage, DWORD, LPCSTR lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr, int cchWideChar)
{
    if (lpMultiByteStr == nullptr || cbMultiByte < -1 || cbMultiByte == 0 || cchWideChar < 0
        || (!IsUtf8CodePage(CodePage) && CodePage != CP_1252)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t cb = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
    std::string_view text(lpMultiByteStr, cb);
    std::u16string strWide;
    if (IsUtf8CodePage(CodePage)) {
        strWide = Utf16FromUtf8(text);
    } else {
        strWide.reserve(cb);
        for (char ch : text)
            strWide += CharOfWindows1252(static_cast<unsigned char>(ch));
    }
    return Deliver(strWide, lpWideCharStr, cchWideChar);
}

int WideCharToMultiByte(UINT CodePage, DWORD, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
    int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar)
{
    bool bUtf8 = IsUtf8CodePage(CodePage);
    if (lpWideCharStr == nullptr || cchWideChar < -1 || cchWideChar == 0 || cbMultiByte < 0
        || (!bUtf8 && CodePage != CP_1252) || (bUtf8 && (lpDefaultChar || lpUsedDefaultChar))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t cch = cchWideChar;
    if (cchWideChar == -1)
        cch = std::char_traits<char16_t>::length(lpWideCharStr) + 1;
    std::u16string_view text(lpWideCharStr, cch);
    std::string strResult;
    if (bUtf8) {
        strResult = Utf8FromUtf16(text);
    } else {
        char chDefault = lpDefaultChar ? *lpDefaultChar : '?';
        bool bUsedDefault = false;
        for (char16_t ch : text) {
            int nByte = Windows1252ByteOf(ch);
            bUsedDefault |= nByte < 0;
            strResult += nByte < 0 ? chDefault : static_cast<char>(nByte);
        }
        if (lpUsedDefaultChar)
            *lpUsedDefaultChar = bUsedDefault ? TRUE : FALSE;
    }
    return Deliver(strResult, lpMultiByteStr, cbMultiByte);
}

std::string Utf8FromWindows1252(std::string_view strText)
{
    std::u16string strWide;
    strWide.reserve(strText.size());
    for (char ch : strText)
        strWide += CharOfWindows1252(static_cast<unsigned char>(ch));
    return Utf8FromUtf16(strWide);
}

bool Utf8FromCharset(std::string_view strText, const std::string& strCharset, std::string& strOut)
{
    iconv_t cd = iconv_open("UTF-8", strCharset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    strOut.clear();
    std::string strIn(strText);
    char* pIn = strIn.data();
    size_t nIn = strIn.size();
    char chunk[4096];
    while (nIn > 0) {
        char* pOut = chunk;
        size_t nOut = sizeof chunk;
        const size_t nResult = iconv(cd, &pIn, &nIn, &pOut, &nOut);
        strOut.append(chunk, static_cast<size_t>(pOut - chunk));
        if (nResult != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        if (errno == EINVAL)
            break;                // cut off at the end
        strOut += "\xEF\xBF\xBD"; // a byte the set does not define
        ++pIn;
        --nIn;
    }
    iconv_close(cd);
    return true;
}
