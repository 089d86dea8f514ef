#include "dialogs/preferences/CPrefUpdatePropPage.h"

#include "dialogs/preferences/TwoBitOption.h"
#include "platform/controls/ButtonControl.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"

// clang-format off
BEGIN_MESSAGE_MAP(CPrefUpdatePropPage, CPropertyPage)
    ON_BN_CLICKED(IDC_FOLDER_ADD, &CPrefUpdatePropPage::OnAddFolder)
    ON_BN_CLICKED(IDC_FOLDER_REMOVE, &CPrefUpdatePropPage::OnRemoveFolders)
    ON_MESSAGE(WM_KICKIDLE, &CPrefUpdatePropPage::OnKickIdle)
END_MESSAGE_MAP()
// clang-format on

CPrefUpdatePropPage::CPrefUpdatePropPage(CPrefUpdatePageData& data)
    : CPropertyPage(IDD_PREF_UPDATE)
    , m_data(data)
{
}

BOOL CPrefUpdatePropPage::OnInitDialog()
{
    const BOOL bResult = CPropertyPage::OnInitDialog();
    m_folders.Initialize(TRUE);
    m_folders.AddFolders(m_data.fastUpdateDir, CFolderListCtrl::EShown::Reachable, m_unreachable);
    m_folders.EnableWithButtons(TRUE, 0, IDC_FOLDER_REMOVE);
    return bResult;
}

void CPrefUpdatePropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_UPDATE_FOLDERS, m_folders);
    DDX_Control(pDX, IDC_FOLDER_ADD, m_add);
    DDX_TwoBitOption(pDX, IDC_UPDATE_IN_PLACES, IDC_UPDATE_IN_FAST_FOLDERS, m_data.nUpdateOption);
}

void CPrefUpdatePropPage::OnOK()
{
    m_folders.GetFolders(m_data.fastUpdateDir);
    m_data.fastUpdateDir.Append(m_unreachable);
}

void CPrefUpdatePropPage::OnAddFolder()
{
    (void)m_folders.AddPickedFolder(m_picker, m_add);
}

void CPrefUpdatePropPage::OnRemoveFolders()
{
    m_folders.RemoveSelected();
}

LRESULT CPrefUpdatePropPage::OnKickIdle(WPARAM, LPARAM)
{
    m_folders.EnableWithButtons(TRUE, 0, IDC_FOLDER_REMOVE);
    return 0;
}
