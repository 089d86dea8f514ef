#pragma once

// CStatusBarCtrl: the class library's object around a "msctls_statusbar32"
// control, its parts set by their right edges (-1 to the end).

#include "platform/base/CString.h"
#include "platform/controls/StatusBarControl.h"
#include "platform/framework/CWnd.h"

class CStatusBarCtrl : public CWnd {
    DECLARE_DYNAMIC(CStatusBarCtrl)

public:
    CStatusBarCtrl() = default;

    // Creates the control as a child of pParentWnd (WS_CHILD is added).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    BOOL SetParts(int nParts, int* pWidths);
    // The part count; the first nParts edges go to pParts when it is given.
    int GetParts(int nParts, int* pParts) const;
    // nType: 0, SBT_NOBORDERS or SBT_POPOUT.
    BOOL SetText(LPCTSTR lpszText, int nPane, int nType);
    CString GetText(int nPane, int* pType = nullptr) const;
    int GetTextLength(int nPane, int* pType = nullptr) const;
    BOOL GetRect(int nPane, LPRECT lpRect) const;
    void SetMinHeight(int nMin);
    BOOL GetBorders(int& nHorz, int& nVert, int& nSpacing) const;
};
