#include "dialogs/setup/CDlgDailyNotice.h"

#include "dialogs/setup/NoticeLook.h"
#include "resources/ResourceIds.h"

#include "platform/base/CTime.h"
#include "platform/framework/CDataExchange.h"

CDlgDailyNotice::CDlgDailyNotice(CWnd* pParent)
    : CDialog(IDD_DAILY_NOTICE, pParent)
{
}

void CDlgDailyNotice::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NOTICE_ICON, m_icon);
    DDX_Control(pDX, IDC_DAILY_NOTICE_TITLE, m_title);
    DDX_Control(pDX, IDC_NOTICE_PICTURE, m_picture);
}

BOOL CDlgDailyNotice::OnInitDialog()
{
    CDialog::OnInitDialog();
    StyleNoticeTitle(m_title);
    SetNoticeIcon(m_icon);
    m_picture.SetBitmap(IDB_DAILY_NOTICE, 0, 0);
    CString strFormat;
    strFormat.LoadString(IDS_DAILY_NOTICE_COUNT);
    CString strTitle;
    strTitle.Format(strFormat, m_nCount);
    m_title.SetText(strTitle);
    CString strDate;
    strDate.LoadString(IDS_DAILY_NOTICE_DATE);
    strDate += CTime::GetCurrentTime().Format("%A, %B %d, %Y");
    SetDlgItemText(IDC_NOTICE_TEXT, strDate);
    return TRUE;
}
