#include "dialogs/setup/CInstalacaoLocation.h"

#include "dialogs/setup/LocationRoots.h"
#include "dialogs/setup/NoticeLook.h"
#include "resources/ResourceIds.h"
#include "store/CNetDriveMap.h"
#include "store/PathHelpers.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CDataExchange.h"

// clang-format off
BEGIN_MESSAGE_MAP(CInstalacaoLocation, CInstPropPage)
    ON_MESSAGE(WM_KICKIDLE, &CInstalacaoLocation::OnKickIdle)
    ON_BN_CLICKED(IDC_SETUP_LOCAL_DRIVES, &CInstalacaoLocation::OnBoxClicked)
    ON_BN_CLICKED(IDC_SETUP_NETWORK, &CInstalacaoLocation::OnBoxClicked)
    ON_BN_CLICKED(IDC_SETUP_ADD, &CInstalacaoLocation::OnAdd)
    ON_BN_CLICKED(IDC_SETUP_REMOVE, &CInstalacaoLocation::OnRemove)
    ON_UPDATE_COMMAND_UI(IDC_SETUP_REMOVE, &CInstalacaoLocation::OnUpdateRemove)
END_MESSAGE_MAP()
// clang-format on

CInstalacaoLocation::CInstalacaoLocation()
    : CInstPropPage(IDD_SETUP_LOCATIONS)
{
    SetPageInfo(IDB_SETUP_LOCATIONS, PSWIZB_BACK | PSWIZB_NEXT);
}

void CInstalacaoLocation::DoDataExchange(CDataExchange* pDX)
{
    CInstPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SETUP_PICTURE1, m_picture1);
    DDX_Control(pDX, IDC_SETUP_LOCATION_LIST, m_locations);
    DDX_Control(pDX, IDC_SETUP_ADD, m_add);
}

BOOL CInstalacaoLocation::OnInitDialog()
{
    CInstPropPage::OnInitDialog();
    SetNoticeIcon(m_picture1);
    CheckDlgButton(IDC_SETUP_LOCAL_DRIVES, (m_nMode & MODE_LOCAL) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_SETUP_NETWORK, (m_nMode & MODE_NETWORK) ? BST_CHECKED : BST_UNCHECKED);
    m_locations.Initialize(TRUE);
    ShowNetworkPart(IsNetworkChecked());
    return TRUE;
}

BOOL CInstalacaoLocation::IsNetworkChecked() const
{
    return IsDlgButtonChecked(IDC_SETUP_NETWORK) == BST_CHECKED;
}

void CInstalacaoLocation::ShowNetworkPart(BOOL bShow)
{
    for (const int nId : { IDC_SETUP_LOCATION_LIST, IDC_SETUP_REMOVE, IDC_SETUP_ADD, IDC_SETUP_LOCATION_LABEL }) {
        if (CWnd* pControl = GetDlgItem(nId))
            pControl->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
    }
}

void CInstalacaoLocation::OnBoxClicked()
{
    m_nMode = (IsDlgButtonChecked(IDC_SETUP_LOCAL_DRIVES) == BST_CHECKED ? MODE_LOCAL : MODE_NONE)
        | (IsNetworkChecked() ? MODE_NETWORK : MODE_NONE);
    ShowNetworkPart(IsNetworkChecked());
}

void CInstalacaoLocation::OnAdd()
{
    // The picker ignores a click that reaches it while it runs.
    (void)m_locations.AddPickedFolder(m_picker, m_add);
}

void CInstalacaoLocation::OnRemove()
{
    m_locations.RemoveSelected();
}

void CInstalacaoLocation::OnUpdateRemove(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(IsNetworkChecked() && m_locations.GetNextItem(-1, LVNI_SELECTED) >= 0);
}

void CInstalacaoLocation::GetRoots(CMapStringToPtr& roots) const
{
    CStringArray locations;
    if (m_locations.GetSafeHwnd())
        m_locations.GetFolders(locations);
    BuildLocationRoots(locations, roots);
}

LRESULT CInstalacaoLocation::OnWizardNext()
{
    if (m_nMode == MODE_NONE) {
        AfxMessageBox(IDS_NO_LOCATION_KIND, MB_ICONEXCLAMATION);
        return -1;
    }
    if (IsNetworkChecked() && m_locations.GetItemCount() == 0) {
        AfxMessageBox(IDS_NO_NETWORK_LOCATION, MB_ICONEXCLAMATION);
        return -1;
    }
    CStringArray locations;
    m_locations.GetFolders(locations);
    m_paths.RemoveAll();
    for (int i = 0; i < locations.GetSize(); ++i)
        m_paths.Add(AddBackslash(NormalizeDrivePath(locations[i])));
    // The user may have mapped drives while the wizard ran.
    g_netDriveMap.InvalidateScan();
    return CInstPropPage::OnWizardNext();
}
