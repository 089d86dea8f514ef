#pragma once

// The three document popups and their windows: the favourite documents
// ("FavoritesPopupWnd"), the recently catalogued ones in the order of their
// list ("UltimosCatalogadosPopupWnd", a list that does not sort) and the
// documents opened unprotected ("UnProtectedPopupWnd"), each over the host's
// main catalog. Create the window, FillItems, look at GetDocumentCount,
// track it; the result is a CDocumentRec the caller deletes.
//
// The unprotected popup's menu protects the document again through the
// host's password prompt, which does the protecting, or runs its image
// preview and then renews its entry in the pending set.

#include "ui/CDocumentPopupCtrl.h"
#include "ui/CPopupWnd.h"

class CFavoritesPopupCtrl : public CDocumentPopupCtrl {
    DECLARE_DYNAMIC(CFavoritesPopupCtrl)

public:
    // The documents of the favourites node by name; none: one disabled row.
    void FillItems() override;
    UINT GetContextMenuId() override;
};

class CUltimosCatalogadosPopupCtrl : public CDocumentPopupCtrl {
    DECLARE_DYNAMIC(CUltimosCatalogadosPopupCtrl)

public:
    // The readable entries of the recently-catalogued list in its order; none: one disabled row.
    void FillItems() override;
    UINT GetContextMenuId() override;
    // Created without sorting.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
};

class CUnProtectedPopupCtrl : public CDocumentPopupCtrl {
    DECLARE_DYNAMIC(CUnProtectedPopupCtrl)

public:
    static constexpr int PASSWORD_PROTECT_AGAIN = 1; // the mode the password prompt is run in

    // The pending documents listed unprotected that the catalog holds.
    void FillItems() override;
    UINT GetContextMenuId() override;
    BOOL OnRightClick() override;
};

template<class TList> class CDocumentPopupWnd : public CPopupWnd {
public:
    explicit CDocumentPopupWnd(LPCSTR pszClassName)
        : CPopupWnd(pszClassName)
    {
    }
    CPopupCtrl* GetPopupCtrl() override { return &m_list; }
    TList& GetDocumentList() { return m_list; }

private:
    TList m_list;
};

class CFavoritesPopupWnd : public CDocumentPopupWnd<CFavoritesPopupCtrl> {
public:
    CFavoritesPopupWnd();
};

class CUltimosCatalogadosPopupWnd : public CDocumentPopupWnd<CUltimosCatalogadosPopupCtrl> {
public:
    CUltimosCatalogadosPopupWnd();
};

class CUnProtectedPopupWnd : public CDocumentPopupWnd<CUnProtectedPopupCtrl> {
public:
    CUnProtectedPopupWnd();
};
