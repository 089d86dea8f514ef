#include "platform/base/ProfileFile.h"

#include "platform/base/HostFile.h"
#include "platform/base/PathMap.h"
#include "platform/base/ProgramFolder.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view BLANKS = " \t\r";
constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view str)
{
    size_t nStart = str.find_first_not_of(BLANKS);
    if (nStart == std::string_view::npos)
        return {};
    return str.substr(nStart, str.find_last_not_of(BLANKS) - nStart + 1);
}

bool SameName(std::string_view strA, std::string_view strB)
{
    return Utf8CompareNoCase(strA, strB) == 0;
}

// Adds `strName` to `names` unless a name equal but for case is there already.
void AddUnique(std::vector<std::string>& names, const std::string& strName)
{
    if (std::none_of(
            names.begin(), names.end(), [&](const std::string& strOther) { return SameName(strOther, strName); }))
        names.push_back(strName);
}

}

/****************************** CProfileDocument *****************************/

CProfileDocument::CProfileDocument(std::string_view text)
{
    m_bFinalNewline = text.empty() || text.back() == '\n';
    if (text.empty())
        return;
    if (m_bFinalNewline)
        text.remove_suffix(1);
    bool bFirst = true;
    for (size_t nStart = 0;;) {
        size_t nEnd = text.find('\n', nStart);
        std::string_view strRaw = text.substr(nStart, nEnd == std::string_view::npos ? text.npos : nEnd - nStart);
        if (bFirst && strRaw.ends_with('\r'))
            m_strNewline = "\r\n";
        CLine line { std::string(strRaw), {}, {}, false };
        if (bFirst && strRaw.starts_with(UTF8_BOM))
            strRaw.remove_prefix(UTF8_BOM.size());
        bFirst = false;
        std::string_view strTrimmed = Trim(strRaw);
        if (strTrimmed.starts_with('[')) {
            size_t nClose = strTrimmed.find(']');
            m_sections.push_back(CSection {
                std::string(Trim(strTrimmed.substr(1, nClose == strTrimmed.npos ? strTrimmed.npos : nClose - 1))),
                {} });
            m_sections.back().lines.push_back(std::move(line));
        } else {
            size_t nEqual = strTrimmed.find('=');
            if (!strTrimmed.starts_with(';') && nEqual != std::string_view::npos && nEqual > 0) {
                line.bEntry = true;
                line.strKey = Trim(strTrimmed.substr(0, nEqual));
                line.strValue = Trim(strTrimmed.substr(nEqual + 1));
            }
            (m_sections.empty() ? m_preamble : m_sections.back().lines).push_back(std::move(line));
        }
        if (nEnd == std::string_view::npos)
            break;
        nStart = nEnd + 1;
    }
}

std::string CProfileDocument::Format() const
{
    std::string strText;
    auto append = [&](const std::vector<CLine>& lines) {
        for (const CLine& line : lines)
            strText += line.strRaw + '\n';
    };
    append(m_preamble);
    for (const CSection& section : m_sections)
        append(section.lines);
    if (!m_bFinalNewline && !strText.empty())
        strText.pop_back();
    return strText;
}

const CProfileDocument::CSection* CProfileDocument::FindSection(std::string_view strSection) const
{
    auto it = std::find_if(m_sections.begin(), m_sections.end(),
        [&](const CSection& section) { return SameName(section.strName, strSection); });
    return it == m_sections.end() ? nullptr : &*it;
}

CProfileDocument::CSection* CProfileDocument::FindSection(std::string_view strSection)
{
    return const_cast<CSection*>(std::as_const(*this).FindSection(strSection));
}

std::vector<std::string> CProfileDocument::GetSectionNames() const
{
    std::vector<std::string> names;
    for (const CSection& section : m_sections)
        AddUnique(names, section.strName);
    return names;
}

bool CProfileDocument::GetKeyNames(std::string_view strSection, std::vector<std::string>& keys) const
{
    const CSection* pSection = FindSection(strSection);
    if (!pSection)
        return false;
    for (const CLine& line : pSection->lines) {
        if (line.bEntry)
            AddUnique(keys, line.strKey);
    }
    return true;
}

bool CProfileDocument::GetSectionLines(std::string_view strSection, std::vector<std::string>& lines) const
{
    const CSection* pSection = FindSection(strSection);
    if (!pSection)
        return false;
    for (size_t i = 1; i < pSection->lines.size(); ++i) {
        const CLine& line = pSection->lines[i];
        std::string_view strTrimmed = Trim(line.strRaw);
        if (line.bEntry)
            lines.push_back(line.strKey + "=" + line.strValue);
        else if (!strTrimmed.empty() && !strTrimmed.starts_with(';'))
            lines.emplace_back(strTrimmed);
    }
    return true;
}

