#pragma once

// The popup list: an owner-drawn, sorted list box hosted in a CPopupWnd that
// behaves like a cascading menu. Items with a child open a further popup
// beside themselves after a hover delay; a popup closes itself when the
// cursor has stayed away from it and from the item that opened it for
// 750 ms. The same lists open without the modal loop while something is
// dragged, driven by the drag tracker as a drop target.
//
//   created ──Open / OpenForDrag──> open ──choice──> Close(TRUE), up to the root
//                                        ──Esc, Left, Alt, click outside, close timer──> Close(FALSE)
//
// A child's host window is created by CreateChildPopup and owned by its
// parent list, which deletes it when the child reports that it closed
// ("PPM PopupFilhoDestroy" / "PPM PopupFilhoDestroyDrag"). After Close,
// CloseForDrag, ChooseHotItem or OnRightClick a child list may be deleted:
// callers touch none of its members afterwards.
//
// Derived lists draw and measure their items, give their width, their
// result objects and their child popups; everything else lives here.

#include "ui/CKadDropTarget.h"
#include "ui/CListBoxNT.h"

class CPopupWnd;

/* Registered messages of the popup chain (see CPopupWnd for the first two). */
extern const UINT g_nMsgPopupSelChanged;   // to the host window: wParam selected index
extern const UINT g_nMsgPopupInit;         // to the root's owner: lParam the opening list
extern const UINT g_nMsgPopupChildDestroy; // to the parent list: wParam 1 chosen, 0 cancelled
extern const UINT g_nMsgPopupChildDestroyDrag;
extern const UINT g_nMsgPopupChildEnter;

