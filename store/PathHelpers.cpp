#include "store/PathHelpers.h"

#include "platform/base/TextFunctions.h"
#include "resources/ResourceIds.h"
#include "store/ResString.h"

#include <string_view>

namespace {

// The most characters a file name may have before its first "." and after it.
constexpr size_t MAX_NAME_PART_CHARS = 256;

std::string_view View(LPCTSTR pszText)
{
    return pszText ? std::string_view(pszText) : std::string_view();
}

CString ToCString(std::string_view strText)
{
    return CString(strText.data(), static_cast<int>(strText.size()));
}

bool IsDriveStart(std::string_view strPath)
{
    return strPath.size() >= 2 && strPath[1] == ':'
        && ((strPath[0] >= 'A' && strPath[0] <= 'Z') || (strPath[0] >= 'a' && strPath[0] <= 'z'));
}

bool IsUncStart(std::string_view strPath)
{
    return strPath.size() >= 2 && strPath[0] == '\\' && strPath[1] == '\\';
}

// The number of characters in a text, a malformed byte counting as one.
size_t CountChars(std::string_view strText)
{
    size_t nChars = 0;
    for (size_t nPos = 0; nPos < strText.size(); nPos += Utf8CharLength(strText, nPos))
        ++nChars;
    return nChars;
}

bool IsValidName(std::string_view strName)
{
    if (strName.empty())
        return false;
    for (char ch : strName) {
        auto byte = static_cast<unsigned char>(ch);
        bool bPrintable = byte >= 0x20 && byte != 0x7F; // Bytes from 0x80 are parts of longer characters.
        if (!bPrintable && ch != '\t')
            return false;
        if (std::string_view("\"\\/:|<>+=;,").find(ch) != std::string_view::npos)
            return false;
    }
    size_t nDot = strName.find('.');
    std::string_view strBefore = strName.substr(0, nDot);
    std::string_view strAfter = nDot == std::string_view::npos ? std::string_view() : strName.substr(nDot + 1);
    size_t nBefore = CountChars(strBefore);
    return nBefore >= 1 && nBefore <= MAX_NAME_PART_CHARS && CountChars(strAfter) <= MAX_NAME_PART_CHARS;
}

} // namespace

void SplitPath(LPCTSTR pszFullPath, CString& strFolder, CString& strName)
{
    std::string_view strPath = View(pszFullPath);
    size_t nSlash = strPath.rfind('\\');
    if (nSlash == std::string_view::npos) {
        strFolder.Empty();
        strName = ToCString(strPath);
        return;
    }
    strFolder = ToCString(strPath.substr(0, nSlash + 1));
    strName = ToCString(strPath.substr(nSlash + 1));
}

void SplitFileName(LPCTSTR pszName, CString& strBase, CString& strExtension)
{
    std::string_view strName = View(pszName);
    size_t nDot = strName.rfind('.');
    if (nDot == std::string_view::npos) {
        strBase = ToCString(strName);
        strExtension.Empty();
        return;
    }
    strBase = ToCString(strName.substr(0, nDot));
    strExtension = ToCString(strName.substr(nDot + 1));
}

CString GetPathRoot(LPCTSTR pszPath)
{
    std::string_view strPath = View(pszPath);
    if (!strPath.empty() && strPath[0] == '*')
        strPath.remove_prefix(1);
    if (IsDriveStart(strPath))
        return ToCString(strPath.substr(0, 2)) + "\\";
    if (!IsUncStart(strPath))
        return CString();
    size_t nServerEnd = strPath.find('\\', 2);
    if (nServerEnd == std::string_view::npos || nServerEnd == 2)
        return CString();
    size_t nShareEnd = strPath.find('\\', nServerEnd + 1);
    if (nShareEnd == std::string_view::npos)
        nShareEnd = strPath.size();
    if (nShareEnd == nServerEnd + 1)
        return CString();
    return ToCString(strPath.substr(0, nShareEnd)) + "\\";
}

CString AddBackslash(LPCTSTR pszPath)
{
    CString strPath(pszPath);
    if (strPath.IsEmpty() || strPath[strPath.GetLength() - 1] != '\\')
        strPath += '\\';
    return strPath;
}

int CheckPathSyntax(LPCTSTR pszPath)
{
    std::string_view strPath = View(pszPath);
    std::string_view strRest;
    if (IsDriveStart(strPath) && strPath.size() >= 3 && strPath[2] == '\\')
        strRest = strPath.substr(3);
    else if (IsUncStart(strPath))
        strRest = strPath.substr(2); // The server and the share must be valid names too.
    else if (!strPath.empty() && strPath[0] == '\\')
        strRest = strPath.substr(1);
    else
        return PATH_SYNTAX_BAD_START;
    if (IsUncStart(strPath) && GetPathRoot(pszPath).IsEmpty())
        return PATH_SYNTAX_BAD_COMPONENT;

    while (!strRest.empty()) {
        size_t nSlash = strRest.find('\\');
        std::string_view strComponent = strRest.substr(0, nSlash);
        if (!IsValidName(strComponent))
            return PATH_SYNTAX_BAD_COMPONENT;
        if (nSlash == std::string_view::npos)
            break;
        strRest.remove_prefix(nSlash + 1);
    }
    return PATH_SYNTAX_VALID;
}

BOOL IsValidFileName(LPCTSTR pszText)
{
    return IsValidName(View(pszText)) ? TRUE : FALSE;
}

CString RemoveInvalidFileChars(LPCTSTR pszText)
{
    std::string strResult;
    for (char ch : View(pszText)) {
        if (std::string_view("\"\\/:|<>*?").find(ch) == std::string_view::npos)
            strResult += ch;
    }
    return ToCString(strResult);
}

BOOL MatchServerComponent(LPCTSTR pszPath)
{
    std::string_view strPath = View(pszPath);
    if (IsDriveStart(strPath) && strPath.size() >= 3 && strPath[2] == '\\')
        strPath.remove_prefix(3);
    else if (IsUncStart(strPath))
        strPath.remove_prefix(2);
    else
        return FALSE;
    std::string_view strComponent = strPath.substr(0, strPath.find('\\'));
    std::string_view strRecycle = GetResString(IDS_RECYCLE_FOLDER_NAME);
    if (strComponent.empty() || strRecycle.empty())
        return FALSE;
    return Utf8CompareNoCase(strComponent, strRecycle) == 0 ? TRUE : FALSE;
}
