#include "dialogs/setup/CInstalacaoPropertySheet.h"

#include "catalog/ShellItemEnum.h"
#include "frame/SetupResults.h"
#include "resources/ResourceIds.h"
#include "ui/KickIdle.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/AfxMessages.h"

IMPLEMENT_DYNAMIC(CInstalacaoPropertySheet, CPropertySheet)

// clang-format off
BEGIN_MESSAGE_MAP(CInstalacaoPropertySheet, CPropertySheet)
    ON_MESSAGE(WM_KICKIDLE, &CInstalacaoPropertySheet::OnKickIdle)
END_MESSAGE_MAP()
// clang-format on

CInstalacaoPropertySheet::CInstalacaoPropertySheet(CSetupResults& results, CWnd* pParentWnd)
    : CPropertySheet(IDS_WIZARD_CAPTION, pParentWnd)
    , m_results(results)
{
    const auto add = [this](CInstPropPage& page) {
        page.SetSheet(this);
        AddPage(&page);
    };
    add(m_welcome);
    add(m_documents);
    m_bLocationPage = EnumNetworkDrives(nullptr, nullptr, nullptr) > 0;
    if (m_bLocationPage)
        add(m_location);
    m_bMailPage = m_mail.FindStores();
    if (m_bMailPage)
        add(m_mail);
    for (CInstPropPage* pPage :
        std::initializer_list<CInstPropPage*> { &m_mode, &m_usage, &m_organisation, &m_keywords, &m_folders, &m_final })
        add(*pPage);
    m_psh.dwFlags |= PSH_WIZARD;
}

BOOL CInstalacaoPropertySheet::OnInitDialog()
{
    CPropertySheet::OnInitDialog();
    if (!LoadUsageFile(m_usageProfiles))
        AfxMessageBox(IDS_NO_USAGE_FILE);
    SetActivePage(&m_folders);
    SetActivePage(&m_welcome);
    return TRUE;
}

LRESULT CInstalacaoPropertySheet::OnKickIdle(WPARAM wParam, LPARAM lParam)
{
    return RelayKickIdle(this, wParam, lParam);
}

int CInstalacaoPropertySheet::GetLocationMode() const
{
    return m_bLocationPage ? m_location.GetMode() : CInstExplorerTreeCtrl::MODE_LOCAL;
}

void CInstalacaoPropertySheet::GetLocationRoots(CMapStringToPtr& roots) const
{
    if (m_bLocationPage)
        m_location.GetRoots(roots);
    else
        roots.RemoveAll();
}

BOOL CInstalacaoPropertySheet::PrepareFolderTree()
{
    m_bCancelAfterFill = FALSE;
    const BOOL bReady = m_folders.PrepareTree();
    if (!m_bCancelAfterFill)
        return bReady;
    // Cancel waited for the fill to stop; it ends the wizard once this step is over.
    CWnd* pCancel = GetDlgItem(IDCANCEL);
    PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
        reinterpret_cast<LPARAM>(pCancel ? pCancel->GetSafeHwnd() : nullptr));
    return FALSE;
}

BOOL CInstalacaoPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (!m_folders.IsFilling())
        return CPropertySheet::OnCommand(wParam, lParam);
    const UINT nID = LOWORD(wParam);
    if (nID == ID_WIZBACK || nID == IDCANCEL) {
        m_folders.StopFill();
        if (nID == IDCANCEL)
            m_bCancelAfterFill = TRUE;
    }
    return TRUE;
}

void CInstalacaoPropertySheet::CollectResults()
{
    // Finish can be refused after this and pressed again: every field starts over.
    m_results.checkedFolders.RemoveAll();
    m_results.partlyCheckedFolders.RemoveAll();
    m_results.pCustomBranch.reset();
    m_results.pUsageBranch.reset();
    m_results.extensions.RemoveAll();
    m_results.networkPlaces.RemoveAll();
    m_results.mailFolders.clear();
    m_results.bFolderMode = m_mode.IsFolderMode();
    if (m_results.bFolderMode) {
        m_folders.GetTree().CollectState3Paths(m_results.checkedFolders);
        m_folders.GetTree().CollectState1Paths(m_results.partlyCheckedFolders);
    } else {
        m_organisation.BuildOrgItems(m_results.pCustomBranch, m_results.pUsageBranch);
    }
    for (const CString& strExtension : m_documents.GetChosenExtensions())
        m_results.extensions.Add(strExtension);
    m_documents.GetOfferedTypes(m_results.offeredTypes);
    m_results.nPlaceChoice = GetLocationMode();
    // Locations left in the list with network locations unchecked are not wanted.
    if (m_bLocationPage && (m_results.nPlaceChoice & CInstalacaoLocation::MODE_NETWORK))
        m_results.networkPlaces.Copy(m_location.GetPaths());
    if (m_bMailPage) {
        for (const auto& [strPath, record] : m_mail.GetCheckedFolders())
            m_results.mailFolders.push_back({ strPath, static_cast<int>(record.dwStoreKind) });
    }
    m_results.bLocationPagePresent = m_bLocationPage;
}