class CPopupCtrl
    : public CListBoxNT
    , public CKadDropTarget {
    DECLARE_DYNAMIC(CPopupCtrl)
    DECLARE_MESSAGE_MAP()

public:
    /* Timers on the list's window. */
    static constexpr UINT_PTR TIMER_CLOSE = 201;      // away too long: Close(FALSE)
    static constexpr UINT_PTR TIMER_CLOSE_DRAG = 202; // away too long in a drag: CloseForDrag
    static constexpr UINT_PTR TIMER_OPEN_CHILD = 203; // hovered long enough: open the child
    static constexpr UINT_PTR TIMER_OPEN_CHILD_DRAG = 204;
    static constexpr UINT_PTR TIMER_POLL = 205;      // watches the cursor while it is near
    static constexpr UINT_PTR TIMER_POLL_DRAG = 206; // the same in a drag, and whether it still runs
    static constexpr UINT CLOSE_DELAY_MS = 750;
    static constexpr UINT HOVER_DELAY_MS = 500;
    static constexpr UINT POLL_MS = 50;
    static constexpr UINT SOON_MS = 10;

    /* Modes. */
    static constexpr int MODE_MOUSE = 1;
    static constexpr int MODE_KEYBOARD = 2;

    CPopupCtrl();
    ~CPopupCtrl() override;

    /* Items. */

    // Adds a sorted item with the derived list's value; the result of setting its record.
    int AddItem(LPCSTR pszText, DWORD nData, BOOL bHasChild, BOOL bEnabled);
    // The derived list's value of an item; 0 for a bad index.
    DWORD GetItemValue(int nIndex) const;
    BOOL ItemHasChild(int nIndex) const;
    // The item turned out to have no child (its child listing was empty).
    void ClearItemChild(int nIndex);

    /* Opening and closing. */

    // Joins the hit table, takes the placement and sets the mode.
    void Open(int nMode, const RECT* pParentItemRect);
    // Closes the open child, leaves the hit table and destroys the host
    // window; a child then tells its parent whether an item was chosen.
    void Close(BOOL bChosen);
    void OpenForDrag(const RECT* pParentItemRect);
    void CloseForDrag();
    // Tells the root's owner that this list opens; remembers the opening
    // item's screen rectangle (null: none) and the host window's.
    void InitPlacement(const RECT* pParentItemRect);
    void SetMode(int nMode);
    BOOL OpenChild(int nIndex, int nMode);
    BOOL OpenChildForDrag(int nIndex);
    void CloseChild();
    void CloseChildForDrag();
    // The item's screen rectangle (the top item's when it has none) and where its child popup goes.
    void GetItemScreenRect(int nIndex, POINT* pOrigin, RECT* pRect);
    // Arms nTimerId at 750 ms when the cursor moved away from the popup and
    // its parent item, and kills it when the cursor came back.
    void CheckCursorOutside(POINT cursor, UINT_PTR nTimerId);
    void CancelChildTimer() { KillTimer(TIMER_OPEN_CHILD); }

    // Set by CPopupWnd::Create: the owner (a parent list or the window that
    // asked for the popup) and the host window.
    void AttachHost(CPopupWnd* pHost, CWnd* pParent);

    /* State. */
    CPopupWnd* GetHost() const { return m_pHost; }
    CWnd* GetParentPopup() const { return m_pParent; }
    BOOL HasParentPopup() const { return m_bHasParent; }
    BOOL IsInside() const { return m_bInside; }
    BOOL IsNear() const { return m_bNear; }
    int GetMode() const { return m_nMode; }
    int GetOpenChildItem() const { return m_nOpenChildItem; }
    CPopupWnd* GetChildPopup() const { return m_pChild; }

    /* Operations derived lists may override. */

    // Selects the item (-1: none) and tells the host window when the list took it.
    virtual int SelectItem(int nIndex);
    // The width in pixels of the list's content.
    virtual int GetPopupWidth() = 0;
    // A drop on the list; returns 0 after closing the popup.
    virtual int EndDragMode(CKadDragObj* pPayload, int nEffect);
    virtual void OnDragEnter();
    // (x, y) in client coordinates; returns what a drop would do (base: nothing).
    virtual int OnDragOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y);
    virtual void OnDragLeave();
    virtual void OnKeyDown(UINT nVirtualKey);
    // A new object for the item, owned by the caller (the derived list says
    // what it is); base: null.
    virtual void* GetItemResult(int nIndex);
    // The selected enabled item's result (else null), then closes the chain.
    // An item that gives no result but has a child opens its child instead,
    // as a menu's submenu item does; the chain stays open and null is returned.
    virtual void* ChooseHotItem();
    virtual void OnMouseEnter();
    // (x, y) in client coordinates.
    virtual void OnMouseMove(UINT nFlags, int x, int y);
    virtual void OnMouseLeave();
    // Returns TRUE when the chain closed.
    virtual BOOL OnRightClick();
    virtual void SetItemEnabled(int nIndex, BOOL bEnabled);
    virtual BOOL IsItemEnabled(int nIndex) const;
    // A new, created, filled and hidden popup window for the item's child; null when none.
    virtual CPopupWnd* CreateChildPopup(int nIndex);

    /* As a drop target: the drag operations above. */
    void DropEnter() override { OnDragEnter(); }
    DROPEFFECT DropOver(CKadDragObj* pPayload, UINT nKeyState, int x, int y) override;
    void DropLeave() override { OnDragLeave(); }
    BOOL DropTake(CKadDragObj* pPayload, DROPEFFECT effect) override;

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnPopupChildDestroy(WPARAM wParam, LPARAM lParam);
    LRESULT OnPopupChildDestroyDrag(WPARAM wParam, LPARAM lParam);
    LRESULT OnPopupChildEnter(WPARAM wParam, LPARAM lParam);

private:
    struct CRecord : CListItemRecord {
        DWORD nFlags;
        DWORD nData;
    };
    static constexpr DWORD FLAG_HAS_CHILD = 0x1;
    static constexpr DWORD FLAG_ENABLED = 0x2;

    CRecord* Record(int nIndex) const;
    // What the mouse and a drag do alike, each with timers of its own.
    void Enter(UINT_PTR nPollTimer, UINT_PTR nCloseTimer);
    void HoverAt(int x, int y, UINT_PTR nOpenTimer);
    void Leave(UINT_PTR nOpenTimer, UINT_PTR nPollTimer);
    // Creates the item's child popup and places it beside the item; FALSE when it has none.
    BOOL PlaceChild(int nIndex, RECT* pItemRect);
    // The cursor lies in the popup window or in the parent item rectangle.
    BOOL IsCursorNear(POINT cursor) const;
    // Timers 203 and 204: replaces the open child with the selected item's.
    void OpenSelectedChild(BOOL bForDrag);
    // The child window is gone: deletes its object.
    void ForgetChild();
    void TellParent(UINT nMessage, WPARAM wParam);

    CPopupWnd* m_pHost { nullptr };
    CWnd* m_pParent { nullptr };
    BOOL m_bHasParent { FALSE };
    BOOL m_bInside { FALSE };
    int m_nOpenChildItem { -1 };
    CPopupWnd* m_pChild { nullptr }; // owned
    int m_nMode { MODE_MOUSE };
    RECT m_rcPopup {};
    RECT m_rcParentItem {};
    BOOL m_bNear { TRUE };
};
