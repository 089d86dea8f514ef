#include "platform/base/PathNames.h"

#include <algorithm>
#include <cstring>

#include <clocale>
#include <cwctype>
#include <dirent.h>

namespace {

// The C.UTF-8 locale gives towlower_l the Unicode case tables whatever the
// process locale is.
locale_t Utf8Locale()
{
    static locale_t s_locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return s_locale;
}

// Decodes one UTF-8 character at `nPos`, advancing it; invalid bytes decode
// one at a time to U+DC80..U+DCFF.
char32_t DecodeUtf8(std::string_view str, size_t& nPos)
{
    auto chLead = static_cast<unsigned char>(str[nPos]);
    size_t nLength = chLead < 0x80 ? 1
        : (chLead >> 5) == 0x6     ? 2
        : (chLead >> 4) == 0xE     ? 3
        : (chLead >> 3) == 0x1E    ? 4
                                   : 0;
    char32_t chCode = nLength == 1 ? chLead
        : nLength == 2             ? (chLead & 0x1F)
        : nLength == 3             ? (chLead & 0x0F)
                                   : (chLead & 0x07);
    bool bValid = nLength != 0 && nPos + nLength <= str.size();
    for (size_t i = 1; bValid && i < nLength; ++i) {
        auto chNext = static_cast<unsigned char>(str[nPos + i]);
        bValid = (chNext & 0xC0) == 0x80;
        chCode = (chCode << 6) | (chNext & 0x3F);
    }
    // Overlong forms and surrogates are invalid too.
    static constexpr char32_t s_minimum[] = { 0, 0, 0x80, 0x800, 0x10000 };
    if (bValid && (chCode < s_minimum[nLength] || chCode > 0x10FFFF || (chCode >= 0xD800 && chCode < 0xE000)))
        bValid = false;
    if (!bValid) {
        ++nPos;
        return 0xDC00 + chLead;
    }
    nPos += nLength;
    return chCode;
}

}

std::u32string FoldPathName(std::string_view strName)
{
    std::u32string folded;
    folded.reserve(strName.size());
    locale_t locale = Utf8Locale();
    for (size_t nPos = 0; nPos < strName.size();) {
        char32_t chCode = DecodeUtf8(strName, nPos);
        if (chCode < 0x80)
            chCode = (chCode >= 'A' && chCode <= 'Z') ? chCode + ('a' - 'A') : chCode;
        else if (locale && (chCode < 0xDC80 || chCode > 0xDCFF))
            chCode = static_cast<char32_t>(towlower_l(static_cast<wint_t>(chCode), locale));
        folded += chCode;
    }
    return folded;
}

bool PathNamesEqualNoCase(std::string_view strFirst, std::string_view strSecond)
{
    if (strFirst.size() == strSecond.size() && strFirst == strSecond)
        return true;
    return FoldPathName(strFirst) == FoldPathName(strSecond);
}

std::vector<std::string> ListHostFolder(const std::string& strHostFolder, bool* pbOk)
{
    std::vector<std::string> names;
    DIR* pDir = opendir(strHostFolder.c_str());
    if (pbOk)
        *pbOk = pDir != nullptr;
    if (!pDir)
        return names;
    while (dirent* pEntry = readdir(pDir)) {
        if (std::strcmp(pEntry->d_name, ".") != 0 && std::strcmp(pEntry->d_name, "..") != 0)
            names.emplace_back(pEntry->d_name);
    }
    closedir(pDir);
    std::sort(names.begin(), names.end());
    return names;
}

std::string JoinHostPath(const std::string& strFolder, std::string_view strName)
{
    std::string strPath = strFolder;
    if (strPath.empty() || strPath.back() != '/')
        strPath += '/';
    strPath += strName;
    return strPath;
}

DWORD CopyStringToBuffer(std::string_view str, LPTSTR pszBuffer, DWORD cchBuffer)
{
    if (!pszBuffer || str.size() + 1 > cchBuffer)
        return static_cast<DWORD>(str.size() + 1);
    std::memcpy(pszBuffer, str.data(), str.size());
    pszBuffer[str.size()] = '\0';
    return static_cast<DWORD>(str.size());
}
