#pragma once

// Kernel objects behind HANDLE values: events, mutexes, threads, open files and
// the rest. A HANDLE is a key into one process-wide table, so a stale or forged
// handle is refused with ERROR_INVALID_HANDLE instead of being dereferenced.

#include "platform/base/WinError.h"
#include "platform/base/WinTypes.h"

#include <memory>

// Base of every object a HANDLE can name. Objects are shared: a handle holds one
// reference, and a call that works on an object (a wait, a read) holds another
// while it runs, so closing a handle from another thread never pulls the object
// out from under it.
class CKernelObject : public std::enable_shared_from_this<CKernelObject> {
public:
    virtual ~CKernelObject() = default;
};

// Enters `pObject` in the handle table and returns its new handle.
HANDLE CreateKernelHandle(std::shared_ptr<CKernelObject> pObject);

// The object behind `hHandle` when it is live and of type T; else nullptr with
// the last error set to ERROR_INVALID_HANDLE.
std::shared_ptr<CKernelObject> LookupKernelHandle(HANDLE hHandle);
template<typename T> std::shared_ptr<T> LookupKernelHandleAs(HANDLE hHandle)
{
    auto pObject = std::dynamic_pointer_cast<T>(LookupKernelHandle(hHandle));
    if (!pObject)
        SetLastError(ERROR_INVALID_HANDLE);
    return pObject;
}

// Removes the handle from the table; the object goes when its last user lets go.
// Fails with ERROR_INVALID_HANDLE for a handle that is not live.
BOOL CloseHandle(HANDLE hObject);

// A second handle to the same object, in this process.
constexpr DWORD DUPLICATE_SAME_ACCESS = 0x00000002;
constexpr DWORD DUPLICATE_CLOSE_SOURCE = 0x00000001;
BOOL DuplicateHandle(HANDLE hSourceProcess, HANDLE hSource, HANDLE hTargetProcess, LPHANDLE phTarget,
    DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwOptions);

// The pseudo handle of the current process, accepted where a process handle is asked.
HANDLE GetCurrentProcess();
