#include "platform/base/Registry.h"

#include "platform/base/Clock.h"
#include "platform/base/KernelObject.h"
#include "platform/base/RegistryStore.h"
#include "platform/base/TextFunctions.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>

namespace {

// Generic rights a caller may ask for, and what they grant on a key.
constexpr REGSAM GENERIC_READ_RIGHT = 0x80000000;
constexpr REGSAM GENERIC_WRITE_RIGHT = 0x40000000;
constexpr REGSAM GENERIC_EXECUTE_RIGHT = 0x20000000;
constexpr REGSAM GENERIC_ALL_RIGHT = 0x10000000;
constexpr REGSAM MAXIMUM_ALLOWED_RIGHT = 0x02000000;

REGSAM KeyRightsFromRequest(REGSAM samDesired)
{
    REGSAM sam = samDesired;
    if (samDesired & (GENERIC_ALL_RIGHT | MAXIMUM_ALLOWED_RIGHT))
        sam |= KEY_ALL_ACCESS;
    if (samDesired & (GENERIC_READ_RIGHT | GENERIC_EXECUTE_RIGHT))
        sam |= KEY_READ;
    if (samDesired & GENERIC_WRITE_RIGHT)
        sam |= KEY_WRITE;
    return sam;
}

// An open key. It names its key by path, so that it finds the key again when the
// tree is read anew from disk, and holds the node, so that it notices when the
// key was deleted through this process.
class CRegistryKeyHandle : public CKernelObject {
public:
    ERegistryRoot m_eRoot { ERegistryRoot::CurrentUser };
    std::vector<std::string> m_path; // key names below the root
    REGSAM m_sam { 0 };
    std::shared_ptr<CRegistryNode> m_pNode;
    unsigned long long m_nGeneration { 0 }; // of the tree m_pNode belongs to
};

// A key as one call sees it: the node in the store's current tree and the rights of the handle.
struct CKeyRef {
    ERegistryRoot eRoot { ERegistryRoot::CurrentUser };
    std::vector<std::string> path;
    REGSAM sam { 0 };
    std::shared_ptr<CRegistryNode> pNode;
};

// Serialises every registry call of the process.
std::mutex& RegistryMutex()
{
    static std::mutex* pMutex = new std::mutex; // never destroyed: handles may be closed during exit
    return *pMutex;
}

std::optional<ERegistryRoot> PredefinedRoot(HKEY hKey)
{
    if (hKey == HKEY_CLASSES_ROOT)
        return ERegistryRoot::ClassesRoot;
    if (hKey == HKEY_CURRENT_USER)
        return ERegistryRoot::CurrentUser;
    if (hKey == HKEY_LOCAL_MACHINE)
        return ERegistryRoot::LocalMachine;
    return std::nullopt;
}

std::shared_ptr<CRegistryNode> FindPath(
    std::shared_ptr<CRegistryNode> pNode, const std::vector<std::string>& path, size_t nCount)
{
    for (size_t i = 0; i < nCount && pNode; ++i)
        pNode = pNode->FindSubkey(path[i]);
    return pNode;
}

// Splits a subkey path into key names. NULL and "" give no names; empty names
// between doubled or trailing backslashes are skipped.
DWORD SplitSubKey(LPCTSTR lpSubKey, std::vector<std::string>& names)
{
    if (!lpSubKey)
        return ERROR_SUCCESS;
    if (*lpSubKey == '\\')
        return ERROR_BAD_PATHNAME;
    std::string_view strPath(lpSubKey);
    for (size_t nStart = 0; nStart <= strPath.size();) {
        size_t nEnd = strPath.find('\\', nStart);
        if (nEnd == std::string_view::npos)
            nEnd = strPath.size();
        if (nEnd > nStart)
            names.emplace_back(strPath.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    return ERROR_SUCCESS;
}

// Finds the root and the handle object of `hKey` (no handle object for a predefined root).
DWORD IdentifyKey(HKEY hKey, ERegistryRoot& eRoot, std::shared_ptr<CRegistryKeyHandle>& pHandle)
{
    if (auto eDefined = PredefinedRoot(hKey)) {
        eRoot = *eDefined;
        return ERROR_SUCCESS;
    }
    pHandle = LookupKernelHandleAs<CRegistryKeyHandle>(reinterpret_cast<HANDLE>(hKey));
    if (!pHandle)
        return ERROR_INVALID_HANDLE;
    eRoot = pHandle->m_eRoot;
    return ERROR_SUCCESS;
}

// Binds an identified key to the store's current tree and checks the rights
// `samNeeded` against the handle's.
DWORD BindKey(ERegistryRoot eRoot, CRegistryKeyHandle* pHandle, REGSAM samNeeded, CKeyRef& ref)
{
    CRegistryStore& store = CRegistryStore::ForRoot(eRoot);
    ref.eRoot = eRoot;
    if (!pHandle) {
        ref.sam = KEY_ALL_ACCESS;
        ref.pNode = store.GetRoot();
    } else {
        if (pHandle->m_pNode->IsDeleted())
            return ERROR_KEY_DELETED;
        if (pHandle->m_nGeneration != store.GetGeneration()) {
            auto pNode = FindPath(store.GetRoot(), pHandle->m_path, pHandle->m_path.size());
            if (!pNode)
                return ERROR_KEY_DELETED;
            pHandle->m_pNode = std::move(pNode);
            pHandle->m_nGeneration = store.GetGeneration();
        }
        ref.path = pHandle->m_path;
        ref.sam = pHandle->m_sam;
        ref.pNode = pHandle->m_pNode;
    }
    return (ref.sam & samNeeded) == samNeeded ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

// Prepares a call that only reads: the tree is brought up to date first.
DWORD ReadKey(HKEY hKey, REGSAM samNeeded, CKeyRef& ref)
{
    ERegistryRoot eRoot {};
    std::shared_ptr<CRegistryKeyHandle> pHandle;
    if (DWORD dwError = IdentifyKey(hKey, eRoot, pHandle))
        return dwError;
    if (DWORD dwError = CRegistryStore::ForRoot(eRoot).Refresh())
        return dwError;
    return BindKey(eRoot, pHandle.get(), samNeeded, ref);
}

// Runs a change on the key under the store's file lock and saves it.
DWORD ChangeKey(HKEY hKey, REGSAM samNeeded,
    const std::function<DWORD(CRegistryNode& root, CKeyRef& ref, bool& bChanged)>& fnChange)
{
    ERegistryRoot eRoot {};
    std::shared_ptr<CRegistryKeyHandle> pHandle;
    if (DWORD dwError = IdentifyKey(hKey, eRoot, pHandle))
        return dwError;
    return CRegistryStore::ForRoot(eRoot).Change([&](CRegistryNode& root, bool& bChanged) {
        CKeyRef ref;
        if (DWORD dwError = BindKey(eRoot, pHandle.get(), samNeeded, ref))
            return dwError;
        return fnChange(root, ref, bChanged);
    });
}

} // namespace

CRegistryBatch::CRegistryBatch(HKEY hKey)
{
    ERegistryRoot eRoot {};
    std::shared_ptr<CRegistryKeyHandle> pHandle;
    std::lock_guard lock(RegistryMutex());
    m_nBeginError = static_cast<LSTATUS>(IdentifyKey(hKey, eRoot, pHandle));
    if (m_nBeginError == ERROR_SUCCESS)
        m_nBeginError = static_cast<LSTATUS>(CRegistryStore::ForRoot(eRoot).BeginBatch());
    if (m_nBeginError == ERROR_SUCCESS)
        m_nRoot = static_cast<int>(eRoot);
}

CRegistryBatch::~CRegistryBatch()
{
    static_cast<void>(Commit());
}

LSTATUS CRegistryBatch::Commit()
{
    if (m_nRoot < 0)
        return m_nBeginError;
    std::lock_guard lock(RegistryMutex());
    const auto eRoot = static_cast<ERegistryRoot>(std::exchange(m_nRoot, -1));
    m_nBeginError = static_cast<LSTATUS>(CRegistryStore::ForRoot(eRoot).EndBatch());
    return m_nBeginError;
}

namespace {

HKEY OpenHandle(
    const CKeyRef& ref, std::vector<std::string> names, std::shared_ptr<CRegistryNode> pNode, REGSAM samDesired)
{
    auto pHandle = std::make_shared<CRegistryKeyHandle>();
    pHandle->m_eRoot = ref.eRoot;
    pHandle->m_path = ref.path;
    pHandle->m_path.insert(pHandle->m_path.end(), names.begin(), names.end());
    pHandle->m_sam = KeyRightsFromRequest(samDesired);
    pHandle->m_pNode = std::move(pNode);
    pHandle->m_nGeneration = CRegistryStore::ForRoot(ref.eRoot).GetGeneration();
    return reinterpret_cast<HKEY>(CreateKernelHandle(std::move(pHandle)));
}

// Copies data the way RegQueryValueEx and RegEnumValue hand it out.
DWORD CopyValueData(const CRegistryValue& value, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData)
{
    if (lpType)
        *lpType = value.dwType;
    auto cbSize = static_cast<DWORD>(value.data.size());
    if (lpData) {
        if (*lpcbData < cbSize) {
            *lpcbData = cbSize;
            return ERROR_MORE_DATA;
        }
        if (cbSize > 0) // an empty value's data may be no buffer at all
            std::memcpy(lpData, value.data.data(), cbSize);
    }
    if (lpcbData)
        *lpcbData = cbSize;
    return ERROR_SUCCESS;
}

// Copies a name into a buffer of `*lpcchName` characters (NUL included) and
// sets `*lpcchName` to its length without the NUL.
DWORD CopyName(const std::string& strName, LPTSTR lpName, LPDWORD lpcchName)
{
    if (strName.size() + 1 > *lpcchName)
        return ERROR_MORE_DATA;
    std::memcpy(lpName, strName.c_str(), strName.size() + 1);
    *lpcchName = static_cast<DWORD>(strName.size());
    return ERROR_SUCCESS;
}

void StoreFileTime(ULONGLONG nTime, FILETIME* pTime)
{
    if (pTime)
        *pTime = { static_cast<DWORD>(nTime), static_cast<DWORD>(nTime >> 32) };
}

// Deletes the key `lpSubKey` names below `hKey` ("" for `hKey` itself) with
// everything below it, or only when it has no subkeys.
enum class EDeleteKey { LeafOnly, WithSubkeys };
DWORD DeleteKey(HKEY hKey, LPCTSTR lpSubKey, REGSAM samNeeded, EDeleteKey eDelete)
{
    std::vector<std::string> names;
    if (!lpSubKey)
        return ERROR_INVALID_PARAMETER;
    if (DWORD dwError = SplitSubKey(lpSubKey, names))
        return dwError;
    std::shared_ptr<CRegistryNode> pDeleted;
    DWORD dwError = ChangeKey(hKey, samNeeded, [&](CRegistryNode&, CKeyRef& ref, bool& bChanged) {
        std::vector<std::string> path = ref.path;
        path.insert(path.end(), names.begin(), names.end());
        if (path.empty())
            return ERROR_ACCESS_DENIED; // a root cannot be deleted
        auto pParent = names.empty() ? FindPath(CRegistryStore::ForRoot(ref.eRoot).GetRoot(), path, path.size() - 1)
                                     : FindPath(ref.pNode, names, names.size() - 1);
        auto pTarget = pParent ? pParent->FindSubkey(path.back()) : nullptr;
        if (!pTarget)
            return ERROR_FILE_NOT_FOUND;
        if (eDelete == EDeleteKey::LeafOnly && !pTarget->GetSubkeys().empty())
            return ERROR_ACCESS_DENIED;
        pDeleted = pParent->RemoveSubkey(path.back());
        pParent->SetLastWriteTime(ClockUtcNow());
        bChanged = true;
        return ERROR_SUCCESS;
    });
    if (dwError == ERROR_SUCCESS)
        pDeleted->MarkDeleted();
    return dwError;
}

/********************************* Key hooks *********************************/

struct CHookedKey {
    ERegistryRoot eRoot;
    std::vector<std::string> path;
    CRegistryKeyHook* pHook;
};

struct CKeyHooks {
    std::mutex mutex;
    std::vector<CHookedKey> keys;
    std::atomic<bool> bAny { false };
};

CKeyHooks& KeyHooks()
{
    static auto* pHooks = new CKeyHooks;
    return *pHooks;
}

thread_local bool t_bInHook = false;

bool SameNames(const std::vector<std::string>& path, const std::vector<std::string>& prefix, size_t nCount)
{
    if (path.size() < nCount || prefix.size() < nCount)
        return false;
    for (size_t i = 0; i < nCount; ++i) {
        if (Utf8CompareNoCase(path[i], prefix[i]) != 0)
            return false;
    }
    return true;
}

// The hooks of the keys a call reaches: hKey and lpSubKey below it; with
// bExact only the hook of that very key, else those of it and every key above.
std::vector<CRegistryKeyHook*> HooksFor(HKEY hKey, LPCTSTR lpSubKey, bool bExact)
{
    CKeyHooks& hooks = KeyHooks();
    if (!hooks.bAny.load() || t_bInHook)
        return {};
    ERegistryRoot eRoot {};
    std::shared_ptr<CRegistryKeyHandle> pHandle;
    std::vector<std::string> path;
    if (IdentifyKey(hKey, eRoot, pHandle) != ERROR_SUCCESS || SplitSubKey(lpSubKey, path) != ERROR_SUCCESS)
        return {};
    if (pHandle)
        path.insert(path.begin(), pHandle->m_path.begin(), pHandle->m_path.end());
    std::vector<CRegistryKeyHook*> found;
    std::lock_guard lock(hooks.mutex);
    for (const CHookedKey& key : hooks.keys) {
        if (key.eRoot == eRoot && SameNames(path, key.path, key.path.size())
            && (!bExact || path.size() == key.path.size()))
            found.push_back(key.pHook);
    }
    return found;
}

// Tells the hooks of the keys a call reaches that they are about to be used.
void NotifyKeyUse(HKEY hKey, LPCTSTR lpSubKey)
{
    for (CRegistryKeyHook* pHook : HooksFor(hKey, lpSubKey, false)) {
        t_bInHook = true;
        pHook->OnKeyUse();
        t_bInHook = false;
    }
}

// Asks the hook of a key whether a value may change.
DWORD NotifyValueChange(
    HKEY hKey, const std::string& strName, bool bDelete, DWORD dwType, const std::vector<BYTE>& data)
{
    for (CRegistryKeyHook* pHook : HooksFor(hKey, nullptr, true)) {
        t_bInHook = true;
        DWORD dwError = pHook->OnValueChange(strName, bDelete, dwType, data);
        t_bInHook = false;
        if (dwError != ERROR_SUCCESS)
            return dwError;
    }
    return ERROR_SUCCESS;
}

}

void SetRegistryKeyHook(HKEY hRoot, LPCTSTR lpSubKey, CRegistryKeyHook* pHook)
{
    std::optional<ERegistryRoot> eRoot = PredefinedRoot(hRoot);
    std::vector<std::string> path;
    if (!eRoot || SplitSubKey(lpSubKey, path) != ERROR_SUCCESS)
        return;
    CKeyHooks& hooks = KeyHooks();
    std::lock_guard lock(hooks.mutex);
    std::erase_if(hooks.keys, [&](const CHookedKey& key) {
        return key.eRoot == *eRoot && key.path.size() == path.size() && SameNames(key.path, path, path.size());
    });
    if (pHook)
        hooks.keys.push_back({ *eRoot, std::move(path), pHook });
    hooks.bAny = !hooks.keys.empty();
}

/************************* Opening, creating, closing ************************/

LSTATUS RegCreateKeyEx(HKEY hKey, LPCTSTR lpSubKey, DWORD, LPTSTR, DWORD, REGSAM samDesired,
    const LPSECURITY_ATTRIBUTES, PHKEY phkResult, LPDWORD lpdwDisposition)
{
    NotifyKeyUse(hKey, lpSubKey);
    std::lock_guard lock(RegistryMutex());
    std::vector<std::string> names;
    if (!lpSubKey || !phkResult)
        return ERROR_INVALID_PARAMETER;
    if (DWORD dwError = SplitSubKey(lpSubKey, names))
        return static_cast<LSTATUS>(dwError);
    CKeyRef parent;
    std::shared_ptr<CRegistryNode> pKey;
    bool bCreated = false;
    DWORD dwError = ChangeKey(hKey, 0, [&](CRegistryNode&, CKeyRef& ref, bool& bChanged) {
        if (ref.path.size() + names.size() > REGISTRY_MAX_DEPTH)
            return ERROR_INVALID_PARAMETER;
        pKey = ref.pNode;
        for (const std::string& strName : names) {
            auto pSubkey = pKey->FindSubkey(strName);
            bCreated = !pSubkey;
            if (bCreated) {
                if (!(ref.sam & KEY_CREATE_SUB_KEY))
                    return ERROR_ACCESS_DENIED;
                pSubkey = pKey->AddSubkey(strName, bCreated);
                pSubkey->SetLastWriteTime(ClockUtcNow());
                pKey->SetLastWriteTime(ClockUtcNow());
                bChanged = true;
            }
            pKey = std::move(pSubkey);
        }
        parent = ref;
        return ERROR_SUCCESS;
    });
    if (dwError != ERROR_SUCCESS)
        return static_cast<LSTATUS>(dwError);
    *phkResult = OpenHandle(parent, std::move(names), std::move(pKey), samDesired);
    if (lpdwDisposition)
        *lpdwDisposition = bCreated ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

LSTATUS RegOpenKeyEx(HKEY hKey, LPCTSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult)
{
    NotifyKeyUse(hKey, lpSubKey);
    std::lock_guard lock(RegistryMutex());
    std::vector<std::string> names;
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    if (DWORD dwError = SplitSubKey(lpSubKey, names))
        return static_cast<LSTATUS>(dwError);
    CKeyRef ref;
    if (DWORD dwError = ReadKey(hKey, 0, ref))
        return static_cast<LSTATUS>(dwError);
    auto pKey = FindPath(ref.pNode, names, names.size());
    if (!pKey)
        return ERROR_FILE_NOT_FOUND;
    *phkResult = OpenHandle(ref, std::move(names), std::move(pKey), samDesired);
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY hKey)
{
    std::lock_guard lock(RegistryMutex());
    if (PredefinedRoot(hKey))
        return ERROR_SUCCESS;
    auto hHandle = reinterpret_cast<HANDLE>(hKey);
    if (!LookupKernelHandleAs<CRegistryKeyHandle>(hHandle) || !CloseHandle(hHandle))
        return ERROR_INVALID_HANDLE;
    return ERROR_SUCCESS;
}

/********************************** Values ***********************************/

LSTATUS RegQueryValueEx(HKEY hKey, LPCTSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData)
{
    NotifyKeyUse(hKey, nullptr);
    std::lock_guard lock(RegistryMutex());
    if (lpData && !lpcbData)
        return ERROR_INVALID_PARAMETER;
    CKeyRef ref;
    if (DWORD dwError = ReadKey(hKey, KEY_QUERY_VALUE, ref))
        return static_cast<LSTATUS>(dwError);
    const CRegistryValue* pValue = ref.pNode->FindValue(lpValueName ? lpValueName : "");
    if (!pValue)
        return ERROR_FILE_NOT_FOUND;
    return static_cast<LSTATUS>(CopyValueData(*pValue, lpType, lpData, lpcbData));
}

LSTATUS RegSetValueEx(HKEY hKey, LPCTSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData)
{
    if (!lpData && cbData)
        return ERROR_INVALID_PARAMETER;
    std::vector<BYTE> data(lpData, lpData + (lpData ? cbData : 0));
    if ((dwType == REG_SZ || dwType == REG_EXPAND_SZ) && (data.empty() || data.back() != 0))
        data.push_back(0);
    std::string strName = lpValueName ? lpValueName : "";
    if (DWORD dwRefused = NotifyValueChange(hKey, strName, false, dwType, data))
        return static_cast<LSTATUS>(dwRefused);
    std::lock_guard lock(RegistryMutex());
    return static_cast<LSTATUS>(ChangeKey(hKey, KEY_SET_VALUE, [&](CRegistryNode&, CKeyRef& ref, bool& bChanged) {
        const CRegistryValue* pValue = ref.pNode->FindValue(strName);
        if (pValue && pValue->dwType == dwType && pValue->data == data)
            return ERROR_SUCCESS;
        ref.pNode->SetValue(strName, dwType, std::move(data));
        ref.pNode->SetLastWriteTime(ClockUtcNow());
        bChanged = true;
        return ERROR_SUCCESS;
    }));
}

LSTATUS RegDeleteValue(HKEY hKey, LPCTSTR lpValueName)
{
    std::string strName = lpValueName ? lpValueName : "";
    if (DWORD dwRefused = NotifyValueChange(hKey, strName, true, REG_NONE, {}))
        return static_cast<LSTATUS>(dwRefused);
    std::lock_guard lock(RegistryMutex());
    return static_cast<LSTATUS>(ChangeKey(hKey, KEY_SET_VALUE, [&](CRegistryNode&, CKeyRef& ref, bool& bChanged) {
        if (!ref.pNode->RemoveValue(strName))
            return ERROR_FILE_NOT_FOUND;
        ref.pNode->SetLastWriteTime(ClockUtcNow());
        bChanged = true;
        return ERROR_SUCCESS;
    }));
}

/************************* Enumeration and information ***********************/

LSTATUS RegEnumKeyEx(HKEY hKey, DWORD dwIndex, LPTSTR lpName, LPDWORD lpcchName, LPDWORD, LPTSTR lpClass,
    LPDWORD lpcchClass, FILETIME* lpftLastWriteTime)
{
    NotifyKeyUse(hKey, nullptr);
    std::lock_guard lock(RegistryMutex());
    if (!lpName || !lpcchName)
        return ERROR_INVALID_PARAMETER;
    CKeyRef ref;
    if (DWORD dwError = ReadKey(hKey, KEY_ENUMERATE_SUB_KEYS, ref))
        return static_cast<LSTATUS>(dwError);
    const CRegistryNode* pSubkey = ref.pNode->SubkeyAt(dwIndex);
    if (!pSubkey)
        return ERROR_NO_MORE_ITEMS;
    const CRegistryNode& subkey = *pSubkey;
    if (DWORD dwError = CopyName(subkey.GetName(), lpName, lpcchName))
        return static_cast<LSTATUS>(dwError);
    if (lpClass && lpcchClass && *lpcchClass) {
        *lpClass = 0;
        *lpcchClass = 0;
    }
    StoreFileTime(subkey.GetLastWriteTime(), lpftLastWriteTime);
    return ERROR_SUCCESS;
}

LSTATUS RegEnumValue(HKEY hKey, DWORD dwIndex, LPTSTR lpValueName, LPDWORD lpcchValueName, LPDWORD, LPDWORD lpType,
    LPBYTE lpData, LPDWORD lpcbData)
{
    NotifyKeyUse(hKey, nullptr);
    std::lock_guard lock(RegistryMutex());
    if (!lpValueName || !lpcchValueName || (lpData && !lpcbData))
        return ERROR_INVALID_PARAMETER;
    CKeyRef ref;
    if (DWORD dwError = ReadKey(hKey, KEY_QUERY_VALUE, ref))
        return static_cast<LSTATUS>(dwError);
    const auto& values = ref.pNode->GetValues();
    if (dwIndex >= values.size())
        return ERROR_NO_MORE_ITEMS;
    const CRegistryValue& value = values[dwIndex];
    if (DWORD dwError = CopyName(value.strName, lpValueName, lpcchValueName))
        return static_cast<LSTATUS>(dwError);
    return static_cast<LSTATUS>(CopyValueData(value, lpType, lpData, lpcbData));
}

LSTATUS RegQueryInfoKey(HKEY hKey, LPTSTR lpClass, LPDWORD lpcchClass, LPDWORD, LPDWORD lpcSubKeys,
    LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen,
    LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor, FILETIME* lpftLastWriteTime)
{
    NotifyKeyUse(hKey, nullptr);
    std::lock_guard lock(RegistryMutex());
    CKeyRef ref;
    if (DWORD dwError = ReadKey(hKey, KEY_QUERY_VALUE, ref))
        return static_cast<LSTATUS>(dwError);
    const CRegistryNode& key = *ref.pNode;
    DWORD cchMaxSubkey = 0;
    for (const auto& [strFolded, pSubkey] : key.GetSubkeys())
        cchMaxSubkey = std::max(cchMaxSubkey, static_cast<DWORD>(pSubkey->GetName().size()));
    DWORD cchMaxValueName = 0;
    DWORD cbMaxValue = 0;
    for (const CRegistryValue& value : key.GetValues()) {
        cchMaxValueName = std::max(cchMaxValueName, static_cast<DWORD>(value.strName.size()));
        cbMaxValue = std::max(cbMaxValue, static_cast<DWORD>(value.data.size()));
    }
    if (lpClass && lpcchClass && *lpcchClass)
        *lpClass = 0;
    for (auto [pOut, dwValue] :
        { std::pair { lpcchClass, DWORD { 0 } }, { lpcSubKeys, static_cast<DWORD>(key.GetSubkeys().size()) },
            { lpcbMaxSubKeyLen, cchMaxSubkey }, { lpcbMaxClassLen, DWORD { 0 } },
            { lpcValues, static_cast<DWORD>(key.GetValues().size()) }, { lpcbMaxValueNameLen, cchMaxValueName },
            { lpcbMaxValueLen, cbMaxValue }, { lpcbSecurityDescriptor, DWORD { 0 } } }) {
        if (pOut)
            *pOut = dwValue;
    }
    StoreFileTime(key.GetLastWriteTime(), lpftLastWriteTime);
    return ERROR_SUCCESS;
}

/****************************** Editing subtrees *****************************/

LSTATUS RegEditKeyTree(
    HKEY hKey, LPCTSTR lpSubKey, const std::function<DWORD(CRegistryNode& key, bool& bChanged)>& fnEdit)
{
    std::lock_guard lock(RegistryMutex());
    std::vector<std::string> names;
    if (DWORD dwError = SplitSubKey(lpSubKey, names))
        return static_cast<LSTATUS>(dwError);
    return static_cast<LSTATUS>(ChangeKey(hKey, KEY_ALL_ACCESS, [&](CRegistryNode&, CKeyRef& ref, bool& bChanged) {
        std::shared_ptr<CRegistryNode> pKey = ref.pNode;
        for (const std::string& strName : names) {
            bool bCreated = false;
            pKey = pKey->AddSubkey(strName, bCreated);
            bChanged |= bCreated;
        }
        return fnEdit(*pKey, bChanged);
    }));
}

/******************************* Deleting keys *******************************/

LSTATUS RegDeleteKey(HKEY hKey, LPCTSTR lpSubKey)
{
    std::lock_guard lock(RegistryMutex());
    return static_cast<LSTATUS>(DeleteKey(hKey, lpSubKey, 0, EDeleteKey::LeafOnly));
}

LSTATUS RegDeleteTree(HKEY hKey, LPCTSTR lpSubKey)
{
    std::lock_guard lock(RegistryMutex());
    constexpr REGSAM TREE_RIGHTS = KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE;
    if (lpSubKey && *lpSubKey)
        return static_cast<LSTATUS>(DeleteKey(hKey, lpSubKey, TREE_RIGHTS, EDeleteKey::WithSubkeys));
    std::vector<std::shared_ptr<CRegistryNode>> deleted;
    DWORD dwError = ChangeKey(hKey, TREE_RIGHTS | KEY_SET_VALUE, [&](CRegistryNode&, CKeyRef& ref, bool& bChanged) {
        CRegistryNode& key = *ref.pNode;
        bChanged = !key.GetSubkeys().empty() || !key.GetValues().empty();
        while (!key.GetSubkeys().empty())
            deleted.push_back(key.RemoveSubkey(key.GetSubkeys().begin()->second->GetName()));
        key.RemoveAllValues();
        if (bChanged)
            key.SetLastWriteTime(ClockUtcNow());
        return ERROR_SUCCESS;
    });
    if (dwError == ERROR_SUCCESS) {
        for (const auto& pNode : deleted)
            pNode->MarkDeleted();
    }
    return static_cast<LSTATUS>(dwError);
}

LSTATUS SHDeleteKey(HKEY hKey, LPCTSTR pszSubKey)
{
    std::lock_guard lock(RegistryMutex());
    return static_cast<LSTATUS>(DeleteKey(hKey, pszSubKey, 0, EDeleteKey::WithSubkeys));
}

LSTATUS RegFlushKey(HKEY hKey)
{
    std::lock_guard lock(RegistryMutex());
    CKeyRef ref;
    return static_cast<LSTATUS>(ReadKey(hKey, 0, ref));
}
