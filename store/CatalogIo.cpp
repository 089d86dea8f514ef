#include "store/CatalogIo.h"

#include "platform/base/FailureCountdown.h"
#include "platform/base/WinError.h"

namespace {

// The catalog write that the test seam picked to fail.
CFailureCountdown g_writeFailure;

}

void SetCatalogWriteFailure(int nWrite)
{
    g_writeFailure.Arm(nWrite);
}

CCatalogIo::~CCatalogIo()
{
    // A flush failure at destruction has no one to report to; the owner closes
    // explicitly whenever it can still report.
    (void)Close();
}

BOOL CCatalogIo::Open(LPCTSTR pszPath, bool bCreate)
{
    return OpenWith(pszPath, bCreate ? CHostFile::Creation::CreateAlways : CHostFile::Creation::OpenExisting);
}

BOOL CCatalogIo::CreateNew(LPCTSTR pszPath)
{
    return OpenWith(pszPath, CHostFile::Creation::CreateNew);
}

BOOL CCatalogIo::OpenWith(LPCTSTR pszPath, CHostFile::Creation eCreation)
{
    if (IsOpen()) {
        SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    if (!m_file.Open(pszPath, CHostFile::Access::ReadWrite, eCreation))
        return FALSE;
    m_nReads = 0;
    return TRUE;
}

BOOL CCatalogIo::Close()
{
    if (!IsOpen())
        return TRUE;
    BOOL bSynced = Sync();
    m_file.Close();
    return bSynced;
}

BOOL CCatalogIo::ReadAt(std::int64_t nOffset, std::span<BYTE> data)
{
    if (!IsOpen()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    ++m_nReads;
    return m_file.ReadExactAt(nOffset, data);
}

BOOL CCatalogIo::WriteAt(std::int64_t nOffset, std::span<const BYTE> data)
{
    if (!IsOpen()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (g_writeFailure.Fire()) {
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
    }
    return m_file.WriteAt(nOffset, data);
}

BOOL CCatalogIo::Sync()
{
    return m_file.Flush();
}

std::int64_t CCatalogIo::GetLength() const
{
    return m_file.GetLength();
}
