#pragma once

// Confirms an operation on a selection before it runs; IDOK confirms. Its
// template (resource IDD_CONFIRM_OPERATION) holds the warning, shown bold.

#include "ui/CImageButton.h"
#include "ui/CLabelCtrl.h"

#include "platform/framework/CDialog.h"

class CDlgConfirmOperation : public CDialog {
public:
    explicit CDlgConfirmOperation(CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    CLabelCtrl m_label;
    CImageButton m_picture;
};
