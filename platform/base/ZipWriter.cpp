#include "platform/base/ZipWriter.h"

#include "platform/base/PathMap.h"

#include <string>

#include <minizip/zip.h>

namespace {

zipFile AsZip(void* hZip)
{
    return static_cast<zipFile>(hZip);
}

}

CZipWriter::~CZipWriter()
{
    Close();
}

BOOL CZipWriter::Create(LPCTSTR pszPath, LPCTSTR pszEntryName, DWORD dwDosTime)
{
    Close();
    std::string strHost;
    if (!pszPath || !HostPathFromProgramPath(pszPath, strHost))
        return FALSE;
    zipFile hZip = zipOpen(strHost.c_str(), APPEND_STATUS_CREATE);
    if (hZip == nullptr)
        return FALSE;
    zip_fileinfo info {};
    info.dosDate = dwDosTime;
    if (zipOpenNewFileInZip(
            hZip, pszEntryName, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION)
        != ZIP_OK) {
        zipClose(hZip, nullptr);
        return FALSE;
    }
    m_hZip = hZip;
    m_bWriteFailed = false;
    return TRUE;
}

BOOL CZipWriter::Write(const void* pBuffer, UINT nCount)
{
    if (m_hZip == nullptr)
        return FALSE;
    m_bWriteFailed = zipWriteInFileInZip(AsZip(m_hZip), pBuffer, nCount) < 0;
    return m_bWriteFailed ? FALSE : TRUE;
}

void CZipWriter::Close()
{
    if (m_hZip == nullptr)
        return;
    if (!m_bWriteFailed)
        zipCloseFileInZip(AsZip(m_hZip));
    zipClose(AsZip(m_hZip), nullptr);
    m_hZip = nullptr;
}
