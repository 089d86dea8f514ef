#include "platform/base/WinError.h"

#include <cerrno>

namespace {
thread_local DWORD t_dwLastError = ERROR_SUCCESS;
}

DWORD GetLastError()
{
    return t_dwLastError;
}

void SetLastError(DWORD dwErrCode)
{
    t_dwLastError = dwErrCode;
}

DWORD Win32ErrorFromErrno(int nErrno)
{
    switch (nErrno) {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM:
        return ERROR_ACCESS_DENIED;
    case EROFS:
        return ERROR_WRITE_PROTECT;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY:
        return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT:
        return ERROR_DISK_FULL;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case ELOOP:
        return ERROR_CANT_RESOLVE_FILENAME;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case EXDEV:
        return ERROR_NOT_SAME_DEVICE;
    case EISDIR:
        return ERROR_ACCESS_DENIED;
    case EBUSY:
    case ETXTBSY:
        return ERROR_SHARING_VIOLATION;
    case EAGAIN:
        return ERROR_LOCK_VIOLATION;
    case ESPIPE:
        return ERROR_SEEK;
    case EIO:
        return ERROR_GEN_FAILURE;
    case ENOSYS:
    case EOPNOTSUPP:
        return ERROR_NOT_SUPPORTED;
    default:
        return ERROR_GEN_FAILURE;
    }
}

DWORD SetLastErrorFromErrno()
{
    DWORD dwError = Win32ErrorFromErrno(errno);
    SetLastError(dwError);
    return dwError;
}
