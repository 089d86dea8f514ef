#pragma once

// The exception CArchive throws when an archive cannot be stored or loaded (see
// CException.h for how exceptions are thrown and deleted). Failures of the file
// under the archive arrive as CFileException instead.

#include "platform/base/CException.h"
#include "platform/base/CString.h"

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)

public:
    // What went wrong (m_cause).
    enum {
        none = 0,             // no error
        genericException = 1, // an error of no other kind (also: objects nested too deeply)
        readOnly = 2,         // tried to store into an archive opened for loading
        endOfFile = 3,        // the data ended before the value or object did
        writeOnly = 4,        // tried to load from an archive opened for storing
        badIndex = 5,         // a tag names no stored object or class, or the wrong kind
        badClass = 6,         // an unknown class, or one that is not the kind asked for
        badSchema = 7,        // the stored schema of a class differs from the program's
    };

    explicit CArchiveException(int cause = none, LPCTSTR lpszArchiveName = nullptr);

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

    int m_cause;
    CString m_strFileName;
};

[[noreturn]] void AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = nullptr);
