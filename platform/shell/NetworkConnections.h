#pragma once

// Network connections of drive letters, on the drive table (DriveTable.h): a
// share is connected when a mount of this machine gives it; connecting a
// letter makes it a network letter of the process on that mount. Mounting
// itself needs privileges or the desktop's own mount service, so passwords
// and user names are neither used, stored nor traced.

#include "platform/base/WinTypes.h"

// clang-format off
constexpr DWORD RESOURCETYPE_ANY  = 0x00000000;
constexpr DWORD RESOURCETYPE_DISK = 0x00000001;
constexpr DWORD CONNECT_UPDATE_PROFILE = 0x00000001; // refused
// clang-format on

struct NETRESOURCE {
    DWORD dwScope;
    DWORD dwType;
    DWORD dwDisplayType;
    DWORD dwUsage;
    LPSTR lpLocalName;  // "N:", or NULL for a connection without a letter
    LPSTR lpRemoteName; // "\\server\share"
    LPSTR lpComment;
    LPSTR lpProvider;
};
using LPNETRESOURCE = NETRESOURCE*;

// The share a letter ("N:") stands for, into lpRemoteName (*lpnLength
// characters with the NUL). NO_ERROR for a connected network letter;
// ERROR_CONNECTION_UNAVAIL, with the remembered name, for a remembered letter
// whose share is not mounted; ERROR_NOT_CONNECTED for a letter that is no
// network drive; ERROR_BAD_DEVICE for a malformed name; ERROR_MORE_DATA with
// the length needed in *lpnLength.
DWORD WNetGetConnection(LPCSTR lpLocalName, LPSTR lpRemoteName, LPDWORD lpnLength);

// Connects a share, after reading the drive table again: NO_ERROR when a
// mount gives it (the local name, if any, becomes a network letter on it);
// ERROR_BAD_NET_NAME when none does; ERROR_ALREADY_ASSIGNED when another drive
// holds the letter; ERROR_BAD_DEV_TYPE for anything but RESOURCETYPE_DISK;
// ERROR_INVALID_PARAMETER for CONNECT_UPDATE_PROFILE or a missing resource.
DWORD WNetAddConnection2(LPNETRESOURCE lpNetResource, LPCSTR lpPassword, LPCSTR lpUserName, DWORD dwFlags);
