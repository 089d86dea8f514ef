#include "platform/base/CArchive.h"

#include "platform/base/CArchiveException.h"
#include "platform/base/CException.h"
#include "platform/base/CFile.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/TextLines.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>

namespace {

// Object and class tags.
constexpr WORD NULL_TAG = 0;                // nullptr
constexpr WORD NEW_CLASS_TAG = 0xFFFF;      // a class record and a new object follow
constexpr WORD CLASS_TAG = 0x8000;          // | class index: a new object of a stored class
constexpr WORD BIG_OBJECT_TAG = 0x7FFF;     // a DWORD index follows
constexpr DWORD BIG_CLASS_TAG = 0x80000000; // the class bit of a DWORD index
constexpr DWORD MAX_MAP_COUNT = 0x3FFFFFFE; // indexes beyond this are refused

// String length markers.
constexpr BYTE BYTE_LENGTH_MARK = 0xFF;         // a WORD length follows
constexpr WORD UTF16_MARK = 0xFFFE;             // the text is UTF-16; the length follows again
constexpr WORD WORD_LENGTH_MARK = 0xFFFF;       // a DWORD length follows
constexpr DWORD DWORD_LENGTH_MARK = 0xFFFFFFFF; // a ULONGLONG length follows

// Class names are shorter than this, as the class library stores them.
constexpr WORD MAX_CLASS_NAME = 64;

constexpr UINT MIN_BUFFER_SIZE = 128;
constexpr UINT STRING_CHUNK = 65536;

UINT Unversioned(UINT nSchema)
{
    return nSchema & ~VERSIONABLE_SCHEMA;
}

// Reads a class record (schema, name length, name) and returns the registered class
// of that name, or nullptr for an unknown or overlong name.
const CRuntimeClass* ReadClassRecord(CArchive& ar, UINT& nSchema)
{
    WORD wSchema = 0;
    WORD nLength = 0;
    ar >> wSchema >> nLength;
    nSchema = wSchema;
    if (nLength >= MAX_CLASS_NAME)
        return nullptr;
    char szName[MAX_CLASS_NAME] {};
    if (ar.Read(szName, nLength) != nLength)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    if (std::memchr(szName, '\0', nLength))
        return nullptr;
    return CRuntimeClass::FromName(szName);
}

}

/*********************************************************************
** Run-time class records
**********************************************************************/

void CRuntimeClass::Store(CArchive& ar) const
{
    auto nLength = static_cast<WORD>(std::strlen(m_lpszClassName));
    ar << static_cast<WORD>(m_wSchema) << nLength;
    ar.Write(m_lpszClassName, nLength);
}

// A versionable class accepts any stored schema; its Serialize reads which one it got.
const CRuntimeClass* CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum)
{
    UINT nSchema = 0;
    const CRuntimeClass* pClass = ReadClassRecord(ar, nSchema);
    if (pwSchemaNum)
        *pwSchemaNum = nSchema;
    if (!pClass)
        return nullptr;
    if (Unversioned(pClass->m_wSchema) != nSchema && !(pClass->m_wSchema & VERSIONABLE_SCHEMA))
        return nullptr;
    return pClass;
}

/*********************************************************************
** Construction, buffering, flushing and closing
**********************************************************************/

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void*)
    : m_pFile(pFile)
    , m_nMode(nMode)
    , m_buffer(std::max<UINT>(nBufSize > 0 ? static_cast<UINT>(nBufSize) : 0, MIN_BUFFER_SIZE))
{
    if (pFile)
        m_strFileName = pFile->GetFilePath();
}

CArchive::~CArchive()
{
    if (!m_pFile)
        return;
    if (m_nMode & bNoFlushOnDelete) {
        Abort();
        return;
    }
    try {
        Close();
    } catch (CException* pException) {
        // A destructor cannot report; Close is the call that does.
        pException->Delete();
        Abort();
    }
}

void CArchive::Throw(int nCause) const
{
    AfxThrowArchiveException(nCause, m_strFileName);
}

