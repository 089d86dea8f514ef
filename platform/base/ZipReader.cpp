#include "platform/base/ZipReader.h"

#include "platform/base/PathMap.h"

#include <cstring>
#include <string>

#include <minizip/unzip.h>
#include <sys/stat.h>

namespace {

constexpr int METHOD_STORED = 0;
constexpr int METHOD_DEFLATE = 8;
constexpr uLong FLAG_ENCRYPTED = 0x1;
constexpr uLong HOST_UNIX = 3; // the system that made the entry, in the high byte of version
constexpr uLong DOS_DIRECTORY = 0x10;

unzFile AsUnzip(void* hZip)
{
    return static_cast<unzFile>(hZip);
}

bool IsPlainFileEntry(const unz_file_info& info, const char* pszName)
{
    if (info.flag & FLAG_ENCRYPTED)
        return false;
    if (info.compression_method != METHOD_STORED && info.compression_method != METHOD_DEFLATE)
        return false;
    size_t nName = std::strlen(pszName);
    if ((nName > 0 && (pszName[nName - 1] == '/' || pszName[nName - 1] == '\\')) || (info.external_fa & DOS_DIRECTORY))
        return false;
    if ((info.version >> 8) == HOST_UNIX) {
        auto nMode = static_cast<mode_t>(info.external_fa >> 16);
        // Permissions without a kind of file (some zippers write no more) count as a file.
        if ((nMode & S_IFMT) != 0 && !S_ISREG(nMode))
            return false;
    }
    return true;
}

} // namespace

CZipReader::~CZipReader()
{
    Close();
}

BOOL CZipReader::OpenFirstEntry(LPCTSTR pszPath)
{
    Close();
    std::string strHost;
    if (!pszPath || !HostPathFromProgramPath(pszPath, strHost))
        return FALSE;
    unzFile hZip = unzOpen(strHost.c_str());
    if (hZip == nullptr)
        return FALSE;
    m_hZip = hZip;
    unz_file_info info {};
    char szName[1024] = "";
    if (unzGoToFirstFile(hZip) != UNZ_OK
        || unzGetCurrentFileInfo(hZip, &info, szName, sizeof szName, nullptr, 0, nullptr, 0) != UNZ_OK
        || !IsPlainFileEntry(info, szName) || unzOpenCurrentFile(hZip) != UNZ_OK) {
        Close();
        return FALSE;
    }
    m_bEntryOpen = true;
    m_nExpected = info.uncompressed_size;
    m_nRead = 0;
    return TRUE;
}

int CZipReader::Read(void* pBuffer, UINT nCount)
{
    if (!m_bEntryOpen)
        return -1;
    int nRead = unzReadCurrentFile(AsUnzip(m_hZip), pBuffer, nCount);
    if (nRead > 0)
        m_nRead += static_cast<ULONGLONG>(nRead);
    if (nRead != 0)
        return nRead;
    // The end: the entry must have its announced size, and closing it
    // compares the checksum of what was read.
    m_bEntryOpen = false;
    bool bComplete = unzCloseCurrentFile(AsUnzip(m_hZip)) == UNZ_OK && m_nRead == m_nExpected;
    return bComplete ? 0 : -1;
}

void CZipReader::Close()
{
    if (m_bEntryOpen)
        unzCloseCurrentFile(AsUnzip(m_hZip));
    m_bEntryOpen = false;
    if (m_hZip)
        unzClose(AsUnzip(m_hZip));
    m_hZip = nullptr;
}
