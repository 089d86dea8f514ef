#pragma once

// The network drive map: which drive letters stand for network shares, so
// that a path can be turned between its drive-letter form ("n:\reports\a.odt")
// and its share form ("\\server\docs\reports\a.odt"). The catalog keeps
// network paths in share form, so a document stays the same whatever letter
// the share gets later.
//
// The program has one map, g_netDriveMap. It scans the drive letters once,
// on first use; InvalidateScan makes the next use scan again (after the user
// changed drive mappings). It is safe to use from several threads.

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

#include <array>
#include <mutex>
#include <string>

// Asks the user for a share's password and connects it; the dialogs' layer
// answers. IDOK when the share is connected.
class CNetworkLogonPrompt {
public:
    virtual ~CNetworkLogonPrompt() = default;
    virtual int AskLogon(LPCTSTR pszRemoteName, LPCTSTR pszDrive) = 0;
};

class CNetDriveMap {
public:
    // Records the share of every network drive letter from A to Z, unless the
    // drives were scanned already.
    void ScanDrives();
    // Clears the drives-scanned flag, so the next use scans the drives again.
    void InvalidateScan();
    BOOL IsScanned() const;

    // Connects the share pszRemoteName ("\\server\share") under the drive
    // letter pszDrive ("n:" or "n:\"; nullptr or empty for no letter), then
    // rescans the drives. Returns 1 when the share is connected, 0 when it
    // cannot be reached (ERROR_BAD_NETPATH), the names are malformed
    // (ERROR_INVALID_PARAMETER) or the user cancelled the logon
    // (ERROR_CANCELLED). On the thread that installed a logon prompt the
    // prompt asks the password and connects; elsewhere it connects at once.
    int ConnectDrive(LPCTSTR pszRemoteName, LPCTSTR pszDrive);
    // Installs the logon prompt for the calling thread's connections (null:
    // none). The caller keeps it alive while it is installed.
    void SetLogonPrompt(CNetworkLogonPrompt* pPrompt);

    // The share form of a path on a network drive letter. FALSE (and the
    // path unchanged) when its letter is no network drive.
    BOOL DriveToUNC(LPCTSTR pszPath, CString& strResult);
    // The drive-letter form of a path under a share that a letter is mapped
    // to, the most specific mapping first. FALSE (and the path unchanged) when
    // no letter maps it.
    BOOL UNCToDrive(LPCTSTR pszPath, CString& strResult);

private:
    void ScanLocked();

    mutable std::mutex m_mutex;
    CNetworkLogonPrompt* m_pLogonPrompt { nullptr }; // under m_mutex
    DWORD m_dwLogonThread { 0 };                     // the thread it asks on
    bool m_bScanned { false };
    std::array<std::string, 26> m_shares; // "\\server\share" per letter; empty for none
};

// The program's network drive map.
extern CNetDriveMap g_netDriveMap;

// The lower-cased canonical form of a path; a path on a network drive letter
// is turned into its share form. A leading "*" stays.
CString NormalizeDrivePath(LPCTSTR pszPath);

// The lower-cased canonical form of a path; a share path that a drive letter
// is mapped to is turned into its drive-letter form. A leading "*" stays.
CString NormalizeUNCPath(LPCTSTR pszPath);

// TRUE when the path can be reached. A network path that cannot be reached is
// connected again (through its share) and tried once more.
BOOL ConnectNetworkPath(LPCTSTR pszPath);
