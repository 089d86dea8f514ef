#include "dialogs/groups/CDlgGroupProperties.h"

#include "dialogs/groups/GroupNodes.h"
#include "resources/ResourceIds.h"
#include "store/CNodeInfoRec.h"
#include "store/CNodeRec.h"
#include "ui/ChildPropertySheet.h"
#include "ui/KickIdle.h"

#include "platform/base/TextFunctions.h"
#include "platform/controls/StaticControl.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/CImageList.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/Icons.h"

// clang-format off
BEGIN_MESSAGE_MAP(CDlgGroupProperties, CDialog)
    ON_MESSAGE(WM_KICKIDLE, &CDlgGroupProperties::OnKickIdle)
    ON_UPDATE_COMMAND_UI(IDOK, &CDlgGroupProperties::OnUpdateOK)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr int ICON_SIZE = 32;
constexpr COLORREF ICON_MASK = RGB(255, 0, 255);
constexpr int NEW_GROUP_IMAGE = 2;

} // namespace

CDlgGroupProperties::CDlgGroupProperties(CWnd* pParent)
    : CDialog(IDD_GROUP_PROPERTIES, pParent)
{
}

CDlgGroupProperties::~CDlgGroupProperties()
{
    if (m_hIcon != nullptr)
        ::DestroyIcon(m_hIcon);
}

INT_PTR CDlgGroupProperties::ShowForNode(const CNodeRec& node)
{
    m_pGroup.reset(node.Clone());
    if (!IsFixedGroupNode(node))
        m_pParent.reset(node.GetParent());
    return DoModal();
}

INT_PTR CDlgGroupProperties::ShowForNewGroup(const CNodeRec& parent)
{
    m_pParent.reset(parent.Clone());
    return DoModal();
}

void CDlgGroupProperties::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NODE_PATH, m_nodePath);
    DDX_Text(pDX, IDC_GROUP_NAME, m_strName);
    DDV_MaxChars(pDX, m_strName, NAME_LIMIT);
}

BOOL CDlgGroupProperties::OnInitDialog()
{
    CDialog::OnInitDialog();
    CreateChildPropertySheet(this, &m_sheet, WS_CHILD | WS_VISIBLE, 0);
    PlaceChildPropertySheet(this, &m_sheet, IDC_SHEET_PLACEHOLDER);
    const BOOL bNew = m_pGroup == nullptr;
    SetWindowText(CString(MAKEINTRESOURCE(bNew ? IDS_NEW_GROUP : IDS_GROUP_PROPERTIES)));
    GetDlgItem(IDC_GROUP_NAME_PROMPT)->ShowWindow(bNew ? SW_SHOW : SW_HIDE);
    GetDlgItem(IDC_GROUP_NAME)->ShowWindow(bNew ? SW_SHOW : SW_HIDE);
    GetDlgItem(IDC_GROUP_EXISTING_NAME)->ShowWindow(bNew ? SW_HIDE : SW_SHOW);
    if (!bNew)
        SetDlgItemText(IDC_GROUP_EXISTING_NAME, m_pGroup->GetName());
    ShowIcon(bNew ? NEW_GROUP_IMAGE : static_cast<int>(m_pGroup->GetKind()));
    if (m_pParent != nullptr && !CNodeRec::IsRootRef(m_pParent->GetRef()))
        m_nodePath.SetNode(m_pParent.get());
    m_sheet.LoadFromNode(m_pGroup.get());
    return TRUE;
}

void CDlgGroupProperties::ShowIcon(int nImage)
{
    CImageList images;
    if (!images.Create(IDB_TREE_LARGE, ICON_SIZE, 1, ICON_MASK))
        return;
    m_hIcon = images.ExtractIcon(nImage);
    images.DeleteImageList();
    if (m_hIcon != nullptr)
        SendDlgItemMessage(IDC_GROUP_ICON, STM_SETICON, reinterpret_cast<WPARAM>(m_hIcon), 0);
}

LRESULT CDlgGroupProperties::OnKickIdle(WPARAM wParam, LPARAM lParam)
{
    return RelayKickIdle(this, wParam, lParam);
}

void CDlgGroupProperties::OnUpdateOK(CCmdUI* pCmdUI)
{
    if (m_pGroup != nullptr) {
        pCmdUI->Enable(TRUE);
        return;
    }
    CString strName;
    GetDlgItemText(IDC_GROUP_NAME, strName);
    strName.TrimLeft();
    pCmdUI->Enable(!strName.IsEmpty());
}

void CDlgGroupProperties::OnOK()
{
    if (m_pGroup == nullptr && !CreateGroup())
        return;
    if (!IsFixedGroupNode(*m_pGroup)) {
        if (!m_sheet.UpdateActivePage() || !m_sheet.StoreToNode(m_pGroup.get()))
            return;
    }
    CDialog::OnOK();
}

BOOL CDlgGroupProperties::CreateGroup()
{
    if (!UpdateData(TRUE) || m_pParent == nullptr)
        return FALSE;
    m_strName.Trim();
    if (IsNameTaken(m_strName)) {
        AfxMessageBox(IDS_NAME_TAKEN, MB_OK);
        GotoDlgCtrl(GetDlgItem(IDC_GROUP_NAME));
        return FALSE;
    }
    CNodeInfo info {};
    MakeDefaultNames(&info);
    Utf8CopyToField(info.szName, sizeof(info.szName), m_strName, FieldEnd::NulTerminated);
    m_pGroup.reset(m_pParent->FindOrAddChild(info));
    if (m_pGroup == nullptr) {
        GotoDlgCtrl(GetDlgItem(IDC_GROUP_NAME));
        return FALSE;
    }
    return TRUE;
}

BOOL CDlgGroupProperties::IsNameTaken(const CString& strName) const
{
    if (CNodeRec::IsRootRef(m_pParent->GetRef())) {
        for (UINT nID : { IDS_TOP_NODE3_NAME, IDS_TOP_NODE4_NAME }) {
            if (strName.CompareNoCase(CString(MAKEINTRESOURCE(nID))) == 0)
                return TRUE;
        }
    }
    for (const auto& pChild : m_pParent->GetChildren()) {
        if (strName.CompareNoCase(pChild->GetName()) == 0)
            return TRUE;
    }
    return FALSE;
}
