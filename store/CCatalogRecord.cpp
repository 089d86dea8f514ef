#include "store/CCatalogRecord.h"

#include "platform/base/WinError.h"
#include "store/CCatalogFile.h"

#include <algorithm>

CCatalogRecord::CCatalogRecord(CCatalogFile* pDatabase, LONG nTableType, CRecordRef ref)
    : m_pDatabase(pDatabase)
    , m_nTableType(nTableType)
    , m_ref(ref)
    , m_data(static_cast<std::size_t>(pDatabase ? pDatabase->GetRecordSize(nTableType) : 0))
{
}

BOOL CCatalogRecord::Load()
{
    if (!m_pDatabase || m_data.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return m_pDatabase->ReadRecord(m_ref, m_nTableType, m_data);
}

BOOL CCatalogRecord::Delete()
{
    if (!m_pDatabase || !m_pDatabase->FreeRecord(m_ref, m_nTableType)) {
        if (!m_pDatabase)
            SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::fill(m_data.begin(), m_data.end(), BYTE { 0 });
    return TRUE;
}

BOOL CCatalogRecord::Save()
{
    if (!m_pDatabase || m_data.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return m_pDatabase->WriteRecord(m_ref, m_nTableType, m_data);
}
