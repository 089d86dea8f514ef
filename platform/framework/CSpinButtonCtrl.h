#pragma once

// CSpinButtonCtrl: the class library's object around a "msctls_updown32"
// control.

#include "platform/controls/UpDownControl.h"
#include "platform/framework/CWnd.h"

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)

public:
    CSpinButtonCtrl() = default;

    // Creates the control as a child of pParentWnd (WS_CHILD is added).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // The old buddy, or nullptr.
    CWnd* SetBuddy(CWnd* pWndBuddy);
    CWnd* GetBuddy() const;
    // 16-bit signed bounds; the lower may be above the upper.
    void SetRange(short nLower, short nUpper);
    void GetRange(int& nLower, int& nUpper) const;
    // The old position.
    int SetPos(int nPos);
    // The position; its high word is nonzero when the buddy holds no number.
    int GetPos() const;
};
