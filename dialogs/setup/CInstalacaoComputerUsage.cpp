#include "dialogs/setup/CInstalacaoComputerUsage.h"

#include "dialogs/setup/CInstalacaoPropertySheet.h"
#include "dialogs/setup/NoticeLook.h"
#include "dialogs/setup/SortedInsert.h"
#include "resources/ResourceIds.h"
#include "store/ResString.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/ListViewControl.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CDataExchange.h"

// clang-format off
BEGIN_MESSAGE_MAP(CInstalacaoComputerUsage, CInstPropPage)
    ON_MESSAGE(WM_KICKIDLE, &CInstalacaoComputerUsage::OnKickIdle)
    ON_CLBN_CHKCHANGE(IDC_SETUP_USAGES, &CInstalacaoComputerUsage::OnUsageCheck)
    ON_BN_CLICKED(IDC_SETUP_REMOVE, &CInstalacaoComputerUsage::OnRemove)
    ON_UPDATE_COMMAND_UI(IDC_SETUP_REMOVE, &CInstalacaoComputerUsage::OnUpdateRemove)
    ON_UPDATE_COMMAND_UI(IDC_SETUP_OWN_NAMES, &CInstalacaoComputerUsage::OnUpdateOwnNames)
    ON_UPDATE_COMMAND_UI(IDC_SETUP_OWN_NAMES_LABEL, &CInstalacaoComputerUsage::OnUpdateOwnNames)
    ON_UPDATE_COMMAND_UI(IDC_SETUP_USAGES, &CInstalacaoComputerUsage::OnUpdateUsages)
    ON_UPDATE_COMMAND_UI(IDC_SETUP_USAGES_LABEL, &CInstalacaoComputerUsage::OnUpdateUsages)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr int NEW_NAME_ROW = 0;

} // namespace

CInstalacaoComputerUsage::CInstalacaoComputerUsage()
    : CInstPropPage(IDD_SETUP_USAGE)
{
    SetPageInfo(IDB_SETUP_USAGE, PSWIZB_BACK | PSWIZB_NEXT);
}

void CInstalacaoComputerUsage::DoDataExchange(CDataExchange* pDX)
{
    CInstPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SETUP_PICTURE2, m_usagePicture);
    DDX_Control(pDX, IDC_SETUP_PICTURE1, m_ownNamesPicture);
    DDX_Control(pDX, IDC_SETUP_OWN_NAMES, m_ownNames);
    DDX_Control(pDX, IDC_SETUP_USAGES, m_usages);
}

BOOL CInstalacaoComputerUsage::OnInitDialog()
{
    CInstPropPage::OnInitDialog();
    SetSmallPicture(m_usagePicture, IDB_SETUP_USAGE_LIST);
    SetSmallPicture(m_ownNamesPicture, IDB_SETUP_OWN_NAMES);
    m_ownNames.SetEditLimit(OWN_NAME_LENGTH);
    m_ownNames.InsertColumn(0, "", LVCFMT_LEFT, 10);
    m_ownNames.InsertItem(NEW_NAME_ROW, GetResString(IDS_NEW_OWN_NAME));
    m_ownNames.FitColumn(-1, nullptr);
    m_usages.SetCheckStyle(BS_AUTOCHECKBOX);
    FillUsages();
    return TRUE;
}

void CInstalacaoComputerUsage::FillUsages()
{
    // Names in ascending order without regard to case: each goes where a binary search puts it.
    for (const auto& [strName, items] : GetSheet().GetUsageProfiles().entries) {
        if (strName == CUsageProfiles::GENERAL_ENTRY)
            continue;
        InsertSortedNoCase(m_usages, strName);
    }
    m_usages.AddString(GetResString(IDS_GENERAL_USAGE));
}

/***************************** The choices *****************************/

BOOL CInstalacaoComputerUsage::IsUsageChecked() const
{
    return IsDlgButtonChecked(IDC_SETUP_USE_USAGE) == BST_CHECKED;
}

