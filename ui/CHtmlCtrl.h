#pragma once

// An HTML view used as a control of a dialog: it takes the place of a
// placeholder control of the template, lives as long as its owner keeps it
// (it does not delete itself), and keeps links whose address begins with
// "app:" (in any case) inside the program: they go to OnAppCmd instead of
// navigating.

#include "platform/framework/CHtmlView.h"

class CHtmlCtrl : public CHtmlView {
    DECLARE_DYNAMIC(CHtmlCtrl)
    DECLARE_MESSAGE_MAP()

public:
    CHtmlCtrl() = default;

    // Replaces the dialog's control nID with the view, at its place and with
    // its id; FALSE when the dialog has no such control.
    BOOL CreateFromStatic(UINT nID, CWnd* pParent);

    void OnBeforeNavigate2(LPCTSTR lpszURL, DWORD nFlags, LPCTSTR lpszTargetFrameName, CByteArray& baPostedData,
        LPCTSTR lpszHeaders, BOOL* pbCancel) override;

    // An "app:" link was followed: pszCommand is what follows the colon. This
    // class does nothing with it.
    virtual void OnAppCmd(LPCTSTR pszCommand);

protected:
    void PostNcDestroy() override { }
    void OnDestroy();
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
};
