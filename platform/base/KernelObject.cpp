#include "platform/base/KernelObject.h"

#include "platform/base/WinError.h"

#include <mutex>
#include <unordered_map>

namespace {

// Handle values start high and step by 4, as real handles do, so that neither 0
// nor INVALID_HANDLE_VALUE nor the process pseudo handle is ever issued.
constexpr UINT_PTR FIRST_HANDLE = 0x1000;
constexpr UINT_PTR HANDLE_STEP = 4;
constexpr UINT_PTR CURRENT_PROCESS_HANDLE = static_cast<UINT_PTR>(-1);

struct HandleTable {
    std::mutex mutex;
    std::unordered_map<UINT_PTR, std::shared_ptr<CKernelObject>> objects;
    UINT_PTR nNext { FIRST_HANDLE };
};

HandleTable& Table()
{
    static HandleTable* pTable = new HandleTable; // never destroyed: threads may close handles during exit
    return *pTable;
}

}

HANDLE CreateKernelHandle(std::shared_ptr<CKernelObject> pObject)
{
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    UINT_PTR nHandle = table.nNext;
    table.nNext += HANDLE_STEP;
    table.objects.emplace(nHandle, std::move(pObject));
    return reinterpret_cast<HANDLE>(nHandle);
}

std::shared_ptr<CKernelObject> LookupKernelHandle(HANDLE hHandle)
{
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.objects.find(reinterpret_cast<UINT_PTR>(hHandle));
    if (it == table.objects.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return it->second;
}

BOOL CloseHandle(HANDLE hObject)
{
    std::shared_ptr<CKernelObject> pObject; // released outside the lock: a destructor may close handles too
    {
        HandleTable& table = Table();
        std::lock_guard lock(table.mutex);
        auto it = table.objects.find(reinterpret_cast<UINT_PTR>(hObject));
        if (it == table.objects.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        pObject = std::move(it->second);
        table.objects.erase(it);
    }
    return TRUE;
}

BOOL DuplicateHandle(HANDLE, HANDLE hSource, HANDLE, LPHANDLE phTarget, DWORD, BOOL, DWORD dwOptions)
{
    std::shared_ptr<CKernelObject> pObject = LookupKernelHandle(hSource);
    if (!pObject || !phTarget) {
        SetLastError(pObject ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    *phTarget = CreateKernelHandle(std::move(pObject));
    if (dwOptions & DUPLICATE_CLOSE_SOURCE)
        CloseHandle(hSource);
    return TRUE;
}

HANDLE GetCurrentProcess()
{
    return reinterpret_cast<HANDLE>(CURRENT_PROCESS_HANDLE);
}
