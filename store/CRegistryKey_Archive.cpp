// The archived values of CRegistryKey: arrays and objects kept as REG_BINARY
// values in an archive over memory.

#include "store/CRegistryKey.h"

#include "platform/base/CArchive.h"
#include "platform/base/CException.h"
#include "platform/base/CMemFile.h"
#include "platform/base/WinError.h"

namespace {

// Runs fnStore on an archive that stores into memory and hands out the bytes.
// FALSE when the archive threw.
template<class Store> [[nodiscard]] bool StoreToBytes(Store fnStore, std::vector<BYTE>& data)
{
    try {
        CMemFile file;
        CArchive archive(&file, CArchive::store);
        fnStore(archive);
        archive.Close();
        data.resize(static_cast<size_t>(file.GetLength()));
        file.SeekToBegin();
        return file.Read(data.data(), static_cast<UINT>(data.size())) == data.size();
    } catch (CException* pException) {
        pException->Delete();
        return false;
    }
}

// Runs fnLoad on an archive that loads from the bytes. FALSE when the archive
// threw (data cut short, a bad object) and when bytes are left over.
template<class Load> [[nodiscard]] bool LoadFromBytes(std::vector<BYTE>& data, Load fnLoad)
{
    try {
        CMemFile file(data.data(), static_cast<UINT>(data.size()));
        CArchive archive(&file, CArchive::load);
        fnLoad(archive);
        BYTE bExtra = 0;
        bool bLoaded = archive.Read(&bExtra, 1) == 0;
        archive.Close();
        return bLoaded;
    } catch (CException* pException) {
        pException->Delete();
        return false;
    }
}

} // namespace

BOOL CRegistryKey::SetBinary(LPCTSTR pszName, const std::vector<BYTE>& data)
{
    return Check(RegSetValueEx(m_hKey, pszName, 0, REG_BINARY, data.data(), static_cast<DWORD>(data.size())));
}

BOOL CRegistryKey::QueryArchive(LPCTSTR pszName, std::vector<BYTE>& data)
{
    if (!QueryBytes(pszName, data))
        return FALSE;
    if (m_dwValueType != REG_BINARY) {
        m_lLastError = ERROR_INVALID_DATA;
        return FALSE;
    }
    return TRUE;
}

BOOL CRegistryKey::GetDWordArray(LPCTSTR pszName, CDWordArray& values)
{
    if (GetObject(pszName, values))
        return TRUE;
    values.RemoveAll();
    return FALSE;
}

BOOL CRegistryKey::SetDWordArray(LPCTSTR pszName, const CDWordArray& values)
{
    return SetObject(pszName, values);
}

BOOL CRegistryKey::GetStringArray(LPCTSTR pszName, CStringArray& values)
{
    if (GetObject(pszName, values))
        return TRUE;
    values.RemoveAll();
    return FALSE;
}

BOOL CRegistryKey::SetStringArray(LPCTSTR pszName, const CStringArray& values)
{
    return SetObject(pszName, values);
}

BOOL CRegistryKey::GetObject(LPCTSTR pszName, CObject& object)
{
    std::vector<BYTE> data;
    if (!QueryArchive(pszName, data))
        return FALSE;
    if (!LoadFromBytes(data, [&object](CArchive& archive) { object.Serialize(archive); })) {
        m_lLastError = ERROR_INVALID_DATA;
        return FALSE;
    }
    return TRUE;
}

BOOL CRegistryKey::SetObject(LPCTSTR pszName, const CObject& object)
{
    std::vector<BYTE> data;
    // Serialize is not const in the class library, but storing only reads the object.
    if (!StoreToBytes([&object](CArchive& archive) { const_cast<CObject&>(object).Serialize(archive); }, data)) {
        m_lLastError = ERROR_INVALID_DATA;
        return FALSE;
    }
    return SetBinary(pszName, data);
}
