#pragma once

// The registry: a tree of keys holding typed values under three predefined
// roots. Each root is kept in a text file in the program folder's settings (see
// RegistryFormat.h for the format and RegistryStore.h for how files are shared
// between processes). Every call returns ERROR_SUCCESS or the documented error
// code, rather than reporting through the last error.
//
// Names of keys and values are case-insensitive and keep the case they were
// created with. A key path names nested keys separated by backslashes
// ("Software\Vendor\App") and must not begin with one.
//
// Enumeration order, which stays stable while the key is not changed:
// RegEnumKeyEx lists subkeys by name, compared case-insensitively (upper-cased);
// RegEnumValue lists values in the order they were first set (setting a value
// again keeps its place).

#include "platform/base/WinError.h"
#include "platform/base/WinTypes.h"

#include <functional>
#include <string>
#include <vector>

class CRegistryNode;
struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
using LSTATUS = LONG;
using ACCESS_MASK = DWORD;
using REGSAM = ACCESS_MASK;

// The predefined root keys. They are always open; closing them does nothing.
#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000000))))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000001))))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(0x80000002))))

// clang-format off
// Access rights of a key handle.
constexpr REGSAM KEY_QUERY_VALUE        = 0x0001; // read values, RegQueryInfoKey
constexpr REGSAM KEY_SET_VALUE          = 0x0002; // set and delete values
constexpr REGSAM KEY_CREATE_SUB_KEY     = 0x0004; // create subkeys
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008; // enumerate subkeys
constexpr REGSAM KEY_NOTIFY             = 0x0010;
constexpr REGSAM KEY_CREATE_LINK        = 0x0020;
constexpr REGSAM KEY_WOW64_64KEY        = 0x0100;
constexpr REGSAM KEY_WOW64_32KEY        = 0x0200;
constexpr REGSAM KEY_READ               = 0x00020019; // read control + query + enumerate + notify
constexpr REGSAM KEY_WRITE              = 0x00020006; // read control + set value + create subkey
constexpr REGSAM KEY_EXECUTE            = KEY_READ;
constexpr REGSAM KEY_ALL_ACCESS         = 0x000F003F;

// Options of RegCreateKeyEx. Every key is kept in the settings file; volatile keys are kept too.
constexpr DWORD REG_OPTION_RESERVED       = 0x00000000;
constexpr DWORD REG_OPTION_NON_VOLATILE   = 0x00000000;
constexpr DWORD REG_OPTION_VOLATILE       = 0x00000001;
constexpr DWORD REG_OPTION_CREATE_LINK    = 0x00000002;
constexpr DWORD REG_OPTION_BACKUP_RESTORE = 0x00000004;
constexpr DWORD REG_OPTION_OPEN_LINK      = 0x00000008;

// Dispositions reported by RegCreateKeyEx.
constexpr DWORD REG_CREATED_NEW_KEY     = 0x00000001;
constexpr DWORD REG_OPENED_EXISTING_KEY = 0x00000002;

// Value types.
constexpr DWORD REG_NONE                = 0;
constexpr DWORD REG_SZ                  = 1; // string with its terminating NUL
constexpr DWORD REG_EXPAND_SZ           = 2; // string with %VARIABLE% references
constexpr DWORD REG_BINARY              = 3;
constexpr DWORD REG_DWORD               = 4; // 32-bit little-endian number
constexpr DWORD REG_DWORD_LITTLE_ENDIAN = 4;
constexpr DWORD REG_DWORD_BIG_ENDIAN    = 5;
constexpr DWORD REG_LINK                = 6;
constexpr DWORD REG_MULTI_SZ            = 7; // NUL-terminated strings, then one more NUL
constexpr DWORD REG_QWORD               = 11;
// clang-format on

/* Opening, creating and closing keys. */

// Creates the key (and any missing keys on its path) or opens it if it exists;
// `lpdwDisposition` (optional) tells which. `hKey` needs KEY_CREATE_SUB_KEY when
// a key is created. An empty `lpSubKey` opens `hKey` itself again. The class,
// options and security attributes are accepted and not kept.
LSTATUS RegCreateKeyEx(HKEY hKey, LPCTSTR lpSubKey, DWORD Reserved, LPTSTR lpClass, DWORD dwOptions, REGSAM samDesired,
    const LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult, LPDWORD lpdwDisposition);
