#pragma once

// The set-up wizard's three simple pages: the welcome, the choice between
// folder mode and organisation mode, and the last page, whose Finish hands
// the choices to the wizard.

#include "dialogs/setup/CInstPropPage.h"
#include "ui/CImageButton.h"

class CInstalacaoWelcome : public CInstPropPage {
public:
    CInstalacaoWelcome();
};

// Next goes to the folder page in folder mode (once its tree is ready; else
// the page stays) and to the computer usage page in organisation mode.
class CInstalacaoTipoOrganizacao : public CInstPropPage {
public:
    CInstalacaoTipoOrganizacao();

    // Folder mode when TRUE; as the user left the page with Next.
    BOOL IsFolderMode() const { return m_bFolderMode; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT OnWizardNext() override;

private:
    CImageButton m_picture1;
    CImageButton m_picture2;
    CImageButton m_picture3;
    BOOL m_bFolderMode { FALSE };
};

// Back returns to the road's last page; Finish collects the results.
class CInstalacaoTelaFinal : public CInstPropPage {
public:
    CInstalacaoTelaFinal();

protected:
    LRESULT OnWizardBack() override;
    BOOL OnWizardFinish() override;
};
