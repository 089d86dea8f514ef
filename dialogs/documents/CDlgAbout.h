#pragma once

// The program's about box: the title in large bold type beside the program's
// picture. Its template is resource IDD_ABOUT.

#include "ui/CDibButton.h"
#include "ui/CLabelCtrl.h"

#include "platform/framework/CDialog.h"

class CDlgAbout : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    explicit CDlgAbout(CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // After the dialog's paint the picture is redrawn at once, so it never
    // shows the dialog's background for a moment.
    void OnPaint();

private:
    CLabelCtrl m_title;
    CDibButton m_picture;
};
