#pragma once

// SHGetFileInfo: what the shell shows of a file, folder or drive — its icon in
// the system image lists, a copy of that icon, and its type name.

#include "platform/base/WinTypes.h"
#include "platform/gdi/Icons.h"

struct SHFILEINFO {
    HICON hIcon;                  // SHGFI_ICON: a new icon, which the caller destroys
    int iIcon;                    // the index in the system image list
    DWORD dwAttributes;           // not filled
    char szDisplayName[MAX_PATH]; // not filled
    char szTypeName[80];          // SHGFI_TYPENAME
};

// clang-format off
constexpr UINT SHGFI_LARGEICON         = 0x00000000; // the large icon (the default)
constexpr UINT SHGFI_SMALLICON         = 0x00000001; // the small icon
constexpr UINT SHGFI_OPENICON          = 0x00000002; // a folder's open icon
constexpr UINT SHGFI_PIDL              = 0x00000008; // pszPath is an absolute item identifier list
constexpr UINT SHGFI_USEFILEATTRIBUTES = 0x00000010; // take the type from the name and dwFileAttributes; the item need not exist
constexpr UINT SHGFI_ICON              = 0x00000100; // fill hIcon (and iIcon)
constexpr UINT SHGFI_TYPENAME          = 0x00000400; // fill szTypeName
constexpr UINT SHGFI_SYSICONINDEX      = 0x00004000; // fill iIcon and return the system image list
// clang-format on

// Describes the item at pszPath by the SHGFI_* flags in uFlags. Without
// SHGFI_USEFILEATTRIBUTES the item must exist: a folder, a drive's root
// ("C:\"), a share ("\\server\share\") or a file; with it, only the name and
// FILE_ATTRIBUTE_DIRECTORY in dwFileAttributes count. Files take their icon
// and type from their extension. With SHGFI_PIDL the item is named by an
// absolute item list instead: virtual folders are "System Folder"s with icons
// of their own, other items are described by their paths. With SHGFI_SYSICONINDEX the result is the
// system image list (small with SHGFI_SMALLICON), otherwise nonzero; 0 when
// the item is not there or an argument is bad (psfi null, cbFileInfo too
// small, a flag not listed here), with the last error set.
DWORD_PTR SHGetFileInfo(LPCTSTR pszPath, DWORD dwFileAttributes, SHFILEINFO* psfi, UINT cbFileInfo, UINT uFlags);
