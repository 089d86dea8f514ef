#include "platform/shell/NetworkConnections.h"

#include "platform/base/DriveTable.h"
#include "platform/base/PathNames.h"
#include "platform/base/WinError.h"

#include <cctype>
#include <cstring>

namespace {

// The letter of "N:" (or "N:\"), upper case; 0 for a malformed name.
TCHAR LetterOf(LPCSTR lpLocalName)
{
    if (!lpLocalName || !std::isalpha(static_cast<unsigned char>(lpLocalName[0])) || lpLocalName[1] != ':'
        || (lpLocalName[2] && (lpLocalName[2] != '\\' || lpLocalName[3])))
        return 0;
    return static_cast<TCHAR>(std::toupper(static_cast<unsigned char>(lpLocalName[0])));
}

// "\\server\share" as the drive table's parts; empty when malformed.
std::vector<std::string> UncParts(const std::string& strName)
{
    std::vector<std::string> parts;
    if (!strName.starts_with("\\\\"))
        return parts;
    size_t nPos = 2;
    while (nPos < strName.size()) {
        size_t nEnd = strName.find('\\', nPos);
        if (nEnd == std::string::npos)
            nEnd = strName.size();
        if (nEnd > nPos)
            parts.push_back(strName.substr(nPos, nEnd - nPos));
        nPos = nEnd + 1;
    }
    return parts.size() >= 2 ? parts : std::vector<std::string>();
}

} // namespace

DWORD WNetGetConnection(LPCSTR lpLocalName, LPSTR lpRemoteName, LPDWORD lpnLength)
{
    TCHAR chLetter = LetterOf(lpLocalName);
    if (!chLetter)
        return ERROR_BAD_DEVICE;
    if (!lpnLength)
        return ERROR_INVALID_PARAMETER;
    auto pTable = GetDriveTable();
    const CDrive* pDrive = pTable->GetDrive(chLetter);
    const std::string* pRemembered = pTable->GetRemembered(chLetter);
    std::string strRemote;
    DWORD dwResult = NO_ERROR;
    if (pDrive && pDrive->uType == DRIVE_REMOTE) {
        strRemote = pRemembered ? *pRemembered : pTable->ShareNameOf(pDrive->strHostFolder);
        if (strRemote.empty())
            return ERROR_NOT_CONNECTED; // a network mount that gives no share name
    } else if (!pDrive && pRemembered) {
        strRemote = *pRemembered;
        dwResult = ERROR_CONNECTION_UNAVAIL;
    } else {
        return ERROR_NOT_CONNECTED;
    }
    if (!lpRemoteName || *lpnLength < strRemote.size() + 1) {
        *lpnLength = static_cast<DWORD>(strRemote.size() + 1);
        return ERROR_MORE_DATA;
    }
    std::memcpy(lpRemoteName, strRemote.c_str(), strRemote.size() + 1);
    return dwResult;
}

DWORD WNetAddConnection2(LPNETRESOURCE lpNetResource, LPCSTR, LPCSTR, DWORD dwFlags)
{
    if (!lpNetResource || (dwFlags & CONNECT_UPDATE_PROFILE))
        return ERROR_INVALID_PARAMETER;
    if (lpNetResource->dwType != RESOURCETYPE_DISK)
        return ERROR_BAD_DEV_TYPE;
    std::vector<std::string> unc = UncParts(lpNetResource->lpRemoteName ? lpNetResource->lpRemoteName : "");
    if (unc.empty())
        return ERROR_BAD_NET_NAME;
    TCHAR chLetter = 0;
    if (lpNetResource->lpLocalName && *lpNetResource->lpLocalName) {
        chLetter = LetterOf(lpNetResource->lpLocalName);
        if (!chLetter)
            return ERROR_BAD_DEVICE;
    }
    RefreshDriveTable(); // shares mounted since the table was built count
    auto pTable = GetDriveTable();
    size_t nUsed = 0;
    const CShare* pShare = pTable->FindShare(unc, &nUsed);
    if (!pShare)
        return ERROR_BAD_NET_NAME;
    // A share's subfolder is reached through the share's mount.
    std::string strHostFolder = pShare->strHostFolder;
    for (size_t i = nUsed; i < unc.size(); ++i)
        strHostFolder = JoinHostPath(strHostFolder, unc[i]);
    if (!chLetter)
        return NO_ERROR;
    const CDrive* pDrive = pTable->GetDrive(chLetter);
    if (pDrive && pDrive->strHostFolder != strHostFolder)
        return ERROR_ALREADY_ASSIGNED;
    return SetDriveOverride(chLetter, strHostFolder.c_str(), DRIVE_REMOTE) ? NO_ERROR : GetLastError();
}
