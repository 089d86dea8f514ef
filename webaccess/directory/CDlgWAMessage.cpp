#include "webaccess/directory/CDlgWAMessage.h"

#include "resources/ResourceIds.h"

#include "platform/framework/CDataExchange.h"

CDlgWAMessage::CDlgWAMessage(LPCTSTR pszText, CWnd* pParent)
    : CDialog(IDD_WA_MESSAGE, pParent)
    , m_strText(pszText)
{
}

void CDlgWAMessage::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_MESSAGE_TEXT, m_text);
}

BOOL CDlgWAMessage::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_text.SetBrush(RGB(255, 255, 255));
    m_text.SetWindowText(m_strText);
    return TRUE;
}
