#pragma once

// The exception the file classes throw when an operation fails (see CException.h
// for how exceptions are thrown and deleted).

#include "platform/base/CException.h"
#include "platform/base/CString.h"

class CFileException : public CException {
    DECLARE_DYNAMIC(CFileException)

public:
    // What went wrong, in the class library's terms (m_cause).
    enum {
        none = 0,             // no error
        genericException = 1, // an error of no other kind
        fileNotFound = 2,
        badPath = 3, // all or part of the path is invalid
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6, // the file object has no valid handle
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10, // a hardware or device error
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14, // reached the end of the file
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszArchiveName = nullptr);

    // The cause for a Win32 error code (ERROR_FILE_NOT_FOUND -> fileNotFound, ...);
    // codes of no listed kind give genericException, NO_ERROR gives none.
    static int OsErrorToException(LONG lOsError);
    // Throws the CFileException for a Win32 error code; does nothing for 0 (no error).
    static void ThrowOsError(LONG lOsError, LPCTSTR lpszFileName = nullptr);

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

    int m_cause;
    LONG m_lOsError; // the Win32 error code, or -1 when there is none
    CString m_strFileName;
};

[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);
