#pragma once

// The set-up wizard's computer usage page: the groups of a usage profile
// (one line of the usage list, at most one checked and, once checked, always
// one), names of the user's own, or both. The last usage line stands for the
// general entry "#" of the usage file.

#include "dialogs/setup/CInstPropPage.h"
#include "ui/CEditableListCtrl.h"
#include "ui/CImageButton.h"

#include "platform/framework/CCheckListBox.h"

#include <vector>

class CCmdUI;

class CInstalacaoComputerUsage : public CInstPropPage {
    DECLARE_MESSAGE_MAP()

public:
    // Own names take at most this many characters.
    static constexpr int OWN_NAME_LENGTH = 24;

    CInstalacaoComputerUsage();

    /* What the organisation page reads. */

    BOOL IsUsageChecked() const;
    BOOL IsOwnNamesChecked() const;
    // The entry of the checked usage line ("#" for the last line); empty when none is checked.
    CString GetChosenUsage() const;
    // The own names, in list order.
    std::vector<CString> GetOwnNames() const;
    // Replaces the own names.
    void SetOwnNames(const std::vector<CString>& names);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    LRESULT OnWizardNext() override;
    LRESULT OnWizardBack() override;

private:
    void FillUsages();
    void OnUsageCheck();
    void OnRemove();
    void OnUpdateRemove(CCmdUI* pCmdUI);
    void OnUpdateOwnNames(CCmdUI* pCmdUI);
    void OnUpdateUsages(CCmdUI* pCmdUI);

    CImageButton m_usagePicture;
    CImageButton m_ownNamesPicture;
    CEditableListCtrl m_ownNames;
    CCheckListBox m_usages;
    CString m_strChosenUsage; // the checked line's text
};
