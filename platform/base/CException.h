#pragma once

// The class library's exceptions. They are thrown by pointer, as the class library
// does: `throw new CFileException(...)`, or one of the AfxThrow... functions. A
// handler catches `CException*` (or a derived pointer) and calls Delete() when it
// is done with it; Delete frees exceptions made on the heap and leaves alone the
// few that are not (the memory exception, which cannot be allocated when memory
// runs out). Only the file, archive, memory and Internet classes throw; nothing
// else in the platform layer does.

#include "platform/base/CObject.h"
#include "platform/base/WinTypes.h"

class CException : public CObject {
    DECLARE_DYNAMIC(CException)

public:
    // bAutoDelete: whether Delete frees the object (TRUE for exceptions made with new).
    explicit CException(BOOL bAutoDelete = TRUE);

    // Ends the handler's use of the exception; frees it when it was made with new.
    void Delete();

    // Copies a one-sentence description, cut to nMaxError bytes (NUL included) at a
    // character boundary. FALSE with an empty buffer when there is none to give.
    // The help context, when asked for, is always 0.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const;

protected:
    // Formats pszFormat (at most one %s: the file name, or "an unnamed file") into the caller's buffer.
    static BOOL FillErrorMessage(
        LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext, LPCTSTR pszFormat, LPCTSTR pszFileName);

private:
    BOOL m_bAutoDelete;
};

// Memory could not be allocated.
class CMemoryException : public CException {
    DECLARE_DYNAMIC(CMemoryException)

public:
    explicit CMemoryException(BOOL bAutoDelete = TRUE);

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

// Throws the process's one preallocated CMemoryException; Delete leaves it alone.
[[noreturn]] void AfxThrowMemoryException();