const std::string* CProfileDocument::FindValue(std::string_view strSection, std::string_view strKey) const
{
    const CSection* pSection = FindSection(strSection);
    if (!pSection)
        return nullptr;
    for (const CLine& line : pSection->lines) {
        if (line.bEntry && SameName(line.strKey, strKey))
            return &line.strValue;
    }
    return nullptr;
}

CProfileDocument::CLine CProfileDocument::MakeEntry(std::string_view strKey, std::string_view strValue)
{
    return CLine { std::string(strKey) + "=" + std::string(strValue), std::string(Trim(strKey)),
        std::string(Trim(strValue)), true };
}

CProfileDocument::CSection& CProfileDocument::AddSection(std::string_view strSection)
{
    m_sections.push_back(CSection { std::string(strSection), {} });
    std::string strHeader = "[" + std::string(strSection) + "]" + (m_strNewline == "\r\n" ? "\r" : "");
    m_sections.back().lines.push_back(CLine { strHeader, {}, {}, false });
    return m_sections.back();
}

void CProfileDocument::SetValue(std::string_view strSection, std::string_view strKey, std::string_view strValue)
{
    std::string strCarriageReturn = m_strNewline == "\r\n" ? "\r" : "";
    m_bFinalNewline = true;
    CSection* pSection = FindSection(strSection);
    if (!pSection)
        pSection = &AddSection(strSection);
    auto& lines = pSection->lines;
    for (CLine& line : lines) {
        if (line.bEntry && SameName(line.strKey, strKey)) {
            line = MakeEntry(line.strKey, strValue);
            line.strRaw += strCarriageReturn;
            return;
        }
    }
    // A new key goes after the section's last key, before any trailing comments or blank lines.
    auto itLastEntry = std::find_if(lines.rbegin(), lines.rend(), [](const CLine& line) { return line.bEntry; });
    auto itInsert = itLastEntry == lines.rend() ? lines.begin() + 1 : itLastEntry.base();
    CLine line = MakeEntry(strKey, strValue);
    line.strRaw += strCarriageReturn;
    lines.insert(itInsert, std::move(line));
}

void CProfileDocument::DeleteKey(std::string_view strSection, std::string_view strKey)
{
    for (CSection& section : m_sections) {
        if (SameName(section.strName, strSection)) {
            std::erase_if(
                section.lines, [&](const CLine& line) { return line.bEntry && SameName(line.strKey, strKey); });
        }
    }
}

void CProfileDocument::DeleteSection(std::string_view strSection)
{
    std::erase_if(m_sections, [&](const CSection& section) { return SameName(section.strName, strSection); });
}

void CProfileDocument::ReplaceSection(std::string_view strSection, const std::vector<std::string>& lines)
{
    CSection* pSection = FindSection(strSection);
    if (!pSection)
        pSection = &AddSection(strSection);
    pSection->lines.resize(1);
    m_bFinalNewline = true;
    for (const std::string& strLine : lines) {
        size_t nEqual = strLine.find('=');
        CLine line = nEqual == std::string::npos || nEqual == 0
            ? CLine { strLine, {}, {}, false }
            : MakeEntry(std::string_view(strLine).substr(0, nEqual), std::string_view(strLine).substr(nEqual + 1));
        if (m_strNewline == "\r\n")
            line.strRaw += '\r';
        pSection->lines.push_back(std::move(line));
    }
}

/********************************* File access *******************************/

namespace {

// The host path of a profile file name (see the header for where names lead).
bool ProfileHostPath(LPCTSTR lpFileName, std::string& strHostPath)
{
    std::string_view strName = lpFileName && *lpFileName ? lpFileName : "win.ini";
    if (strName.find_first_of("\\/:") == std::string_view::npos) {
        strHostPath = GetProgramFolderHostPath() + "/" + std::string(strName);
        return true;
    }
    return HostPathFromProgramPath(lpFileName, strHostPath);
}

// Reads the file; a missing file reads as empty and sets the last error to
// ERROR_FILE_NOT_FOUND, as the Get calls report.
bool ReadProfile(LPCTSTR lpFileName, std::string& strHostPath, CProfileDocument& document)
{
    if (!ProfileHostPath(lpFileName, strHostPath))
        return false;
    // A pipe or device in the file's place is an error, never a wait.
    int fd = OpenRegularHostFile(strHostPath, O_RDONLY);
    if (fd < 0) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND)
            return false;
        document = CProfileDocument();
        return true;
    }
    std::string strText;
    DWORD dwError = ReadHostFileToEnd(fd, strText);
    ::close(fd);
    if (dwError != ERROR_SUCCESS) {
        SetLastError(dwError);
        return false;
    }
    document = CProfileDocument(strText);
    SetLastError(ERROR_SUCCESS);
    return true;
}

