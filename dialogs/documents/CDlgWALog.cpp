#include "dialogs/documents/CDlgWALog.h"

#include "resources/ResourceIds.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDC.h"
#include "platform/framework/MessageMap.h"

namespace {

// Room after the longest line, so its end is not against the border.
constexpr int EXTENT_MARGIN = 10;

} // namespace

BEGIN_MESSAGE_MAP(CDlgWALog, CDialog)
    ON_BN_CLICKED(IDC_LOG_CLEAR, &CDlgWALog::OnClear)
END_MESSAGE_MAP()

CDlgWALog::CDlgWALog(std::vector<CString>& lines, CWnd* pParent)
    : CDialog(IDD_WA_LOG, pParent)
    , m_lines(lines)
{
}

void CDlgWALog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LOG_LIST, m_list);
    DDX_Control(pDX, IDC_LOG_CLEAR, m_clear);
}

BOOL CDlgWALog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_clear.EnableWindow(FALSE);
    for (const CString& strLine : m_lines)
        AddLine(strLine);
    return TRUE;
}

void CDlgWALog::AddLine(LPCTSTR pszLine)
{
    if (m_list.GetSafeHwnd() == nullptr)
        return;
    {
        CClientDC dc(&m_list);
        CFont* pOldFont = dc.SelectObject(m_list.GetFont());
        const int nWidth = dc.GetTextExtent(CString(pszLine)).cx + EXTENT_MARGIN;
        dc.SelectObject(pOldFont);
        if (nWidth > m_nWidest) {
            m_nWidest = nWidth;
            m_list.SetHorizontalExtent(nWidth);
        }
    }
    m_list.SetCurSel(m_list.AddString(pszLine));
    m_clear.EnableWindow(TRUE);
}

void CDlgWALog::OnClear()
{
    if (AfxMessageBox(IDS_WA_LOG_CLEAR, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    m_list.ResetContent();
    m_lines.clear();
    m_nWidest = 0;
    m_list.SetHorizontalExtent(0);
    m_clear.EnableWindow(FALSE);
}
