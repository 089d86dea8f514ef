#include "dialogs/groups/CGroupPropertiesFolders.h"

#include "dialogs/groups/GroupNodes.h"
#include "resources/ResourceIds.h"
#include "store/CNodeRec.h"
#include "store/FileHelpers.h"
#include "ui/CPopupFolderPicker.h"

#include "platform/controls/ListViewControl.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"

#include <memory>

// clang-format off
BEGIN_MESSAGE_MAP(CGroupFoldersPage, CPropertyPage)
    ON_MESSAGE(WM_KICKIDLE, &CGroupFoldersPage::OnKickIdle)
    ON_BN_CLICKED(IDC_GROUP_FOLDER_ADD, &CGroupFoldersPage::OnAdd)
    ON_BN_CLICKED(IDC_GROUP_FOLDER_DELETE, &CGroupFoldersPage::OnDelete)
    ON_UPDATE_COMMAND_UI(IDC_GROUP_FOLDER_DELETE, &CGroupFoldersPage::OnUpdateDelete)
END_MESSAGE_MAP()
// clang-format on

IMPLEMENT_DYNAMIC(CGroupFoldersPage, CPropertyPage)
IMPLEMENT_DYNCREATE(CGroupPropertiesFolders, CGroupFoldersPage)
IMPLEMENT_DYNCREATE(CGroupInstFolders, CGroupFoldersPage)

namespace {

constexpr int IMAGE_WIDTH = 16;
constexpr COLORREF IMAGE_MASK = RGB(255, 0, 255);
constexpr int COLUMN_START_WIDTH = 10;
// What CheckFolder answers for a folder that is there and can be written.
constexpr DWORD FOLDER_OPTIONS = 12;
constexpr DWORD FOLDER_USABLE = 4;

} // namespace

CGroupFoldersPage::CGroupFoldersPage(UINT nIDTemplate)
    : CPropertyPage(nIDTemplate)
{
}

void CGroupFoldersPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GROUP_FOLDER_LIST, m_list);
    DDX_Control(pDX, IDC_GROUP_FOLDER_ADD, m_add);
}

BOOL CGroupFoldersPage::OnInitDialog()
{
    const BOOL bResult = CPropertyPage::OnInitDialog();
    m_images.Create(IDB_FOLDER_ITEMS, IMAGE_WIDTH, 1, IMAGE_MASK);
    m_list.InsertColumn(0, "", LVCFMT_LEFT, COLUMN_START_WIDTH);
    m_list.SetImageList(&m_images, LVSIL_SMALL);
    return bResult;
}

LRESULT CGroupFoldersPage::OnKickIdle(WPARAM, LPARAM)
{
    UpdateDialogControls(this, FALSE);
    return 0;
}

void CGroupFoldersPage::OnAdd()
{
    if (m_bBusy)
        return;
    m_bBusy = TRUE;
    m_add.SetState(TRUE);
    // The popup is made and filled once; it keeps the mail stores it found.
    if (m_popup.GetSafeHwnd() == nullptr && m_popup.Create(this))
        m_popup.GetFolderList().FillRootItems();
    if (m_popup.GetSafeHwnd() != nullptr) {
        POINT pt {};
        RECT rcButton {};
        GetPopupPlaceUnderButton(m_add, &pt, &rcButton);
        std::unique_ptr<CString> pChoice(m_popup.PickFolderFromPopup(&pt, &rcButton, &rcButton));
        if (pChoice != nullptr && ::IsWindow(m_list.GetSafeHwnd()) && !m_list.ContainsFolder(*pChoice))
            m_list.AddFolder(*pChoice);
    }
    if (!::IsWindow(m_add.GetSafeHwnd()))
        return;
    m_add.SetState(FALSE);
    m_bBusy = FALSE;
    m_list.SetFocus();
}

void CGroupFoldersPage::OnDelete()
{
    m_list.DeleteSelected();
}

void CGroupFoldersPage::OnUpdateDelete(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_list.GetNextItem(-1, LVNI_SELECTED) >= 0);
}

/* The properties page. */

CGroupPropertiesFolders::CGroupPropertiesFolders()
    : CGroupFoldersPage(IDD_GROUP_FOLDERS)
{
}

void CGroupPropertiesFolders::LoadFromNode(const CNodeRec* pNode)
{
    if (pNode == nullptr)
        return;
    for (const auto& pFolder : pNode->GetNodeFolders())
        m_list.AddFolder(pFolder->GetText());
}

BOOL CGroupPropertiesFolders::StoreToNode(CNodeRec* pNode)
{
    std::vector<CString> folders;
    for (int nRow = 0; nRow < m_list.GetItemCount(); ++nRow)
        folders.push_back(m_list.GetEntry(nRow));
    return StoreNodeFolders(*pNode, folders);
}

/* The set-up wizard's page. */

CGroupInstFolders::CGroupInstFolders()
    : CGroupFoldersPage(IDD_GROUP_INST_FOLDERS)
{
}

void CGroupInstFolders::SetFolders(const CStringArray& folders)
{
    for (INT_PTR i = folders.GetSize() - 1; i >= 0; --i) {
        const CString& strEntry = folders[i];
        if ((!strEntry.IsEmpty() && strEntry[0] == '*') || CheckFolder(strEntry, FOLDER_OPTIONS) == FOLDER_USABLE)
            m_list.AddFolder(strEntry);
    }
}

void CGroupInstFolders::GetFolders(CStringArray& folders)
{
    folders.RemoveAll();
    m_list.TakeEntries(folders);
}