void CArchive::CheckStoring() const
{
    if (!m_pFile)
        Throw(CArchiveException::genericException);
    if (IsLoading())
        Throw(CArchiveException::readOnly);
}

void CArchive::CheckLoading() const
{
    if (!m_pFile)
        Throw(CArchiveException::genericException);
    if (IsStoring())
        Throw(CArchiveException::writeOnly);
}

UINT CArchive::Refill()
{
    if (m_nBufPos > 0) {
        std::memmove(m_buffer.data(), m_buffer.data() + m_nBufPos, m_nBufLen - m_nBufPos);
        m_nBufLen -= m_nBufPos;
        m_nBufPos = 0;
    }
    UINT nRead = m_pFile->Read(m_buffer.data() + m_nBufLen, static_cast<UINT>(m_buffer.size()) - m_nBufLen);
    m_nBufLen += nRead;
    return nRead;
}

void CArchive::FillBuffer(UINT nBytes)
{
    while (m_nBufLen - m_nBufPos < nBytes) {
        if (Refill() == 0)
            Throw(CArchiveException::endOfFile);
    }
}

int CArchive::PeekByte()
{
    if (m_nBufPos == m_nBufLen && Refill() == 0)
        return -1;
    return m_buffer[m_nBufPos];
}

void CArchive::WriteBytes(const void* pData, UINT nBytes)
{
    const auto* pBytes = static_cast<const BYTE*>(pData);
    while (nBytes > 0) {
        UINT nChunk = std::min(nBytes, static_cast<UINT>(m_buffer.size()) - m_nBufPos);
        std::memcpy(m_buffer.data() + m_nBufPos, pBytes, nChunk);
        m_nBufPos += nChunk;
        pBytes += nChunk;
        nBytes -= nChunk;
        if (m_nBufPos == m_buffer.size())
            Flush();
    }
}

void CArchive::ReadBytes(void* pData, UINT nBytes)
{
    if (Read(pData, nBytes) != nBytes)
        Throw(CArchiveException::endOfFile);
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    CheckLoading();
    auto* pBytes = static_cast<BYTE*>(lpBuf);
    UINT nDone = 0;
    while (nDone < nMax) {
        if (m_nBufPos == m_nBufLen && Refill() == 0)
            break;
        UINT nChunk = std::min(nMax - nDone, m_nBufLen - m_nBufPos);
        std::memcpy(pBytes + nDone, m_buffer.data() + m_nBufPos, nChunk);
        m_nBufPos += nChunk;
        nDone += nChunk;
    }
    return nDone;
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    CheckStoring();
    WriteBytes(lpBuf, nMax);
}

void CArchive::Flush()
{
    if (!m_pFile)
        return;
    if (IsLoading()) {
        UINT nUnread = m_nBufLen - m_nBufPos;
        m_nBufPos = m_nBufLen = 0;
        if (nUnread)
            m_pFile->Seek(-static_cast<LONGLONG>(nUnread), CFile::current);
    } else if (m_nBufPos > 0) {
        UINT nWaiting = m_nBufPos;
        m_nBufPos = 0;
        m_pFile->Write(m_buffer.data(), nWaiting);
    }
}

void CArchive::Close()
{
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort()
{
    m_pFile = nullptr;
    m_nBufPos = m_nBufLen = 0;
}

/*********************************************************************
** Values
**********************************************************************/

template<typename T> CArchive& CArchive::StoreValue(T value)
{
    CheckStoring();
    using Bits = std::conditional_t<sizeof(T) == 1, BYTE,
        std::conditional_t<sizeof(T) == 2, WORD, std::conditional_t<sizeof(T) == 4, DWORD, ULONGLONG>>>;
    auto nBits = std::bit_cast<Bits>(value);
    BYTE bytes[sizeof(T)];
    for (std::size_t i = 0; i < sizeof(T); ++i)
        bytes[i] = static_cast<BYTE>(nBits >> (8 * i));
    WriteBytes(bytes, sizeof(T));
    return *this;
}

template<typename T> CArchive& CArchive::LoadValue(T& value)
{
    CheckLoading();
    using Bits = std::conditional_t<sizeof(T) == 1, BYTE,
        std::conditional_t<sizeof(T) == 2, WORD, std::conditional_t<sizeof(T) == 4, DWORD, ULONGLONG>>>;
    FillBuffer(sizeof(T));
    Bits nBits = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i)
        nBits |= static_cast<Bits>(static_cast<Bits>(m_buffer[m_nBufPos + i]) << (8 * i));
    m_nBufPos += sizeof(T);
    value = std::bit_cast<T>(nBits);
    return *this;
}

