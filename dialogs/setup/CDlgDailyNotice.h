#pragma once

// The daily notice: how many documents reached their expiry date (m_nCount,
// set by the caller before DoModal) and the date of the day the dialog opens,
// weekday and month written out. OK asks the caller to show the documents.

#include "ui/CDibButton.h"
#include "ui/CImageButton.h"
#include "ui/CLabelCtrl.h"

#include "platform/framework/CDialog.h"

class CDlgDailyNotice : public CDialog {
public:
    explicit CDlgDailyNotice(CWnd* pParent = nullptr);

    int m_nCount { 0 };

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    CImageButton m_icon;
    CLabelCtrl m_title;
    CDibButton m_picture;
};
