#pragma once

// The registry key wrapper through which the program reads and writes all its
// settings: one open key with typed reads and writes, and what the last call
// met (its error code and the type and size of the value it read).
//
// Reads never fail loudly: a value that is missing, of another type or too
// large gives the caller's default and FALSE, with the reason in
// GetLastError. Objects and arrays are kept as REG_BINARY values holding
// what their Serialize stores into an archive (for arrays the class
// library's layout: the element count, then the elements).
//
// Opening or creating a key writes each settings-file problem the registry
// met (a damaged file set aside, its root started empty) once into the trace
// log. The wrapper is not shared between threads.

#include "platform/base/CString.h"
#include "platform/base/CollectionArrays.h"
#include "platform/base/Registry.h"
#include "platform/base/WinTypes.h"

#include <vector>

class CObject;

// The access the program asks for when it opens its own keys: read and write.
constexpr REGSAM KEY_READ_WRITE = KEY_READ | KEY_WRITE;

class CRegistryKey {
public:
    // The longest REG_SZ value GetString reads, in bytes with the terminating NUL.
    static constexpr DWORD MAX_STRING_BYTES = 200;

    CRegistryKey() = default;
    ~CRegistryKey() { Close(); }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    // A value or key name followed by a three-digit index: ("Child", 7) gives "Child007".
    static CString IndexedName(LPCTSTR pszName, int nIndex);

    /* The held key. */
    // Opens an existing subkey of hParent into the wrapper, closing a key it
    // held. TRUE on success.
    BOOL Open(HKEY hParent, LPCTSTR pszSubKey, REGSAM samDesired = KEY_READ_WRITE);
    // Creates the subkey (with any missing keys on its path) or opens it.
    BOOL Create(HKEY hParent, LPCTSTR pszSubKey, REGSAM samDesired = KEY_READ_WRITE);
    void Close();
    BOOL IsOpen() const { return m_hKey ? TRUE : FALSE; }
    // The key handle, for calls that take one (and as the parent of other keys).
    HKEY GetHandle() const { return m_hKey; }
    operator HKEY() const { return m_hKey; }
    // The subkey path the key was opened or created with.
    const CString& GetPath() const { return m_strPath; }

    /* What the last call met. */
    LONG GetLastError() const { return m_lLastError; }
    // The type and size in bytes of the value the last read found.
    DWORD GetValueType() const { return m_dwValueType; }
    DWORD GetValueSize() const { return m_dwValueSize; }

    /* Existence and deletion. */
    // Whether the held key has a subkey of that path.
    BOOL KeyExists(LPCTSTR pszSubKey);
    // Whether the held key has a value of that name.
    BOOL ValueExists(LPCTSTR pszName);
    BOOL DeleteValue(LPCTSTR pszName);
    // Deletes the subkey of hParent (of the held key when hParent is NULL)
    // with all its subkeys and values. With a value name, only that value of
    // the subkey is deleted.
    BOOL DeleteTree(LPCTSTR pszSubKey, LPCTSTR pszValueName = nullptr, HKEY hParent = nullptr);

    /* Typed values. */
    // Reads a REG_DWORD; dwValue gets dwDefault when it is missing or not a
    // REG_DWORD. TRUE when the value was read.
    BOOL GetDWORD(LPCTSTR pszName, DWORD& dwValue, DWORD dwDefault = 0);
    BOOL SetDWORD(LPCTSTR pszName, DWORD dwValue);
    // Reads a REG_SZ of at most MAX_STRING_BYTES bytes with its NUL; a value
    // that is missing, longer (ERROR_MORE_DATA) or not a string gives the
    // default. TRUE when the value was read.
    BOOL GetString(LPCTSTR pszName, CString& strValue, LPCTSTR pszDefault = "");
    // Writes a REG_SZ whose size counts the terminating NUL; any length.
    BOOL SetString(LPCTSTR pszName, LPCTSTR pszValue);

    /* Archived values (REG_BINARY). A value that is missing or damaged
       leaves the target empty (arrays) or partly loaded (objects) and gives
       FALSE; ERROR_INVALID_DATA tells a damaged one. */
    BOOL GetDWordArray(LPCTSTR pszName, CDWordArray& values);
    BOOL SetDWordArray(LPCTSTR pszName, const CDWordArray& values);
    BOOL GetStringArray(LPCTSTR pszName, CStringArray& values);
    BOOL SetStringArray(LPCTSTR pszName, const CStringArray& values);
    // Any object, through its Serialize.
    BOOL GetObject(LPCTSTR pszName, CObject& object);
    BOOL SetObject(LPCTSTR pszName, const CObject& object);

private:
    // Records the result of a registry call; TRUE for ERROR_SUCCESS.
    BOOL Check(LSTATUS lResult);
    // Reads a value of any type into bytes. FALSE when it is missing or the
    // key is not open.
    BOOL QueryBytes(LPCTSTR pszName, std::vector<BYTE>& data);
    // Reads a REG_BINARY value; ERROR_INVALID_DATA for another type.
    BOOL QueryArchive(LPCTSTR pszName, std::vector<BYTE>& data);
    BOOL SetBinary(LPCTSTR pszName, const std::vector<BYTE>& data);

    HKEY m_hKey { nullptr };
    CString m_strPath;
    LONG m_lLastError { ERROR_SUCCESS };
    DWORD m_dwValueType { REG_NONE };
    DWORD m_dwValueSize { 0 };
};