// clang-format off
CArchive& CArchive::operator<<(BYTE by) { return StoreValue(by); }
void CArchive::WriteCount(DWORD_PTR dwCount)
{
    if (dwCount < 0xFFFF) {
        *this << static_cast<WORD>(dwCount);
    } else {
        *this << static_cast<WORD>(0xFFFF);
        *this << static_cast<DWORD>(dwCount);
    }
}

DWORD_PTR CArchive::ReadCount()
{
    WORD wCount = 0;
    *this >> wCount;
    if (wCount != 0xFFFF)
        return wCount;
    DWORD dwCount = 0;
    *this >> dwCount;
    return dwCount;
}

CArchive& CArchive::operator<<(WORD w) { return StoreValue(w); }
CArchive& CArchive::operator<<(int i) { return StoreValue(i); }
CArchive& CArchive::operator<<(DWORD dw) { return StoreValue(dw); }
CArchive& CArchive::operator<<(short w) { return StoreValue(w); }
CArchive& CArchive::operator<<(char ch) { return StoreValue(ch); }
CArchive& CArchive::operator<<(float f) { return StoreValue(f); }
CArchive& CArchive::operator<<(double d) { return StoreValue(d); }
CArchive& CArchive::operator<<(LONGLONG n) { return StoreValue(n); }
CArchive& CArchive::operator<<(ULONGLONG n) { return StoreValue(n); }

CArchive& CArchive::operator>>(BYTE& by) { return LoadValue(by); }
CArchive& CArchive::operator>>(WORD& w) { return LoadValue(w); }
CArchive& CArchive::operator>>(int& i) { return LoadValue(i); }
CArchive& CArchive::operator>>(DWORD& dw) { return LoadValue(dw); }
CArchive& CArchive::operator>>(short& w) { return LoadValue(w); }
CArchive& CArchive::operator>>(char& ch) { return LoadValue(ch); }
CArchive& CArchive::operator>>(float& f) { return LoadValue(f); }
CArchive& CArchive::operator>>(double& d) { return LoadValue(d); }
CArchive& CArchive::operator>>(LONGLONG& n) { return LoadValue(n); }
CArchive& CArchive::operator>>(ULONGLONG& n) { return LoadValue(n); }
// clang-format on

/*********************************************************************
** Strings and text lines
**********************************************************************/

CArchive& CArchive::operator<<(const CString& str)
{
    CheckStoring();
    auto nLength = static_cast<DWORD>(str.GetLength());
    if (nLength < BYTE_LENGTH_MARK) {
        *this << static_cast<BYTE>(nLength);
    } else if (nLength < UTF16_MARK) {
        *this << BYTE_LENGTH_MARK << static_cast<WORD>(nLength);
    } else {
        *this << BYTE_LENGTH_MARK << WORD_LENGTH_MARK << nLength;
    }
    WriteBytes(static_cast<LPCTSTR>(str), nLength);
    return *this;
}

