#pragma once

// CListWindow: what the modeless document-list windows share (the recycle
// bin, the search results and the expired documents): a kept dialog with a
// document list on control 1212, the focused document's place in a node path
// control (1243), a count caption (1283), a button (1342) that pops up the
// groups the focused document is linked to, shown while it has any, its menu
// bar (the menu of the template's ID), and catalog and view changes that wait
// while it is hidden.
//
//   hidden ──shown──> open (catalog held, pending reload and redraw done)
//   open ──hidden, closed, Escape──> hidden (catalog released)
//
// The window stays alive while hidden; Enter and Escape in the list go to
// the list, never end the dialog.

#include "ui/CHotButton.h"
#include "ui/CNodePathCtrl.h"

#include "platform/framework/CDialog.h"

#include <span>

class CArqListCtrl;
class CCatalog;

// A column of a list window's list, in index order: its ID, width in "a"
// widths, shading, grid type and format. Column 1 is the state column: it
// shows first, with the header's state picture.
struct CListWindowColumn {
    LONG nId;
    int nChars;
    BOOL bShaded;
    int nType;
    int nFormat;
};

class CListWindow : public CDialog {
    DECLARE_DYNAMIC(CListWindow)
    DECLARE_MESSAGE_MAP()

public:
    static constexpr UINT LIST_ID = 1212;
    static constexpr UINT NODE_PATH_ID = 1243;
    static constexpr UINT COUNT_ID = 1283;
    static constexpr UINT GROUPS_ID = 1342;

    // Makes the window, hidden; FALSE when it cannot be made.
    BOOL CreateHidden(CWnd* pParent);
    // Shows the window (filling it when it was closed) and brings it forward.
    void ShowList();

    /* Changes the main frame fans out. */

    // The catalog changed: the rows are made again now, or at the next show.
    void OnCatalogChanged();
    // Properties changed: the rows are read again now, or at the next show.
    void OnViewChanged();
    BOOL IsOpen() const { return m_bOpen; }

    virtual CArqListCtrl& GetList() = 0;
    // Commands reach the list first, unless the window takes them itself.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    explicit CListWindow(UINT nIDTemplate);

    /* What each window supplies. */

    // The list's columns.
    virtual std::span<const CListWindowColumn> GetColumns() const = 0;
    // The catalog the window shows, held while it is open.
    virtual CCatalog* GetCatalog() = 0;
    // Fills the list from the catalog; rows already there keep their place.
    virtual void Reload() = 0;
    // Whether the document list's commands apply to the rows (not in the recycle bin).
    virtual BOOL ListTakesCommands() const { return TRUE; }

    BOOL OnInitDialog() override;
    // Escape and the close box hide the window; the dialog never ends itself.
    void OnCancel() override;
    void OnOK() override { }
    // Writes the count caption and the focused row's place.
    void ShowFocused();

    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnDestroy();
    LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
    void OnListItemChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSelectAll();
    void OnInvertSelection();
    // Pops up the focused document's groups below the button.
    void OnGroupsButton();
    LRESULT OnListCatalogChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnListPropChanged(WPARAM wParam, LPARAM lParam);

private:
    void InsertColumns();
    void Open();
    void Close();

    const UINT m_nIDTemplate;
    CNodePathCtrl m_nodePath;
    CHotButton m_groupsButton;
    BOOL m_bGroupsShowing { FALSE }; // the groups popup is up (the button's dwell does not open another)
    BOOL m_bOpen { FALSE };
    BOOL m_bReloadPending { FALSE };
    BOOL m_bRedrawPending { FALSE };
};

// What the lists of these windows do with a key before the dialog and the
// main window's accelerators see it: Enter, Escape, F3, F5 and Ctrl with a
// letter go to the list at once (TRUE: handled).
BOOL PreTranslateListWindowKey(CWnd* pList, MSG* pMsg);
