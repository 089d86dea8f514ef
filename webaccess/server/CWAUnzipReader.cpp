#include "webaccess/server/CWAUnzipReader.h"

#include <vector>

namespace {

constexpr UINT UNZIP_BLOCK = 64 * 1024;

}

BOOL CWAUnzipReader::Open(LPCTSTR pszArchive, LPCTSTR pszTarget, ULONGLONG nLimit)
{
    Close();
    if (!m_zip.OpenFirstEntry(pszArchive))
        return FALSE;
    if (!m_target.CreateNew(pszTarget)) {
        m_zip.Close();
        return FALSE;
    }
    m_nLimit = nLimit;
    m_nWritten = 0;
    return TRUE;
}

CWAUnzipReader::Step CWAUnzipReader::Continue(ULONGLONG nMaxBytes)
{
    std::vector<char> block(UNZIP_BLOCK);
    ULONGLONG nThisTurn = 0;
    while (nThisTurn < nMaxBytes) {
        int nRead = m_zip.Read(block.data(), UNZIP_BLOCK);
        if (nRead == 0) {
            Close();
            return Step::Done;
        }
        m_nWritten += nRead > 0 ? static_cast<ULONGLONG>(nRead) : 0;
        if (nRead < 0 || m_nWritten > m_nLimit || !m_target.Write(block.data(), static_cast<UINT>(nRead))) {
            Close();
            return Step::Failed;
        }
        nThisTurn += static_cast<ULONGLONG>(nRead);
    }
    return Step::More;
}

void CWAUnzipReader::Close()
{
    m_zip.Close();
    m_target.Close();
}

BOOL UnzipToFile(LPCTSTR pszArchive, LPCTSTR pszTarget, ULONGLONG nLimit)
{
    CWAUnzipReader reader;
    if (!reader.Open(pszArchive, pszTarget, nLimit))
        return FALSE;
    CWAUnzipReader::Step eStep;
    do
        eStep = reader.Continue(~0ULL);
    while (eStep == CWAUnzipReader::Step::More);
    return eStep == CWAUnzipReader::Step::Done;
}
