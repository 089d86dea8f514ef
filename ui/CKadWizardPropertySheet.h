#pragma once

// A property sheet in wizard mode whose caption and Back, Next, Finish, Help
// and Cancel texts come from the resource module. The program's wizards
// derive from it and add their pages.

#include "platform/framework/CPropertySheet.h"

class CKadWizardPropertySheet : public CPropertySheet {
    DECLARE_DYNAMIC(CKadWizardPropertySheet)

public:
    explicit CKadWizardPropertySheet(CWnd* pParentWnd = nullptr);

    BOOL OnInitDialog() override;
};
