#pragma once

// CAnimateCtrl: the class library's object around a "SysAnimate32" control.

#include "platform/controls/AnimateControl.h"
#include "platform/framework/CWnd.h"

class CAnimateCtrl : public CWnd {
    DECLARE_DYNAMIC(CAnimateCtrl)

public:
    CAnimateCtrl() = default;

    // Creates the control as a child of pParentWnd (WS_CHILD is added).
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Opens the clip of that ID or name in the current resource module; FALSE
    // when it is missing or damaged. NULL closes the clip.
    BOOL Open(UINT nID);
    BOOL Open(LPCTSTR lpszFileName);
    // Plays frames nFrom to nTo (-1: the last one) nRep times (-1: endlessly).
    BOOL Play(UINT nFrom, UINT nTo, UINT nRep);
    BOOL Stop();
    BOOL Close();
    BOOL IsPlaying() const;
};
