#include "dialogs/groups/CGroupPropertiesMensagens.h"

#include "resources/ResourceIds.h"
#include "store/CNodeInfoRec.h"
#include "store/CNodeRec.h"

#include "platform/controls/ComboBoxControl.h"
#include "platform/framework/CDataExchange.h"

IMPLEMENT_DYNCREATE(CGroupPropertiesMensagens, CPropertyPage)

CGroupPropertiesMensagens::CGroupPropertiesMensagens()
    : CPropertyPage(IDD_GROUP_MESSAGES)
{
}

void CGroupPropertiesMensagens::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_GROUP_MESSAGES, m_nChoice);
}

void CGroupPropertiesMensagens::LoadFromNode(const CNodeRec* pNode)
{
    for (UINT nID : { IDS_MESSAGES_BOTH, IDS_MESSAGES_RECEIVED })
        SendDlgItemMessage(IDC_GROUP_MESSAGES, CB_ADDSTRING, 0,
            reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(CString(MAKEINTRESOURCE(nID)))));
    m_nChoice = pNode == nullptr || (pNode->GetFlags() & FLAG_BOTH) != 0 ? 0 : 1;
    UpdateData(FALSE);
}

BOOL CGroupPropertiesMensagens::StoreToNode(CNodeRec* pNode)
{
    CNodeInfo info {};
    if (pNode->GetInfo(&info) == nullptr)
        return FALSE;
    info.nFlags &= ~(FLAG_BOTH | FLAG_RECEIVED);
    info.nFlags |= m_nChoice == 0 ? FLAG_BOTH : FLAG_RECEIVED;
    return pNode->UpdateInfo(info);
}
