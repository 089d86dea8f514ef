#include "platform/base/DriveSettings.h"

#include "platform/base/DriveTable.h"
#include "platform/base/Registry.h"

#include <string>

namespace {

void ApplyDriveSetting(HKEY hDrives, const char* pszLetter)
{
    HKEY hDrive = nullptr;
    if (RegOpenKeyEx(hDrives, pszLetter, 0, KEY_READ, &hDrive) != ERROR_SUCCESS)
        return;
    char szPath[MAX_PATH * 4] = {};
    DWORD cbPath = sizeof(szPath) - 1;
    DWORD dwType = 0;
    DWORD dwDriveType = DRIVE_FIXED;
    DWORD cbDriveType = sizeof(dwDriveType);
    bool bHasPath
        = RegQueryValueEx(hDrive, "Path", nullptr, &dwType, reinterpret_cast<LPBYTE>(szPath), &cbPath) == ERROR_SUCCESS
        && dwType == REG_SZ;
    if (RegQueryValueEx(hDrive, "Type", nullptr, &dwType, reinterpret_cast<LPBYTE>(&dwDriveType), &cbDriveType)
            != ERROR_SUCCESS
        || dwType != REG_DWORD)
        dwDriveType = DRIVE_FIXED;
    char szRemote[MAX_PATH * 4] = {};
    DWORD cbRemote = sizeof(szRemote) - 1;
    bool bHasRemote = dwDriveType == DRIVE_REMOTE
        && RegQueryValueEx(hDrive, "Remote", nullptr, &dwType, reinterpret_cast<LPBYTE>(szRemote), &cbRemote)
            == ERROR_SUCCESS
        && dwType == REG_SZ && szRemote[0];
    RegCloseKey(hDrive);
    if (pszLetter[1] != '\0')
        return;
    if (bHasRemote)
        SetRememberedDrive(pszLetter[0], szRemote);
    else if (bHasPath)
        SetDriveOverride(pszLetter[0], szPath[0] ? szPath : nullptr, dwDriveType);
}

}

void ApplyDriveSettingsFromRegistry()
{
    HKEY hDrives = nullptr;
    if (RegOpenKeyEx(HKEY_LOCAL_MACHINE, DRIVE_SETTINGS_KEY, 0, KEY_READ, &hDrives) != ERROR_SUCCESS)
        return;
    char szLetter[16];
    for (DWORD dwIndex = 0;; ++dwIndex) {
        DWORD cchLetter = sizeof(szLetter);
        if (RegEnumKeyEx(hDrives, dwIndex, szLetter, &cchLetter, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        ApplyDriveSetting(hDrives, szLetter);
    }
    RegCloseKey(hDrives);
}
