#pragma once

// A window that starts a drag of its payload when pressed and feeds the drag
// tracker as a drag source does, ending the drag as soon as it has a result.

#include "platform/framework/CWnd.h"
#include "platform/framework/MessageMap.h"
#include "ui/CDragTracker.h"
#include "ui/CKadDragObjReg.h"

#include <memory>

// A window that starts a drag when pressed and feeds the tracker as a drag
// source does, ending the drag as soon as it has a result.
class CTestDragSource : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    BOOL Make(CWnd* pParent, RECT rect)
    {
        return Create(AfxRegisterWndClass(0), "", WS_CHILD | WS_VISIBLE, rect, pParent, 0);
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (m_pTracker && m_pTracker->GetResult() == 0) {
            const BOOL bTaken = m_pTracker->FilterMessage(pMsg);
            EndIfFinished();
            if (bTaken)
                return TRUE;
        }
        return CWnd::PreTranslateMessage(pMsg);
    }

    std::unique_ptr<CDragTracker> m_pTracker;
    CKadDragObjReg m_payload;
    DROPEFFECT m_result { 99 }; // what End returned; 99 before
    int m_nSysKeys { 0 };

protected:
    void OnLButtonDown(UINT, CPoint point)
    {
        SetFocus();
        m_pTracker = std::make_unique<CDragTracker>();
        ClientToScreen(&point);
        m_pTracker->Begin(this, &m_payload, nullptr, point.x, point.y);
    }
    void OnMouseMove(UINT nFlags, CPoint point)
    {
        if (!m_pTracker || m_pTracker->GetResult() != 0)
            return;
        ClientToScreen(&point);
        m_pTracker->Move(nFlags, point.x, point.y);
        EndIfFinished();
    }
    void OnSysKeyDown(UINT, UINT, UINT) { ++m_nSysKeys; }

private:
    void EndIfFinished()
    {
        if (m_pTracker && m_pTracker->GetResult() != 0) {
            m_result = m_pTracker->End();
            m_pTracker.reset();
        }
    }
};
