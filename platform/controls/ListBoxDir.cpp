// LB_DIR: a list box filled with the names of a folder and the drives.

#include "platform/controls/ListBoxInternal.h"

#include "platform/base/FileFind.h"
#include "platform/base/Volumes.h"
#include "platform/base/WinError.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <string>
#include <string_view>

namespace {

constexpr DWORD LISTED_ATTRIBUTES = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
    | FILE_ATTRIBUTE_ARCHIVE; // the DDL_ flags of the same values name these

// Whether an entry of the folder is listed, and as what.
bool IsListed(const WIN32_FIND_DATA& entry, UINT uFlags, std::string& strItem)
{
    std::string_view strName(entry.cFileName);
    if (strName == ".")
        return false;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        strItem = "[" + std::string(strName) + "]";
        return (uFlags & DDL_DIRECTORY) != 0;
    }
    strItem = strName;
    const DWORD dwAttributes = entry.dwFileAttributes & LISTED_ATTRIBUTES;
    if (uFlags & DDL_EXCLUSIVE)
        return (dwAttributes & uFlags) != 0;
    // Hidden and system files only when asked for; every other file always.
    const DWORD dwShy = dwAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    return (dwShy & ~static_cast<DWORD>(uFlags)) == 0;
}

} // namespace

LRESULT ListBoxDir(HWND hList, UINT uFlags, LPCSTR lpszPattern)
{
    if (!lpszPattern)
        return LB_ERR;
    LRESULT nLast = LB_ERR;
    auto add = [&](const std::string& strItem) {
        LRESULT nIndex = SendMessage(hList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strItem.c_str()));
        if (nIndex >= 0)
            nLast = nIndex;
    };

    WIN32_FIND_DATA entry {};
    HANDLE hFind = FindFirstFile(lpszPattern, &entry);
    if (hFind == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_NOT_FOUND)
        return LB_ERR;
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            std::string strItem;
            if (IsListed(entry, uFlags, strItem))
                add(strItem);
        } while (IsWindow(hList) && FindNextFile(hFind, &entry));
        FindClose(hFind);
    }
    if (uFlags & DDL_DRIVES) {
        const DWORD dwDrives = GetLogicalDrives();
        for (int nDrive = 0; nDrive < 26; ++nDrive) {
            if (dwDrives & (1u << nDrive))
                add(std::string("[-") + static_cast<char>('a' + nDrive) + "-]");
        }
    }
    return nLast;
}
