#pragma once

// Error codes with their documented values, and the calling thread's last error.

#include "platform/base/WinTypes.h"

// clang-format off
constexpr DWORD ERROR_SUCCESS                 = 0;
constexpr DWORD NO_ERROR                      = 0;
constexpr DWORD ERROR_INVALID_FUNCTION        = 1;
constexpr DWORD ERROR_FILE_NOT_FOUND          = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND          = 3;
constexpr DWORD ERROR_TOO_MANY_OPEN_FILES     = 4;
constexpr DWORD ERROR_ACCESS_DENIED           = 5;
constexpr DWORD ERROR_INVALID_HANDLE          = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY       = 8;
constexpr DWORD ERROR_BAD_FORMAT              = 11;
constexpr DWORD ERROR_INVALID_DATA            = 13;
constexpr DWORD ERROR_OUTOFMEMORY             = 14;
constexpr DWORD ERROR_INVALID_DRIVE           = 15;
constexpr DWORD ERROR_CURRENT_DIRECTORY       = 16;
constexpr DWORD ERROR_NOT_SAME_DEVICE         = 17;
constexpr DWORD ERROR_NO_MORE_FILES           = 18;
constexpr DWORD ERROR_WRITE_PROTECT           = 19;
constexpr DWORD ERROR_NOT_READY               = 21;
constexpr DWORD ERROR_SEEK                    = 25;
constexpr DWORD ERROR_WRITE_FAULT             = 29;
constexpr DWORD ERROR_READ_FAULT              = 30;
constexpr DWORD ERROR_GEN_FAILURE             = 31;
constexpr DWORD ERROR_SHARING_VIOLATION       = 32;
constexpr DWORD ERROR_LOCK_VIOLATION          = 33;
constexpr DWORD ERROR_HANDLE_EOF              = 38;
constexpr DWORD ERROR_HANDLE_DISK_FULL        = 39;
constexpr DWORD ERROR_NOT_SUPPORTED           = 50;
constexpr DWORD ERROR_BAD_NETPATH             = 53;
constexpr DWORD ERROR_BAD_DEV_TYPE            = 66;
constexpr DWORD ERROR_BAD_NET_NAME            = 67;
constexpr DWORD ERROR_FILE_EXISTS             = 80;
constexpr DWORD ERROR_ALREADY_ASSIGNED        = 85;
constexpr DWORD ERROR_INVALID_PASSWORD        = 86;
constexpr DWORD ERROR_INVALID_PARAMETER       = 87;
constexpr DWORD ERROR_BROKEN_PIPE             = 109;
constexpr DWORD ERROR_OPEN_FAILED             = 110;
constexpr DWORD ERROR_BUFFER_OVERFLOW         = 111;
constexpr DWORD ERROR_DISK_FULL               = 112;
constexpr DWORD ERROR_CALL_NOT_IMPLEMENTED    = 120;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER     = 122;
constexpr DWORD ERROR_INVALID_NAME            = 123;
constexpr DWORD ERROR_MOD_NOT_FOUND           = 126;
constexpr DWORD ERROR_PROC_NOT_FOUND          = 127;
constexpr DWORD ERROR_NEGATIVE_SEEK           = 131;
constexpr DWORD ERROR_DIR_NOT_ROOT            = 144;
constexpr DWORD ERROR_DIR_NOT_EMPTY           = 145;
constexpr DWORD ERROR_NOT_LOCKED              = 158;
constexpr DWORD ERROR_BAD_PATHNAME            = 161;
constexpr DWORD ERROR_BUSY                    = 170;
constexpr DWORD ERROR_ALREADY_EXISTS          = 183;
constexpr DWORD ERROR_ENVVAR_NOT_FOUND        = 203;
constexpr DWORD ERROR_FILENAME_EXCED_RANGE    = 206;
constexpr DWORD ERROR_MORE_DATA               = 234;
constexpr DWORD WAIT_TIMEOUT                  = 258;
constexpr DWORD ERROR_NO_MORE_ITEMS           = 259;
constexpr DWORD ERROR_DIRECTORY               = 267;
constexpr DWORD ERROR_NOT_OWNER               = 288;
constexpr DWORD ERROR_TOO_MANY_POSTS          = 298;
constexpr DWORD ERROR_ABANDONED_WAIT_0        = 735;
constexpr DWORD ERROR_OPERATION_ABORTED       = 995;
constexpr DWORD ERROR_IO_PENDING              = 997;
constexpr DWORD ERROR_BADDB                   = 1009;
constexpr DWORD ERROR_BADKEY                  = 1010;
constexpr DWORD ERROR_CANTOPEN                = 1011;
constexpr DWORD ERROR_CANTREAD                = 1012;
constexpr DWORD ERROR_CANTWRITE               = 1013;
constexpr DWORD ERROR_REGISTRY_CORRUPT        = 1015;
constexpr DWORD ERROR_KEY_DELETED             = 1018;
constexpr DWORD ERROR_NOTIFY_ENUM_DIR         = 1022;
constexpr DWORD ERROR_INVALID_FLAGS           = 1004;
constexpr DWORD ERROR_NO_ASSOCIATION          = 1155;
constexpr DWORD ERROR_BAD_DEVICE              = 1200;
constexpr DWORD ERROR_CONNECTION_UNAVAIL      = 1201;
constexpr DWORD ERROR_CANCELLED               = 1223;
constexpr DWORD ERROR_RESOURCE_DATA_NOT_FOUND = 1812;
constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;
constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;
constexpr DWORD ERROR_RESOURCE_LANG_NOT_FOUND = 1815;
constexpr DWORD ERROR_CANT_ACCESS_FILE        = 1920;
constexpr DWORD ERROR_CANT_RESOLVE_FILENAME   = 1921;
constexpr DWORD ERROR_NOT_CONNECTED           = 2250;
// clang-format on

// The calling thread's last error, as set by the platform calls that fail.
DWORD GetLastError();
void SetLastError(DWORD dwErrCode);

// The Win32 error code for a C library errno value (ENOENT -> ERROR_FILE_NOT_FOUND, ...).
// Unknown values map to ERROR_GEN_FAILURE.
DWORD Win32ErrorFromErrno(int nErrno);

// Sets the last error from errno and returns it; for the failure paths of calls
// that wrap POSIX functions.
DWORD SetLastErrorFromErrno();
