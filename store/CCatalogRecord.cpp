#include "store/CCatalogRecord.h"

#include "platform/base/WinError.h"
#include "store/CCatalogFile.h"

#include <algorithm>

CCatalogRecord::CCatalogRecord(CCatalogFile* pDatabase, LONG nTableType, CRecordRef ref)
    : m_pDatabase(pDatabase)
    , m_nTableType(nTableType)
    , m_ref(ref)
    , m_nSize(static_cast<std::size_t>(pDatabase ? pDatabase->GetRecordSize(nTableType) : 0))
{
    if (m_nSize > INLINE_SIZE)
        m_pHeap = std::make_unique<BYTE[]>(m_nSize);
}

CCatalogRecord::CCatalogRecord(const CCatalogRecord& other)
    : m_pDatabase(other.m_pDatabase)
    , m_nTableType(other.m_nTableType)
    , m_ref(other.m_ref)
    , m_nSize(other.m_nSize)
    , m_inline(other.m_inline)
{
    if (other.m_pHeap) {
        m_pHeap = std::make_unique<BYTE[]>(m_nSize);
        std::copy_n(other.m_pHeap.get(), m_nSize, m_pHeap.get());
    }
}

BOOL CCatalogRecord::Load()
{
    if (!m_pDatabase || m_nSize == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return m_pDatabase->ReadRecord(m_ref, m_nTableType, GetData());
}

BOOL CCatalogRecord::LoadAlone(CRecordRef* pOwner)
{
    if (!m_pDatabase || m_nSize == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return m_pDatabase->LookUpRecord(m_ref, m_nTableType, GetData(), pOwner);
}

BOOL CCatalogRecord::Delete()
{
    if (!m_pDatabase || !m_pDatabase->FreeRecord(m_ref, m_nTableType)) {
        if (!m_pDatabase)
            SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::span<BYTE> data = GetData();
    std::fill(data.begin(), data.end(), BYTE { 0 });
    return TRUE;
}

BOOL CCatalogRecord::Save()
{
    if (!m_pDatabase || m_nSize == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return m_pDatabase->WriteRecord(m_ref, m_nTableType, GetData());
}
