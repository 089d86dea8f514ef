#include "store/CatalogIo.h"

#include "platform/base/FailureCountdown.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/WinError.h"

#include <atomic>

namespace {

// The catalog write that the test seam picked to fail.
CFailureCountdown g_writeFailure;
// Who sees the changes of the store's files.
std::atomic<CCatalogIoRecorder*> g_pRecorder { nullptr };

}

void SetCatalogWriteFailure(int nWrite)
{
    g_writeFailure.Arm(nWrite);
}

void SetCatalogIoRecorder(CCatalogIoRecorder* pRecorder)
{
    g_pRecorder.store(pRecorder);
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
    m_strPath = pszPath;
    m_nReads = 0;
    m_bUnflushed = eCreation != CHostFile::Creation::OpenExisting;
    if (CCatalogIoRecorder* pRecorder = g_pRecorder.load(); pRecorder && eCreation != CHostFile::Creation::OpenExisting)
        pRecorder->OnCreate(m_strPath);
    return TRUE;
}

BOOL CCatalogIo::Close()
{
    if (!IsOpen())
        return TRUE;
    BOOL bSynced = SyncIfWritten();
    m_file.Close();
    return bSynced;
}

void CCatalogIo::CloseUnflushed()
{
    m_file.Close();
    m_bUnflushed = false;
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
    m_bUnflushed = true;
    if (!m_file.WriteAt(nOffset, data))
        return FALSE;
    if (CCatalogIoRecorder* pRecorder = g_pRecorder.load())
        pRecorder->OnWrite(m_strPath, nOffset, data);
    return TRUE;
}

BOOL CCatalogIo::Sync()
{
    return Flushed(m_file.Flush());
}

BOOL CCatalogIo::SyncData()
{
    return Flushed(m_file.FlushData());
}

BOOL CCatalogIo::Flushed(BOOL bFlushed)
{
    if (!bFlushed)
        return FALSE;
    m_bUnflushed = false;
    if (CCatalogIoRecorder* pRecorder = g_pRecorder.load())
        pRecorder->OnSync(m_strPath);
    return TRUE;
}

BOOL CCatalogIo::Remove(LPCTSTR pszPath)
{
    if (!DeleteFile(pszPath) && GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_PATH_NOT_FOUND)
        return FALSE;
    if (CCatalogIoRecorder* pRecorder = g_pRecorder.load())
        pRecorder->OnRemove(pszPath);
    return TRUE;
}

std::int64_t CCatalogIo::GetLength() const
{
    return m_file.GetLength();
}