BOOL CInstalacaoComputerUsage::IsOwnNamesChecked() const
{
    return IsDlgButtonChecked(IDC_SETUP_USE_OWN_NAMES) == BST_CHECKED;
}

CString CInstalacaoComputerUsage::GetChosenUsage() const
{
    if (m_strChosenUsage.CompareNoCase(GetResString(IDS_GENERAL_USAGE)) == 0)
        return CUsageProfiles::GENERAL_ENTRY;
    return m_strChosenUsage;
}

std::vector<CString> CInstalacaoComputerUsage::GetOwnNames() const
{
    std::vector<CString> names;
    for (int nRow = NEW_NAME_ROW + 1; nRow < m_ownNames.GetItemCount(); ++nRow)
        names.push_back(m_ownNames.GetItemText(nRow, 0));
    return names;
}

void CInstalacaoComputerUsage::SetOwnNames(const std::vector<CString>& names)
{
    while (m_ownNames.GetItemCount() > NEW_NAME_ROW + 1)
        m_ownNames.DeleteItem(m_ownNames.GetItemCount() - 1);
    for (const CString& strName : names)
        m_ownNames.InsertItem(m_ownNames.GetItemCount(), strName);
    m_ownNames.FitColumn(-1, nullptr);
}

void CInstalacaoComputerUsage::OnUsageCheck()
{
    // The line whose state changed is the checked one that is not the chosen
    // usage, or the chosen one when it became unchecked.
    int nChosen = -1;
    int nNew = -1;
    for (int i = 0; i < m_usages.GetCount(); ++i) {
        CString strLine;
        m_usages.GetText(i, strLine);
        const BOOL bChosen = !m_strChosenUsage.IsEmpty() && strLine == m_strChosenUsage;
        if (bChosen)
            nChosen = i;
        else if (m_usages.GetCheck(i) != 0 && nNew < 0)
            nNew = i;
    }
    if (nNew < 0) {
        // A line is unchecked only by checking another.
        if (nChosen >= 0)
            m_usages.SetCheck(nChosen, 1);
        return;
    }
    m_usages.GetText(nNew, m_strChosenUsage);
    for (int i = 0; i < m_usages.GetCount(); ++i) {
        if (i != nNew)
            m_usages.SetCheck(i, 0);
    }
}

void CInstalacaoComputerUsage::OnRemove()
{
    for (int nRow = m_ownNames.GetItemCount() - 1; nRow > NEW_NAME_ROW; --nRow) {
        if (m_ownNames.GetItemState(nRow, LVIS_SELECTED) & LVIS_SELECTED) {
            m_ownNames.DeleteItem(nRow);
            m_ownNames.FitColumn(-1, nullptr);
        }
    }
}

void CInstalacaoComputerUsage::OnUpdateRemove(CCmdUI* pCmdUI)
{
    const int nFirst = m_ownNames.GetNextItem(-1, LVNI_SELECTED);
    pCmdUI->Enable(nFirst > NEW_NAME_ROW && IsOwnNamesChecked());
}

void CInstalacaoComputerUsage::OnUpdateOwnNames(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsOwnNamesChecked());
}

void CInstalacaoComputerUsage::OnUpdateUsages(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsUsageChecked());
}

/***************************** Moving on *****************************/

LRESULT CInstalacaoComputerUsage::OnWizardNext()
{
    if (!IsUsageChecked() && !IsOwnNamesChecked()) {
        AfxMessageBox(IDS_CHOOSE_USAGE_KIND, MB_ICONEXCLAMATION);
        return -1;
    }
    if (IsUsageChecked() && m_strChosenUsage.IsEmpty()) {
        AfxMessageBox(IDS_NO_USAGE, MB_ICONEXCLAMATION);
        return -1;
    }
    return CInstPropPage::OnWizardNext();
}

LRESULT CInstalacaoComputerUsage::OnWizardBack()
{
    return IDD_SETUP_MODE;
}
