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
template<class Store>
[[nodiscard]] bool StoreToBytes(Store fnStore, std::vector<BYTE>& data)
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

// Runs fnLoad on an archive that loads from the bytes; fnLoad returns false
// for data that makes no sense. FALSE for that, when the archive threw (data
// cut short, a bad object) and when bytes are left over.
template<class Load>
[[nodiscard]] bool LoadFromBytes(std::vector<BYTE>& data, Load fnLoad)
{
    try {
        CMemFile file(data.data(), static_cast<UINT>(data.size()));
        CArchive archive(&file, CArchive::load);
        BYTE bExtra = 0;
        bool bLoaded = fnLoad(archive, static_cast<DWORD>(data.size())) && archive.Read(&bExtra, 1) == 0;
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
    values.RemoveAll();
    std::vector<BYTE> data;
    if (!QueryArchive(pszName, data))
        return FALSE;
    bool bLoaded = LoadFromBytes(data, [&values](CArchive& archive, DWORD cbData) {
        DWORD dwCount = 0;
        archive >> dwCount;
        if (dwCount > (cbData - sizeof(DWORD)) / sizeof(DWORD))
            return false;
        values.SetSize(static_cast<int>(dwCount));
        for (DWORD i = 0; i < dwCount; ++i)
            archive >> values[static_cast<int>(i)];
        return true;
    });
    if (!bLoaded) {
        values.RemoveAll();
        m_lLastError = ERROR_INVALID_DATA;
    }
    return bLoaded ? TRUE : FALSE;
}

BOOL CRegistryKey::SetDWordArray(LPCTSTR pszName, const CDWordArray& values)
{
    std::vector<BYTE> data;
    bool bStored = StoreToBytes(
        [&values](CArchive& archive) {
            archive << static_cast<DWORD>(values.GetSize());
            for (int i = 0; i < values.GetSize(); ++i)
                archive << values[i];
        },
        data);
    if (!bStored) {
        m_lLastError = ERROR_NOT_ENOUGH_MEMORY;
        return FALSE;
    }
    return SetBinary(pszName, data);
}

BOOL CRegistryKey::GetStringArray(LPCTSTR pszName, CStringArray& values)
{
    values.RemoveAll();
    std::vector<BYTE> data;
    if (!QueryArchive(pszName, data))
        return FALSE;
    bool bLoaded = LoadFromBytes(data, [&values](CArchive& archive, DWORD cbData) {
        DWORD dwCount = 0;
        archive >> dwCount;
        // Every text takes at least its length word.
        if (dwCount > (cbData - sizeof(DWORD)) / sizeof(DWORD))
            return false;
        for (DWORD i = 0; i < dwCount; ++i) {
            DWORD dwLength = 0;
            archive >> dwLength;
            if (dwLength > cbData)
                return false;
            CString strText;
            LPTSTR pBuffer = strText.GetBufferSetLength(static_cast<int>(dwLength));
            if (archive.Read(pBuffer, dwLength) != dwLength)
                return false;
            strText.ReleaseBuffer(static_cast<int>(dwLength));
            values.Add(strText);
        }
        return true;
    });
    if (!bLoaded) {
        values.RemoveAll();
        m_lLastError = ERROR_INVALID_DATA;
    }
    return bLoaded ? TRUE : FALSE;
}

BOOL CRegistryKey::SetStringArray(LPCTSTR pszName, const CStringArray& values)
{
    std::vector<BYTE> data;
    bool bStored = StoreToBytes(
        [&values](CArchive& archive) {
            archive << static_cast<DWORD>(values.GetSize());
            for (int i = 0; i < values.GetSize(); ++i) {
                const CString& strText = values[i];
                archive << static_cast<DWORD>(strText.GetLength());
                archive.Write(static_cast<LPCTSTR>(strText), static_cast<UINT>(strText.GetLength()));
            }
        },
        data);
    if (!bStored) {
        m_lLastError = ERROR_NOT_ENOUGH_MEMORY;
        return FALSE;
    }
    return SetBinary(pszName, data);
}

BOOL CRegistryKey::GetObject(LPCTSTR pszName, CObject& object)
{
    std::vector<BYTE> data;
    if (!QueryArchive(pszName, data))
        return FALSE;
    bool bLoaded = LoadFromBytes(data, [&object](CArchive& archive, DWORD) {
        object.Serialize(archive);
        return true;
    });
    if (!bLoaded)
        m_lLastError = ERROR_INVALID_DATA;
    return bLoaded ? TRUE : FALSE;
}

BOOL CRegistryKey::SetObject(LPCTSTR pszName, CObject& object)
{
    std::vector<BYTE> data;
    if (!StoreToBytes([&object](CArchive& archive) { object.Serialize(archive); }, data)) {
        m_lLastError = ERROR_INVALID_DATA;
        return FALSE;
    }
    return SetBinary(pszName, data);
}
