#pragma once

// Builders for the archive tests: the bytes an archive stores, and an archive that
// loads given bytes.

#include "platform/base/CArchive.h"
#include "platform/base/CMemFile.h"

#include <string>
#include <utility>

// The bytes fn stores into a fresh archive.
template<typename Fn> std::string StoredBytes(Fn fn)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    fn(ar);
    ar.Close();
    std::string strBytes(static_cast<size_t>(file.GetLength()), '\0');
    file.SeekToBegin();
    file.Read(strBytes.data(), static_cast<UINT>(strBytes.size()));
    return strBytes;
}

// An archive loading from a copy of the given bytes.
class CLoadingArchive {
public:
    explicit CLoadingArchive(std::string strBytes)
        : m_strBytes(std::move(strBytes))
        , m_file(reinterpret_cast<BYTE*>(m_strBytes.data()), static_cast<UINT>(m_strBytes.size()))
        , m_ar(&m_file, CArchive::load)
    {
    }

    CArchive& Ar() { return m_ar; }
    CMemFile& File() { return m_file; }

private:
    std::string m_strBytes;
    CMemFile m_file;
    CArchive m_ar;
};

// Little-endian bytes of a WORD and a DWORD, for writing archives by hand.
inline std::string Le16(unsigned nValue)
{
    return { static_cast<char>(nValue & 0xFF), static_cast<char>((nValue >> 8) & 0xFF) };
}

inline std::string Le32(unsigned nValue)
{
    return Le16(nValue & 0xFFFF) + Le16(nValue >> 16);
}

// A new-class record as WriteClass stores it: the tag, schema, name length, name.
inline std::string NewClassRecord(const std::string& strName, unsigned nSchema)
{
    return Le16(0xFFFF) + Le16(nSchema) + Le16(static_cast<unsigned>(strName.size())) + strName;
}
