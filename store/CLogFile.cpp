#include "store/CLogFile.h"

#include "platform/base/TextFunctions.h"
#include "store/SystemInfo.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <span>
#include <string>

namespace archivora {
CLogFile g_log;
}

CLogFile::~CLogFile() = default;

DWORD CLogFile::MaskFromLetters(LPCTSTR pszLetters)
{
    if (!pszLetters || !*pszLetters)
        return LOG_ALL;
    DWORD dwMask = 0;
    for (const char* p = pszLetters; *p; ++p) {
        switch (*p) {
        case 's':
        case 'S':
            dwMask |= LOG_SENTINEL;
            break;
        case 'u':
        case 'U':
            dwMask |= LOG_UPDATE;
            break;
        case 'w':
        case 'W':
            dwMask |= LOG_WEB_ACCESS;
            break;
        default:
            break;
        }
    }
    return dwMask;
}

void CLogFile::Begin(LPCTSTR pszPath, DWORD dwMask)
{
    std::lock_guard lock(m_mutex);
    m_file.Close();
    m_nEnd = 0;
    m_dwMask = dwMask;
    if (dwMask == 0 || !pszPath)
        return;
    if (!m_file.Open(pszPath, CHostFile::Access::ReadWrite, CHostFile::Creation::CreateAlways))
        return;
    // Without a version the numbers read 0, which still tells a reader the log began.
    COSVersion version;
    GetOSVersion(version);
    CString strHeader;
    strHeader.Format("Begin log Win%s %d.%d build %d %s\n", "NT", static_cast<int>(version.dwMajor),
        static_cast<int>(version.dwMinor), static_cast<int>(version.dwBuild), version.strExtra);
    WriteLocked(strHeader, strHeader.GetLength());
}

void CLogFile::End()
{
    std::lock_guard lock(m_mutex);
    if (!m_file.IsOpen())
        return;
    static constexpr char END_LINE[] = "\nEnd log";
    WriteLocked(END_LINE, sizeof(END_LINE) - 1);
    m_file.Close();
}

void CLogFile::Printf(LPCTSTR pszFormat, ...)
{
    if (!pszFormat)
        return;
    va_list args;
    va_start(args, pszFormat);
    va_list argsCopy;
    va_copy(argsCopy, args);
    int nLength = std::vsnprintf(nullptr, 0, pszFormat, argsCopy);
    va_end(argsCopy);
    std::string strText;
    if (nLength > 0) {
        strText.resize(static_cast<size_t>(nLength) + 1);
        std::vsnprintf(strText.data(), strText.size(), pszFormat, args);
        strText.resize(Utf8PrefixLength(strText.c_str(), MAX_PRINTF_CHARS));
    }
    va_end(args);
    std::lock_guard lock(m_mutex);
    WriteLocked(strText.data(), strText.size());
}

void CLogFile::Write(LPCTSTR pszText)
{
    if (!pszText)
        return;
    std::lock_guard lock(m_mutex);
    WriteLocked(pszText, std::strlen(pszText));
}

void CLogFile::WriteLocked(const char* pData, size_t nLength)
{
    if (!m_file.IsOpen())
        return;
    // A failed write is dropped on purpose: tracing must not disturb the program.
    if (m_file.WriteAt(m_nEnd, std::span(reinterpret_cast<const BYTE*>(pData), nLength)))
        m_nEnd += static_cast<std::int64_t>(nLength);
}
