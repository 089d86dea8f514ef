#pragma once

// Asks before the setup wizard runs again: IDOK runs it, IDCANCEL does not.

#include "ui/CDibButton.h"
#include "ui/CImageButton.h"

#include "platform/framework/CDialog.h"

class CDlgConfirmSetup : public CDialog {
public:
    explicit CDlgConfirmSetup(CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    CImageButton m_icon;
    CDibButton m_picture;
};