// Replaces the file with the document: a temporary file beside it that then
// replaces the file durably.
BOOL WriteProfile(const std::string& strHostPath, const CProfileDocument& document)
{
    std::string strText = document.Format();
    std::string strTemp = strHostPath + ".XXXXXX";
    int fd = mkstemp(strTemp.data());
    if (fd < 0) {
        SetLastErrorFromErrno();
        return FALSE;
    }
    int nError = 0; // the errno of the first step that failed
    auto check = [&](bool bOk) {
        if (!bOk && nError == 0)
            nError = errno ? errno : EIO;
        return nError == 0;
    };
    struct stat info { };
    check(fchmod(fd, ::stat(strHostPath.c_str(), &info) == 0 ? info.st_mode & 07777 : 0644) == 0);
    for (size_t nDone = 0; nError == 0 && nDone < strText.size();) {
        ssize_t nWritten = ::write(fd, strText.data() + nDone, strText.size() - nDone);
        if ((nWritten >= 0 || errno != EINTR) && check(nWritten > 0))
            nDone += static_cast<size_t>(nWritten);
    }
    check(::close(fd) == 0);
    DWORD dwError = nError != 0 ? Win32ErrorFromErrno(nError)
                                : ReplaceHostFileDurably(strTemp, strHostPath, ReplaceMode::KeepOwnMode);
    if (dwError != ERROR_SUCCESS) {
        ::unlink(strTemp.c_str());
        SetLastError(dwError);
        return FALSE;
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

// Strips one pair of matching quotes around a value.
std::string_view Unquote(std::string_view strValue)
{
    if (strValue.size() >= 2 && (strValue.front() == '"' || strValue.front() == '\'')
        && strValue.back() == strValue.front())
        return strValue.substr(1, strValue.size() - 2);
    return strValue;
}

// How many of the first `nLimit` bytes of `str` can be kept without cutting a character.
size_t CharacterBoundary(std::string_view str, size_t nLimit)
{
    size_t nKeep = 0;
    while (nKeep < str.size() && nKeep + Utf8CharLength(str, nKeep) <= nLimit)
        nKeep += Utf8CharLength(str, nKeep);
    return nKeep;
}

DWORD CopyString(std::string_view str, LPTSTR lpBuffer, DWORD nSize)
{
    if (!lpBuffer || nSize == 0)
        return 0;
    if (str.size() < nSize) {
        std::memcpy(lpBuffer, str.data(), str.size());
        lpBuffer[str.size()] = 0;
        return static_cast<DWORD>(str.size());
    }
    size_t nKeep = CharacterBoundary(str, nSize - 1);
    std::memcpy(lpBuffer, str.data(), nKeep);
    std::memset(lpBuffer + nKeep, 0, nSize - nKeep);
    return nSize - 1;
}

// Copies names as a NUL-separated list ending in a second NUL.
DWORD CopyList(const std::vector<std::string>& items, LPTSTR lpBuffer, DWORD nSize)
{
    if (!lpBuffer || nSize == 0)
        return 0;
    std::string strList;
    for (const std::string& strItem : items)
        strList.append(strItem.c_str(), strItem.size() + 1);
    if (strList.size() + 1 <= nSize) {
        std::memcpy(lpBuffer, strList.data(), strList.size());
        lpBuffer[strList.size()] = 0;
        if (strList.empty() && nSize > 1)
            lpBuffer[1] = 0;
        return static_cast<DWORD>(strList.size());
    }
    if (nSize < 2) {
        lpBuffer[0] = 0;
        return 0;
    }
    size_t nKeep = CharacterBoundary(strList, nSize - 2);
    std::memcpy(lpBuffer, strList.data(), nKeep);
    std::memset(lpBuffer + nKeep, 0, nSize - nKeep);
    return nSize - 2;
}

std::string_view DefaultString(LPCTSTR lpDefault)
{
    std::string_view strDefault = lpDefault ? lpDefault : "";
    return strDefault.substr(0, strDefault.find_last_not_of(' ') + 1);
}

}

/*********************************** Reading *********************************/

DWORD GetPrivateProfileString(
    LPCTSTR lpAppName, LPCTSTR lpKeyName, LPCTSTR lpDefault, LPTSTR lpReturnedString, DWORD nSize, LPCTSTR lpFileName)
{
    std::string strHostPath;
    CProfileDocument document;
    if (!ReadProfile(lpFileName, strHostPath, document))
        return CopyString(DefaultString(lpDefault), lpReturnedString, nSize);
    if (!lpAppName)
        return CopyList(document.GetSectionNames(), lpReturnedString, nSize);
    if (!lpKeyName) {
        std::vector<std::string> keys;
        document.GetKeyNames(lpAppName, keys);
        return CopyList(keys, lpReturnedString, nSize);
    }
    const std::string* pValue = document.FindValue(lpAppName, lpKeyName);
    return CopyString(pValue ? Unquote(*pValue) : DefaultString(lpDefault), lpReturnedString, nSize);
}

DWORD GetProfileString(LPCTSTR lpAppName, LPCTSTR lpKeyName, LPCTSTR lpDefault, LPTSTR lpReturnedString, DWORD nSize)
{
    return GetPrivateProfileString(lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize, nullptr);
}

UINT GetPrivateProfileInt(LPCTSTR lpAppName, LPCTSTR lpKeyName, INT nDefault, LPCTSTR lpFileName)
{
    std::string strHostPath;
    CProfileDocument document;
    if (!lpAppName || !lpKeyName || !ReadProfile(lpFileName, strHostPath, document))
        return static_cast<UINT>(nDefault);
    const std::string* pValue = document.FindValue(lpAppName, lpKeyName);
    if (!pValue)
        return static_cast<UINT>(nDefault);
    std::string_view strValue = Unquote(*pValue);
    bool bNegative = strValue.starts_with('-');
    strValue.remove_prefix(bNegative ? 1 : 0);
    if (strValue.empty() || strValue.front() < '0' || strValue.front() > '9')
        return static_cast<UINT>(nDefault);
    long long nValue = 0;
    for (char ch : strValue) {
        if (ch < '0' || ch > '9')
            break;
        nValue = std::min<long long>(nValue * 10 + (ch - '0'), UINT_MAX);
    }
    return static_cast<UINT>(bNegative ? -nValue : nValue);
}

UINT GetProfileInt(LPCTSTR lpAppName, LPCTSTR lpKeyName, INT nDefault)
{
    return GetPrivateProfileInt(lpAppName, lpKeyName, nDefault, nullptr);
}

DWORD GetPrivateProfileSection(LPCTSTR lpAppName, LPTSTR lpReturnedString, DWORD nSize, LPCTSTR lpFileName)
{
    std::string strHostPath;
    CProfileDocument document;
    std::vector<std::string> lines;
    if (lpAppName && ReadProfile(lpFileName, strHostPath, document))
        document.GetSectionLines(lpAppName, lines);
    return CopyList(lines, lpReturnedString, nSize);
}

/*********************************** Writing *********************************/

BOOL WritePrivateProfileString(LPCTSTR lpAppName, LPCTSTR lpKeyName, LPCTSTR lpString, LPCTSTR lpFileName)
{
    if (!lpAppName) {
        if (lpKeyName || lpString) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        return TRUE;
    }
    std::string strHostPath;
    CProfileDocument document;
    if (!ReadProfile(lpFileName, strHostPath, document))
        return FALSE;
    std::string strBefore = document.Format();
    if (!lpKeyName)
        document.DeleteSection(lpAppName);
    else if (!lpString)
        document.DeleteKey(lpAppName, lpKeyName);
    else
        document.SetValue(lpAppName, lpKeyName, lpString);
    if (document.Format() == strBefore && access(strHostPath.c_str(), F_OK) == 0) {
        SetLastError(ERROR_SUCCESS);
        return TRUE;
    }
    return WriteProfile(strHostPath, document);
}

BOOL WriteProfileString(LPCTSTR lpAppName, LPCTSTR lpKeyName, LPCTSTR lpString)
{
    return WritePrivateProfileString(lpAppName, lpKeyName, lpString, nullptr);
}

BOOL WritePrivateProfileSection(LPCTSTR lpAppName, LPCTSTR lpString, LPCTSTR lpFileName)
{
    if (!lpAppName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string strHostPath;
    CProfileDocument document;
    if (!ReadProfile(lpFileName, strHostPath, document))
        return FALSE;
    if (!lpString) {
        document.DeleteSection(lpAppName);
    } else {
        std::vector<std::string> lines;
        for (LPCTSTR pszLine = lpString; *pszLine; pszLine += std::strlen(pszLine) + 1)
            lines.emplace_back(pszLine);
        document.ReplaceSection(lpAppName, lines);
    }
    return WriteProfile(strHostPath, document);
}
