#pragma once

// CDialogBar: a control bar made from a dialog template, its controls the
// template's. It shows once made; its size is the template's (m_sizeDefault),
// stretched along its side when it sits along the frame's edge.
//
// Commands and notifications of its controls reach the bar's own map first,
// then its owner frame. Update UI runs UpdateDialogControls with the owner
// frame as the target: the bar's own update entries, then the frame's
// routing; a push button no target handles is disabled, other controls are
// left as they are.

#include "platform/framework/CControlBar.h"

class CDialogBar : public CControlBar {
    DECLARE_DYNAMIC(CDialogBar)
    DECLARE_MESSAGE_MAP()

public:
    CDialogBar() = default;

    // Makes the bar in pParentWnd from the template; nStyle: CBRS_* bar styles.
    virtual BOOL Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, UINT nStyle, UINT nID);
    virtual BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    // Docked: as CalcFixedLayout; floating: the template's size.
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

    CSize m_sizeDefault; // the template's size in pixels
};
