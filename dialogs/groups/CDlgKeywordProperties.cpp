#include "dialogs/groups/CDlgKeywordProperties.h"

#include "dialogs/groups/GroupNodes.h"
#include "resources/ResourceIds.h"
#include "store/CNodeRec.h"
#include "ui/ChildPropertySheet.h"
#include "ui/KickIdle.h"

#include "platform/framework/AfxMessages.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"

// clang-format off
BEGIN_MESSAGE_MAP(CDlgKeywordProperties, CDialog)
    ON_MESSAGE(WM_KICKIDLE, &CDlgKeywordProperties::OnKickIdle)
END_MESSAGE_MAP()
// clang-format on

CDlgKeywordProperties::CDlgKeywordProperties(CWnd* pParent)
    : CDialog(IDD_KEYWORD_PROPERTIES, pParent)
{
}

CDlgKeywordProperties::~CDlgKeywordProperties() = default;

INT_PTR CDlgKeywordProperties::ShowForNode(const CNodeRec& node)
{
    m_pNode.reset(node.Clone());
    return DoModal();
}

void CDlgKeywordProperties::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NODE_PATH, m_nodePath);
}

BOOL CDlgKeywordProperties::OnInitDialog()
{
    CDialog::OnInitDialog();
    CreateChildPropertySheet(this, &m_sheet, WS_CHILD | WS_VISIBLE, 0);
    PlaceChildPropertySheet(this, &m_sheet, IDC_SHEET_PLACEHOLDER);
    m_nodePath.SetNode(m_pNode.get());
    m_sheet.LoadFromNode(m_pNode.get());
    return TRUE;
}

void CDlgKeywordProperties::OnOK()
{
    if (!IsFixedGroupNode(*m_pNode)) {
        if (!m_sheet.UpdateActivePage() || !m_sheet.StoreToNode(m_pNode.get()))
            return;
    }
    CDialog::OnOK();
}

LRESULT CDlgKeywordProperties::OnKickIdle(WPARAM wParam, LPARAM lParam)
{
    return RelayKickIdle(this, wParam, lParam);
}
