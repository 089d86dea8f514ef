#pragma once

// The find options: how a search text becomes words, which text of the
// documents is searched, where the search runs and its flags. It shows the
// program's find settings and, on OK, writes its choices back to them (they
// serve the next search; the profile gets them with the other settings). A
// choice the dialog cannot show (a stored field or scope out of its range)
// stays as it was while left alone. Its template is resource IDD_FIND_OPTIONS.

#include "platform/framework/CDialog.h"

class CFindSettings;

class CDlgFindOptions : public CDialog {
public:
    explicit CDlgFindOptions(CFindSettings& settings, CWnd* pParent = nullptr);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CFindSettings& m_settings;
};
