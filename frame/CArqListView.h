#pragma once

// CArqListView: the middle pane of a catalog view, a view holding one
// document list (CArqListViewCtrl, child 101) that fills it. It tells the
// catalog view's frame what the list's focus moves to ("ALM ItemChanged",
// lParam the focused row's record, 0 when the focus left), passes on the
// list's double-click on a node ("ALM SisDblClk"), and turns the list's
// catalog changes into the main window's program-wide messages: "ALM
// AlterouCatalogo" stops a fill and sends "APPM Refazer"; "ALM AlterouProp"
// lets the fill finish and sends "APPM Reler". Commands reach the list first.

#include "frame/CArqListViewCtrl.h"
#include "frame/CPaneView.h"

class CArqListView : public CPaneView {
    DECLARE_DYNCREATE(CArqListView)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT LIST_ID = 101;

    CArqListView() = default;

    CArqListViewCtrl& GetListCtrl() { return m_list; }

    /* The preferences' column choices, on the active catalog view's list. */

    // FALSE when no catalog view is open.
    static BOOL GetVisibleColumns(CListColumnChoices* pChoices, BOOL* pbListExtension);
    static BOOL ApplyColumnChoices(const CListColumnChoices& choices, BOOL bListExtension);

    void OnInitialUpdate() override;
    // Activated while mail stores wait to be reorganised: the main window is asked to.
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    BOOL CreateControl() override;
    CWnd* GetControl() override { return &m_list; }

    BOOL OnQueryNewPalette();
    void OnItemChanged(NMHDR* pNotify, LRESULT* pResult);
    LRESULT OnCatalogChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnPropertiesChanged(WPARAM wParam, LPARAM lParam);

private:
    // The list of the active catalog view; null when none is open.
    static CArqListViewCtrl* ActiveList();

    CArqListViewCtrl m_list;
};
