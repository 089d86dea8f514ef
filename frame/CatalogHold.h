#pragma once

// Holds one open reference on a catalog file for a scope: acquired when made,
// released when it goes, on every path out of the scope.

#include "store/CCatalog.h"

class CCatalogHold {
public:
    // A null catalog holds nothing.
    explicit CCatalogHold(CCatalog* pCatalog)
        : m_pCatalog(pCatalog)
    {
        m_bHeld = m_pCatalog && m_pCatalog->Acquire();
    }
    ~CCatalogHold()
    {
        if (m_bHeld)
            m_pCatalog->Release();
    }
    CCatalogHold(const CCatalogHold&) = delete;
    CCatalogHold& operator=(const CCatalogHold&) = delete;

    // Whether the file is open for the scope.
    BOOL IsHeld() const { return m_bHeld ? TRUE : FALSE; }

private:
    CCatalog* m_pCatalog;
    bool m_bHeld { false };
};
