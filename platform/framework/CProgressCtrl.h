#pragma once

// CProgressCtrl: the class library's object around a "msctls_progress32"
// control.

#include "platform/controls/ProgressControl.h"
#include "platform/framework/CWnd.h"

class CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)

public:
    CProgressCtrl() = default;

    // Creates the control as a child of pParentWnd (WS_CHILD is added).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // A 16-bit range.
    void SetRange(short nLower, short nUpper);
    void SetRange32(int nLower, int nUpper);
    void GetRange(int& nLower, int& nUpper) const;
    // Each returns the position before the call.
    int SetPos(int nPos);
    int GetPos() const;
    int OffsetPos(int nPos);
    // The step before the call.
    int SetStep(int nStep);
    int StepIt();
};
