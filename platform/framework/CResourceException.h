#pragma once

// A Windows resource (a drawing object, a menu, a module's resource) could not
// be made or found. The drawing classes' constructors that make an object
// throw it, as the class library's do.

#include "platform/base/CException.h"

class CResourceException : public CException {
    DECLARE_DYNAMIC(CResourceException)

public:
    explicit CResourceException(BOOL bAutoDelete = TRUE);

    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

// Throws a new CResourceException.
[[noreturn]] void AfxThrowResourceException();