CArchive& CArchive::operator>>(CString& str)
{
    CheckLoading();
    bool bUtf16 = false;
    ULONGLONG nLength = 0;
    BYTE byLength = 0;
    *this >> byLength;
    nLength = byLength;
    if (byLength == BYTE_LENGTH_MARK) {
        WORD wLength = 0;
        *this >> wLength;
        if (wLength == UTF16_MARK) {
            bUtf16 = true;
            *this >> byLength;
            nLength = byLength;
            if (byLength == BYTE_LENGTH_MARK)
                *this >> wLength;
        }
        if (byLength == BYTE_LENGTH_MARK) {
            nLength = wLength;
            if (wLength == WORD_LENGTH_MARK) {
                DWORD dwLength = 0;
                *this >> dwLength;
                nLength = dwLength;
                if (dwLength == DWORD_LENGTH_MARK)
                    *this >> nLength;
            }
        }
    }
    ULONGLONG nBytes = bUtf16 ? nLength * 2 : nLength;
    if (nLength > 0x7FFFFFFF || nBytes > 0x7FFFFFFF)
        Throw(CArchiveException::genericException);

    // Read in chunks, so that a damaged length costs no more memory than the file holds.
    std::string strBytes;
    while (strBytes.size() < nBytes) {
        std::size_t nChunk = std::min<ULONGLONG>(nBytes - strBytes.size(), STRING_CHUNK);
        std::size_t nOld = strBytes.size();
        strBytes.resize(nOld + nChunk);
        ReadBytes(strBytes.data() + nOld, static_cast<UINT>(nChunk));
    }
    if (bUtf16) {
        // Stored UTF-16 units are little-endian.
        std::u16string strUnits(strBytes.size() / 2, u'\0');
        for (std::size_t i = 0; i < strUnits.size(); ++i)
            strUnits[i] = static_cast<char16_t>(
                static_cast<BYTE>(strBytes[2 * i]) | static_cast<BYTE>(strBytes[2 * i + 1]) << 8);
        strBytes = Utf8FromUtf16(strUnits);
    }
    str = CString(strBytes.data(), static_cast<int>(strBytes.size()));
    return *this;
}

void CArchive::WriteString(LPCTSTR lpsz)
{
    CheckStoring();
    if (lpsz)
        WriteBytes(lpsz, static_cast<UINT>(std::strlen(lpsz)));
}

BOOL CArchive::ReadString(CString& rString)
{
    CheckLoading();
    std::string strLine;
    BOOL bRead = ReadTextLine([this] { return PeekByte(); }, [this] { ++m_nBufPos; }, strLine);
    rString = CString(strLine.data(), static_cast<int>(strLine.size()));
    return bRead;
}

LPTSTR CArchive::ReadString(LPTSTR lpsz, UINT nMax)
{
    CheckLoading();
    if (nMax == static_cast<UINT>(-1))
        return nullptr;
    bool bRead = ReadTextLineInto([this] { return PeekByte(); }, [this] { ++m_nBufPos; }, lpsz, nMax + 1);
    return bRead ? lpsz : nullptr;
}

/*********************************************************************
** Objects and classes
**********************************************************************/

UINT CArchive::GetObjectSchema()
{
    UINT nSchema = m_nObjectSchema;
    m_nObjectSchema = static_cast<UINT>(-1);
    return nSchema;
}

DWORD CArchive::NextStoreIndex()
{
    if (m_nStoreCount > MAX_MAP_COUNT)
        Throw(CArchiveException::badIndex);
    return m_nStoreCount++;
}

void CArchive::AddLoaded(const LoadedEntry& entry)
{
    if (m_loaded.size() > MAX_MAP_COUNT)
        Throw(CArchiveException::badIndex);
    m_loaded.push_back(entry);
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    CheckStoring();
    if (!pClassRef || Unversioned(pClassRef->m_wSchema) == 0xFFFF)
        Throw(CArchiveException::badClass);
    auto it = m_storeMap.find(pClassRef);
    if (it != m_storeMap.end()) {
        if (it->second < BIG_OBJECT_TAG)
            *this << static_cast<WORD>(CLASS_TAG | it->second);
        else
            *this << BIG_OBJECT_TAG << static_cast<DWORD>(BIG_CLASS_TAG | it->second);
        return;
    }
    *this << NEW_CLASS_TAG;
    pClassRef->Store(*this);
    m_storeMap.emplace(pClassRef, NextStoreIndex());
}