// Opens an existing key; ERROR_FILE_NOT_FOUND when it does not exist. A NULL or
// empty `lpSubKey` opens `hKey` itself again.
LSTATUS RegOpenKeyEx(HKEY hKey, LPCTSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
LSTATUS RegCloseKey(HKEY hKey);

/* Values. A NULL or empty value name means the key's default value. */

// Copies the value into `lpData` (optional) and sets `*lpcbData` to its size in
// bytes. With `lpData` NULL only the size is returned; a buffer that is too
// small gives ERROR_MORE_DATA with the needed size in `*lpcbData`. String sizes
// count the terminating NUL.
LSTATUS RegQueryValueEx(
    HKEY hKey, LPCTSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
// Stores `cbData` bytes as the value. A REG_SZ or REG_EXPAND_SZ given without
// its terminating NUL is stored with one.
LSTATUS RegSetValueEx(HKEY hKey, LPCTSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData, DWORD cbData);
LSTATUS RegDeleteValue(HKEY hKey, LPCTSTR lpValueName);

/* Enumeration and information. */

// The name of the `dwIndex`-th subkey. `*lpcchName` holds the buffer size in
// characters with the NUL and receives the name's length without it.
// ERROR_NO_MORE_ITEMS past the last one. Keys have no class: it comes back empty.
LSTATUS RegEnumKeyEx(HKEY hKey, DWORD dwIndex, LPTSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved, LPTSTR lpClass,
    LPDWORD lpcchClass, FILETIME* lpftLastWriteTime);
// The name, type and data of the `dwIndex`-th value; sizes as for RegEnumKeyEx
// (name) and RegQueryValueEx (data).
LSTATUS RegEnumValue(HKEY hKey, DWORD dwIndex, LPTSTR lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved,
    LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData);
// Counts and maximum lengths (in characters without the NUL; data in bytes) of
// the key's subkeys and values. Every pointer is optional.
LSTATUS RegQueryInfoKey(HKEY hKey, LPTSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
    LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen,
    LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor, FILETIME* lpftLastWriteTime);

/* Deleting keys. A handle still open on a deleted key fails with ERROR_KEY_DELETED. */

// Deletes a key that has no subkeys (ERROR_ACCESS_DENIED if it has some, or if
// it is a root). An empty `lpSubKey` deletes the key `hKey` names.
LSTATUS RegDeleteKey(HKEY hKey, LPCTSTR lpSubKey);
// Deletes the subkey with everything below it. With a NULL `lpSubKey` it
// deletes the subkeys and values of `hKey` and keeps the key itself.
LSTATUS RegDeleteTree(HKEY hKey, LPCTSTR lpSubKey);
// Deletes the subkey with everything below it.
LSTATUS SHDeleteKey(HKEY hKey, LPCTSTR pszSubKey);

// Every change is on disk when its call returns, so this only checks the handle.
LSTATUS RegFlushKey(HKEY hKey);

/* Editing a subtree at once. */

// Runs fnEdit on a key (created with the keys above it when missing) as one
// change, so the settings file is written once however much fnEdit does.
// fnEdit sets bChanged when it changed anything and returns ERROR_SUCCESS, or
// an error, which discards its changes; nodes it removes it marks deleted, so
// open handles on them fail. The registry's lock is held meanwhile: fnEdit
// must not call the registry.
LSTATUS RegEditKeyTree(
    HKEY hKey, LPCTSTR lpSubKey, const std::function<DWORD(CRegistryNode& key, bool& bChanged)>& fnEdit);

/* Batches. */

// Makes every change to the keys of one root, from its making until Commit
// or its end, one write of the settings file instead of one write each: the
// changes are made under the file's lock, which other processes wait for
// meanwhile, and written together or not at all. A change that fails halfway
// fails the batch: later changes get its error and nothing is written. Reads
// in the batch see its changes. Changes other threads make meanwhile join it.
class CRegistryBatch {
public:
    // hKey: a key of the root, or the predefined root itself.
    explicit CRegistryBatch(HKEY hKey);
    ~CRegistryBatch();
    CRegistryBatch(const CRegistryBatch&) = delete;
    CRegistryBatch& operator=(const CRegistryBatch&) = delete;

    // Writes the changes now and ends the batch: ERROR_SUCCESS, or the error
    // that kept them from the file (none of them is kept then).
    LSTATUS Commit();

private:
    int m_nRoot { -1 }; // the root whose store the batch holds; -1 once ended or when it could not begin
    LSTATUS m_nBeginError { 0 };
};

/* Key hooks. A layer above may keep one key in step with something outside the
   registry (the desktop's file types, its autostart launchers). A hook is
   called outside the registry's lock and never while a hook runs on the same
   thread, so it may use the registry itself. */

class CRegistryKeyHook {
public:
    virtual ~CRegistryKeyHook() = default;
    // The key or a key below it is about to be opened, created, read or enumerated.
    virtual void OnKeyUse() = 0;
    // A value of the key itself is about to be set (bDelete false) or deleted.
    // Anything but ERROR_SUCCESS refuses the change, which the caller then gets.
    virtual DWORD OnValueChange(
        const std::string& /*strName*/, bool /*bDelete*/, DWORD /*dwType*/, const std::vector<BYTE>& /*data*/)
    {
        return ERROR_SUCCESS;
    }
};

// Hooks the key lpSubKey below a predefined root (an empty lpSubKey: the root
// itself), or with nullptr removes its hook. One hook per key; the caller keeps
// the hook alive while it is installed.
void SetRegistryKeyHook(HKEY hRoot, LPCTSTR lpSubKey, CRegistryKeyHook* pHook);

/* Problems met with the settings files since the program started (a damaged file
   set aside, one that could not be read), one sentence each, for start-up to show. */
std::vector<std::string> GetRegistryProblems();
