#pragma once

// The popup of the kinds of document the user can create
// ("NewDocPopupWnd"): a new mail message when Simple MAPI is there, the
// entries of the first list, a separator row when both lists have entries,
// then those of the second, in that order (the list does not sort). Choosing
// a row gives its kind's name as text the list keeps (valid while the list
// object lives; the caller frees nothing); the separator gives null.
//
// The mail row's own icon exists only on the old family of systems, so the
// mail row shows none here.

#include "platform/base/CollectionArrays.h"
#include "ui/CPopupCtrl.h"
#include "ui/CPopupWnd.h"
#include "ui/CSysImageList.h"
#include "ui/PopupRowLook.h"

class CNewDocPopupCtrl : public CPopupCtrl {
    DECLARE_DYNAMIC(CNewDocPopupCtrl)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr DWORD ROW_MAIL = static_cast<DWORD>(-2);
    static constexpr DWORD ROW_SEPARATOR = static_cast<DWORD>(-1);
    static constexpr int SEPARATOR_HEIGHT = 2;

    // The rows; every one enabled.
    void FillItems(const CStringArray& first, const CStringArray& second);

    int GetPopupWidth() override { return m_nWidest; }
    // The LPCTSTR name of the row's kind, or null.
    void* GetItemResult(int nIndex) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // Created without sorting.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);

private:
    CSysImageList m_systemImages;
    CPopupRowLook m_look;
    int m_nWidest { 0 };
    CString m_strMail;
    CStringArray m_names; // both lists in order, row value n names entry n - 1
};

class CNewDocPopupWnd : public CPopupWnd {
public:
    CNewDocPopupWnd();
    CPopupCtrl* GetPopupCtrl() override { return &m_list; }
    CNewDocPopupCtrl& GetNewDocList() { return m_list; }

private:
    CNewDocPopupCtrl m_list;
};
