#include "dialogs/groups/CGroupPropertiesGeneral.h"

#include "dialogs/groups/GroupNodes.h"
#include "resources/ResourceIds.h"
#include "store/CNodeInfoRec.h"
#include "store/CNodeRec.h"

#include "platform/base/TextFunctions.h"
#include "platform/framework/CDataExchange.h"

IMPLEMENT_DYNCREATE(CGroupPropertiesGeneral, CPropertyPage)

CGroupPropertiesGeneral::CGroupPropertiesGeneral()
    : CPropertyPage(IDD_GROUP_GENERAL)
{
}

void CGroupPropertiesGeneral::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GROUP_INFO, m_info);
    DDX_Text(pDX, IDC_GROUP_COUNTS, m_strCounts);
}

void CGroupPropertiesGeneral::LoadFromNode(const CNodeRec* pNode)
{
    // The information field's bytes, less its terminator: a longer text would be cut.
    m_info.SetLimitText(CNodeInfoRec::TEXT_SIZE - 1);
    if (pNode == nullptr) {
        m_strCounts.Format(IDS_GROUP_COUNTS, 0, 0);
    } else if (IsFixedGroupNode(*pNode)) {
        m_info.SetWindowText(CString(MAKEINTRESOURCE(IDS_FIXED_NODE_INFO)));
        m_info.SetReadOnly(TRUE);
        m_strCounts.Format(IDS_FIXED_NODE_COUNTS, pNode->CountDocuments());
    } else {
        m_info.SetWindowText(pNode->GetInfoString());
        m_strCounts.Format(IDS_GROUP_COUNTS, pNode->CountDocuments(), pNode->CountChildren());
    }
    UpdateData(FALSE);
}

BOOL CGroupPropertiesGeneral::StoreToNode(CNodeRec* pNode)
{
    CString strText;
    m_info.GetWindowText(strText);
    if (strText == pNode->GetInfoString())
        return TRUE;
    CNodeInfo info {};
    if (pNode->GetInfo(&info) == nullptr)
        return FALSE;
    Utf8CopyToField(info.szInfo, sizeof(info.szInfo), strText, FieldEnd::NulTerminated);
    return pNode->UpdateInfo(info);
}
