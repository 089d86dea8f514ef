#include "platform/base/CArchiveException.h"

#include <array>

IMPLEMENT_DYNAMIC(CArchiveException, CException)

CArchiveException::CArchiveException(int cause, LPCTSTR lpszArchiveName)
    : m_cause(cause)
    , m_strFileName(lpszArchiveName)
{
}

BOOL CArchiveException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const
{
    // clang-format off
    static constexpr std::array<LPCTSTR, badSchema + 1> s_formats = {
        "No error occurred while reading or writing %s.",
        "An unexpected error occurred while reading or writing %s.",
        "Tried to write to %s, which was opened for reading.",
        "The data of %s ended unexpectedly.",
        "Tried to read from %s, which was opened for writing.",
        "The format of %s is invalid.",
        "An unexpected object was found in %s.",
        "An unsupported version of an object was found in %s.",
    };
    // clang-format on
    int nCause = m_cause >= none && m_cause <= badSchema ? m_cause : genericException;
    return FillErrorMessage(lpszError, nMaxError, pnHelpContext, s_formats[static_cast<size_t>(nCause)], m_strFileName);
}

void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}
