#pragma once

// Tells that an operation is still running. OK ends it with IDOK (the
// operation goes on); Cancel, Esc and the close box ask whether to stop it
// and end it with IDCANCEL only on Yes, else it stays open.

#include "ui/CDibButton.h"
#include "ui/CImageButton.h"

#include "platform/framework/CDialog.h"

class CDlgOperationInProgress : public CDialog {
public:
    explicit CDlgOperationInProgress(CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnCancel() override;

private:
    CImageButton m_icon;
    CDibButton m_picture;
};
