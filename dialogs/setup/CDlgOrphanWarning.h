#pragma once

// Asked when the program closes while documents belong to no group: Yes
// (IDYES) gathers them, No (IDNO) leaves them. m_bDontAsk tells whether the
// user checked the box that turns the question off; it starts unchecked
// whatever the caller set.

#include "ui/CDibButton.h"
#include "ui/CImageButton.h"
#include "ui/CLabelCtrl.h"

#include "platform/framework/CDialog.h"

class CDlgOrphanWarning : public CDialog {
    DECLARE_MESSAGE_MAP()

public:
    explicit CDlgOrphanWarning(CWnd* pParent = nullptr);

    BOOL m_bDontAsk { FALSE };

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    void OnYes();
    void OnNo();
    void OnDontAsk();

    CImageButton m_icon;
    CLabelCtrl m_title;
    CDibButton m_picture;
};
