#pragma once

// The borderless top-level window that hosts a popup list, with an up and a
// down arrow button that scroll the list when it is cut to fit the screen.
// The root popup of a chain runs modally in TrackPopup: it holds the mouse
// capture and routes every mouse and keyboard message to whichever popup
// list of the chain lies under the cursor (found in the popup hit table) or
// has the keyboard (the deepest one), until the chain closes.
//
// A derived window embeds its derived list and returns it from
// GetPopupCtrl. A root window belongs to whoever created it; a child's is
// created by its parent list's CreateChildPopup and deleted by that list.
//
// Calling order: construct, Create(owner), fill the list, optionally
// SetRightClickAllowed, then TrackPopup; the caller owns the result. For a
// drag: Create, fill, FitOnScreen, GetPopupCtrl()->OpenForDrag.

#include "platform/base/CString.h"
#include "platform/framework/CWnd.h"
#include "ui/CBtnSetaPopup.h"

class CPopupCtrl;

class CPopupWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    /* Child control IDs. */
    static constexpr UINT ID_LIST = 101;
    static constexpr UINT ID_SCROLL_UP = 102;
    static constexpr UINT ID_SCROLL_DOWN = 103;

    // Registers the window class of that name on first use; throws the
    // resource exception when it cannot.
    explicit CPopupWnd(LPCSTR pszClassName);
    ~CPopupWnd() override;

    virtual CPopupCtrl* GetPopupCtrl() = 0;

    // Creates the hidden window, its arrow buttons and its list, whose owner
    // is pOwner (a parent popup list or the window that asked for the
    // popup). 1 done; 0 the window or the list failed; -1 an arrow button failed.
    int Create(CWnd* pOwner);
    // Shows the popup at *pPos, off *pAvoid, and runs the chain until it
    // closes. Returns the chosen item's result (the caller owns it) or null.
    void* TrackPopup(const POINT* pPos, const RECT* pAvoid, const RECT* pParentItemRect);
    // Sizes the window to the list (at most three quarters of the screen
    // high, in whole rows), keeps it on screen and off *pAvoid (null: none)
    // and shows it without activating it.
    void FitOnScreen(const POINT* pPos, const RECT* pAvoid);

    // Looks at a message of the modal loop; TRUE when the chain took it.
    // While a list of the chain edits a row's label, the editor has the
    // focus and gets the keys as usual; a press in the editor goes to it and
    // a press elsewhere ends the edit (the focus goes back to its list).
    BOOL FilterMessage(const MSG* pMsg);

    BOOL IsDragMode() const { return m_bDragMode; }
    void SetDragMode(BOOL bDragMode) { m_bDragMode = bDragMode; }
    // Right clicks go to the list under the cursor (context menus) only when allowed.
    void SetRightClickAllowed(BOOL bAllowed) { m_bRightClickAllowed = bAllowed; }
    BOOL IsClosed() const { return m_bClosed; }
    CBtnSetaPopup& GetUpButton() { return m_btnUp; }
    CBtnSetaPopup& GetDownButton() { return m_btnDown; }

protected:
    void OnDestroy();
    // Draws the arrow buttons as scroll arrows; the list draws itself.
    void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    LRESULT OnSelChanged(WPARAM wParam, LPARAM lParam);
    void OnScrollUp();
    void OnScrollDown();
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);

private:
    static BOOL FilterForLoop(void* pContext, MSG* pMsg);
    // The focus window when it is the child of a list of the chain (a label editor); else null.
    static CWnd* FindLabelEditor();
    BOOL FilterEditorMessage(CWnd* pEditor, const MSG* pMsg);
    // The popup list or arrow button of the chain under a screen point; null none.
    static CWnd* HitWindowAt(POINT screen);
    // The current mouse target while it is still in the hit table; else null.
    CWnd* MouseTarget() const;
    void SetMouseTarget(POINT screen);
    // Switches every list of the chain to nMode; back to the mouse, the
    // window under the point becomes the target and gets the move.
    void RouteMouse(int nMode, UINT nFlags, CPoint point);
    // In keyboard mode a mouse message first switches back to the mouse.
    void RouteIfKeyboard(UINT nFlags, CPoint point);
    void MoveMouse(UINT nFlags, CPoint point);
    void CloseChain();
    void ShowButton(CBtnSetaPopup& button, BOOL bShow);

    CString m_strClassName;
    BOOL m_bDragMode { FALSE };
    BOOL m_bRightClickAllowed { FALSE };
    void* m_pResult { nullptr };
    BOOL m_bClosed { FALSE };
    HWND m_hPrevCapture { nullptr };
    HWND m_hPrevFocus { nullptr };
    CWnd* m_pMouseTarget { nullptr };
    CBtnSetaPopup m_btnUp;
    CBtnSetaPopup m_btnDown;
    CPoint m_lastPoint { -1, -1 };
    int m_nInputMode { 1 };
};
