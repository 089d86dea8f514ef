#include "platform/base/ShortNames.h"

#include "platform/base/PathMap.h"
#include "platform/base/PathNames.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <set>

namespace {

// Characters an 8.3 name may hold besides letters and digits.
constexpr const char* SHORT_NAME_PUNCTUATION = "!#$%&'()-@^_`{}~";

bool IsShortNameChar(char ch)
{
    auto chByte = static_cast<unsigned char>(ch);
    return chByte < 0x80 && (std::isalnum(chByte) || (ch != '\0' && std::strchr(SHORT_NAME_PUNCTUATION, ch)));
}

// The 8.3 form of part of a name: upper case, spaces and dots dropped, other
// characters that 8.3 names cannot hold turned into "_" (one per character,
// not per byte).
std::string CleanShortPart(std::string_view strPart)
{
    std::string strClean;
    for (size_t i = 0; i < strPart.size(); ++i) {
        auto chByte = static_cast<unsigned char>(strPart[i]);
        if (chByte == ' ' || chByte == '.')
            continue;
        if (chByte >= 0x80) {
            i += Utf8CharLength(strPart, i) - 1;
            strClean += '_';
        } else if (IsShortNameChar(strPart[i])) {
            strClean += static_cast<char>(std::toupper(chByte));
        } else {
            strClean += '_';
        }
    }
    return strClean;
}

enum class PathForm {
    Short,
    Long,
};

// Builds the short or long form of an existing path, component by component.
DWORD ConvertPath(LPCTSTR pszPath, LPTSTR pszBuffer, DWORD cchBuffer, PathForm eForm)
{
    CProgramPath path;
    CHostPath hostPath;
    if (!ParseProgramPath(pszPath, path) || !ResolveProgramPath(path, hostPath))
        return 0;
    if (!hostPath.Exists()) {
        SetLastError(hostPath.nExisting + 1 == hostPath.names.size() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
        return 0;
    }
    std::string strResult = hostPath.strProgramRoot;
    std::string strFolder = hostPath.strRoot;
    for (size_t i = 0; i < hostPath.names.size(); ++i) {
        const std::string& strName = hostPath.names[i];
        if (i)
            strResult += '\\';
        strResult += eForm == PathForm::Short ? ShortNameInFolder(ListHostFolder(strFolder), strName) : strName;
        strFolder = JoinHostPath(strFolder, strName);
    }
    if (!hostPath.names.empty() && path.bTrailingSeparator)
        strResult += '\\';
    return CopyStringToBuffer(strResult, pszBuffer, cchBuffer);
}

}

bool IsShortName(std::string_view strName)
{
    if (strName == "." || strName == "..")
        return true;
    size_t nDot = strName.find('.');
    std::string_view strStem = strName.substr(0, nDot);
    std::string_view strExtension = nDot == std::string_view::npos ? std::string_view() : strName.substr(nDot + 1);
    if (strStem.empty() || strStem.size() > 8 || strExtension.size() > 3)
        return false;
    if (nDot != std::string_view::npos && strExtension.empty())
        return false;
    for (std::string_view strPart : { strStem, strExtension }) {
        for (char ch : strPart) {
            if (!IsShortNameChar(ch))
                return false;
        }
    }
    return true;
}

std::map<std::string, std::string> ShortNamesForFolder(const std::vector<std::string>& names)
{
    std::set<std::string> taken; // Upper-case short names in use
    std::vector<std::string> needing;
    for (const std::string& strName : names) {
        if (IsShortName(strName))
            taken.insert(Utf8ToUpper(strName));
        else
            needing.push_back(strName);
    }
    std::sort(needing.begin(), needing.end());

    // The numbers below a stem's last one are all taken, so each stem's search
    // resumes there; a crowded folder stays linear.
    std::map<std::string, unsigned> nextNumber;
    std::map<std::string, std::string> shortNames;
    for (const std::string& strName : needing) {
        std::string_view strView = strName;
        size_t nFirst = strView.find_first_not_of('.');
        std::string_view strBody = nFirst == std::string_view::npos ? std::string_view() : strView.substr(nFirst);
        size_t nDot = strBody.rfind('.');
        std::string strStem = CleanShortPart(strBody.substr(0, nDot));
        std::string strExtension
            = nDot == std::string_view::npos ? std::string() : CleanShortPart(strBody.substr(nDot + 1)).substr(0, 3);
        if (strStem.empty())
            strStem = "_";
        std::string strKey = strStem.substr(0, 6) + "." + strExtension;
        for (unsigned& nNumber = nextNumber.try_emplace(strKey, 1).first->second; nNumber <= 999999; ++nNumber) {
            std::string strTail = "~" + std::to_string(nNumber);
            std::string strShort = strStem.substr(0, 8 - strTail.size()) + strTail;
            if (!strExtension.empty())
                strShort += "." + strExtension;
            if (taken.insert(strShort).second) {
                shortNames.emplace(strName, strShort);
                break;
            }
        }
    }
    return shortNames;
}

std::string ShortNameInFolder(const std::vector<std::string>& names, const std::string& strName)
{
    if (IsShortName(strName))
        return strName;
    std::map<std::string, std::string> shortNames = ShortNamesForFolder(names);
    auto it = shortNames.find(strName);
    return it != shortNames.end() ? it->second : strName;
}

DWORD GetShortPathName(LPCTSTR lpszLongPath, LPTSTR lpszShortPath, DWORD cchBuffer)
{
    return ConvertPath(lpszLongPath, lpszShortPath, cchBuffer, PathForm::Short);
}

DWORD GetLongPathName(LPCTSTR lpszShortPath, LPTSTR lpszLongPath, DWORD cchBuffer)
{
    return ConvertPath(lpszShortPath, lpszLongPath, cchBuffer, PathForm::Long);
}