void CArchive::WriteObject(const CObject* pOb)
{
    CheckStoring();
    if (!pOb) {
        *this << NULL_TAG;
        return;
    }
    auto it = m_storeMap.find(pOb);
    if (it != m_storeMap.end()) {
        if (it->second < BIG_OBJECT_TAG)
            *this << static_cast<WORD>(it->second);
        else
            *this << BIG_OBJECT_TAG << it->second;
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    m_storeMap.emplace(pOb, NextStoreIndex());
    // Serialize is how the class library stores an object; storing does not change it.
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag)
{
    CheckLoading();
    if (m_loaded.empty())
        m_loaded.push_back({ nullptr, nullptr, 0 });

    WORD wTag = 0;
    *this >> wTag;
    DWORD obTag = 0;
    if (wTag == BIG_OBJECT_TAG)
        *this >> obTag;
    else
        obTag = (static_cast<DWORD>(wTag & CLASS_TAG) << 16) | (wTag & ~CLASS_TAG);
    if (!(obTag & BIG_CLASS_TAG)) {
        if (!pObTag)
            Throw(CArchiveException::badIndex);
        *pObTag = obTag;
        return nullptr;
    }

    const CRuntimeClass* pClass = nullptr;
    UINT nSchema = 0;
    if (wTag == NEW_CLASS_TAG) {
        pClass = ReadClassRecord(*this, nSchema);
        if (!pClass || Unversioned(pClass->m_wSchema) == 0xFFFF)
            Throw(CArchiveException::badClass);
        if (Unversioned(pClass->m_wSchema) != nSchema && !(pClass->m_wSchema & VERSIONABLE_SCHEMA))
            Throw(CArchiveException::badSchema);
        AddLoaded({ pClass, nullptr, nSchema });
    } else {
        DWORD nClassIndex = obTag & ~BIG_CLASS_TAG;
        if (nClassIndex == 0 || nClassIndex >= m_loaded.size() || !m_loaded[nClassIndex].pClass)
            Throw(CArchiveException::badIndex);
        pClass = m_loaded[nClassIndex].pClass;
        nSchema = m_loaded[nClassIndex].nSchema;
    }
    if (pClassRefRequested && !pClass->IsDerivedFrom(pClassRefRequested))
        Throw(CArchiveException::badClass);
    if (pSchema)
        *pSchema = nSchema;
    else
        m_nObjectSchema = nSchema;
    return const_cast<CRuntimeClass*>(pClass);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    UINT nSchema = 0;
    DWORD obTag = 0;
    const CRuntimeClass* pClass = ReadClass(pClassRefRequested, &nSchema, &obTag);
    if (!pClass) {
        if (obTag >= m_loaded.size() || m_loaded[obTag].pClass)
            Throw(CArchiveException::badIndex);
        CObject* pOb = m_loaded[obTag].pObject;
        if (pOb && pClassRefRequested && !pOb->IsKindOf(pClassRefRequested))
            Throw(CArchiveException::badClass);
        return pOb;
    }
    if (m_nLoadDepth >= MAX_LOAD_DEPTH)
        Throw(CArchiveException::genericException);
    CObject* pOb = pClass->CreateObject();
    if (!pOb)
        Throw(CArchiveException::badClass);
    // Entered before it loads, so that objects inside it may refer back to it.
    AddLoaded({ nullptr, pOb, 0 });

    struct LoadLevel {
        CArchive& ar;
        UINT nSavedSchema;
        ~LoadLevel()
        {
            --ar.m_nLoadDepth;
            ar.m_nObjectSchema = nSavedSchema;
        }
    } level { *this, m_nObjectSchema };
    ++m_nLoadDepth;
    m_nObjectSchema = nSchema;
    pOb->Serialize(*this);
    return pOb;
}

CArchive& CArchive::operator<<(const CObject* pOb)
{
    WriteObject(pOb);
    return *this;
}

CArchive& CArchive::operator>>(CObject*& pOb)
{
    pOb = ReadObject(nullptr);
    return *this;
}

CArchive& CArchive::operator>>(const CObject*& pOb)
{
    pOb = ReadObject(nullptr);
    return *this;
}
