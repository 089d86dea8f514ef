#include "webaccess/pages/CWAOutputFile.h"

#include "platform/base/CException.h"
#include "platform/base/Clock.h"
#include "platform/base/FailureCountdown.h"
#include "platform/base/FileFunctions.h"

#include <cstring>
#include <ctime>

namespace {

constexpr char ZIP_ENTRY_NAME[] = "DUMMY";

// The reply write that the test seam picked to fail.
CFailureCountdown g_writeFailure;

// The local time now as a DOS stamp: the date in the high 16 bits, the time
// (two-second units) in the low 16 bits.
DWORD DosTimeNow()
{
    const auto nSeconds = static_cast<time_t>(ClockUtcNow() / FILETIME_UNITS_PER_SECOND - FILETIME_UNIX_EPOCH_SECONDS);
    std::tm local {};
    localtime_r(&nSeconds, &local);
    const int nYear = local.tm_year + 1900 < 1980 ? 0 : local.tm_year + 1900 - 1980;
    const DWORD nDate = (static_cast<DWORD>(nYear) << 9) | (static_cast<DWORD>(local.tm_mon + 1) << 5)
        | static_cast<DWORD>(local.tm_mday);
    const DWORD nTime = (static_cast<DWORD>(local.tm_hour) << 11) | (static_cast<DWORD>(local.tm_min) << 5)
        | static_cast<DWORD>(local.tm_sec / 2);
    return (nDate << 16) | nTime;
}

} // namespace

void SetReplyWriteFailure(int nWrite)
{
    g_writeFailure.Arm(nWrite);
}

BOOL CWAOutputFile::Open(LPCTSTR pszPath, BOOL bZip)
{
    m_strName = pszPath;
    m_bZip = bZip;
    m_bWriteFailed = FALSE;
    const BOOL bOpen = bZip ? m_zip.Create(pszPath, ZIP_ENTRY_NAME, DosTimeNow())
                            : m_file.Open(pszPath, CFile::modeCreate | CFile::modeWrite);
    // A reply may hold a downloaded document: it is the user's alone. Where
    // the file system keeps no modes, its folder is what keeps others out.
    if (bOpen)
        static_cast<void>(RestrictToOwner(pszPath));
    return bOpen;
}

void CWAOutputFile::Close()
{
    if (!m_bZip) {
        if (m_file.m_hFile == CFile::hFileNull)
            return;
        try {
            m_file.Close();
        } catch (CException* pException) {
            // The reply is short; its reader finds no end token.
            pException->Delete();
        }
        return;
    }
    m_zip.Close();
}

void CWAOutputFile::SetZipMode(BOOL bZip)
{
    if ((bZip != FALSE) == (m_bZip != FALSE))
        return;
    Close();
    const CString strName = m_strName;
    Open(strName, bZip);
}

BOOL CWAOutputFile::Write(const void* pBuffer, UINT nCount)
{
    if (!WriteBytes(pBuffer, nCount)) {
        m_bWriteFailed = TRUE;
        return FALSE;
    }
    return TRUE;
}

BOOL CWAOutputFile::WriteBytes(const void* pBuffer, UINT nCount)
{
    if (g_writeFailure.Fire())
        return FALSE;
    if (m_bZip)
        return m_zip.Write(pBuffer, nCount);
    try {
        m_file.Write(pBuffer, nCount);
    } catch (CException* pException) {
        pException->Delete();
        return FALSE;
    }
    return TRUE;
}

void CWAOutputFile::WriteText(LPCTSTR pszText)
{
    // A failed write only shortens the reply; the page goes on (see the header).
    static_cast<void>(Write(pszText, static_cast<UINT>(std::strlen(pszText))));
}
