#pragma once

// CToolBarCtrl: the class library's object around a "ToolbarWindow32"
// control. Buttons are named by index or by command as the control names
// them; clicks reach the owner as WM_COMMAND with the button's command.

#include "platform/controls/ToolbarControl.h"
#include "platform/framework/CWnd.h"

class CToolTipCtrl;

class CToolBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolBarCtrl)

public:
    CToolBarCtrl() = default;

    // Creates the control as a child of pParentWnd (WS_CHILD is added).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    /* Images and sizes. */

    // Adds nNumButtons images cut from the bitmap resource nBitmapID; the
    // index of the first, or -1.
    int AddBitmap(int nNumButtons, UINT nBitmapID);
    BOOL SetBitmapSize(SIZE size);
    BOOL SetButtonSize(SIZE size);
    void AutoSize();

    /* Tips. */

    // The tooltip control (made with TBSTYLE_TOOLTIPS), as a temporary object; nullptr without one.
    CToolTipCtrl* GetToolTips() const;
    void SetToolTips(CToolTipCtrl* pTip);

    /* Buttons by index. */

    BOOL AddButtons(int nNumButtons, LPTBBUTTON lpButtons);
    BOOL InsertButton(int nIndex, LPTBBUTTON lpButton);
    BOOL DeleteButton(int nIndex);
    BOOL GetButton(int nIndex, LPTBBUTTON lpButton) const;
    int GetButtonCount() const;
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const;

    /* Buttons by command. */

    int CommandToIndex(UINT nID) const;
    // The index of the button, or -1.
    int GetButtonInfo(int nID, TBBUTTONINFO* ptbbi) const;
    BOOL SetButtonInfo(int nID, TBBUTTONINFO* ptbbi);
    BOOL EnableButton(int nID, BOOL bEnable = TRUE);
    BOOL CheckButton(int nID, BOOL bCheck = TRUE);
    BOOL PressButton(int nID, BOOL bPress = TRUE);
    BOOL IsButtonEnabled(int nID) const;
    BOOL IsButtonChecked(int nID) const;
    BOOL IsButtonPressed(int nID) const;
    BOOL SetState(int nID, UINT nState);
    // TBSTATE_* of the button; -1 for an unknown command.
    int GetState(int nID) const;
};
