#include "dialogs/documents/CDlgAbout.h"

#include "resources/ResourceIds.h"

#include "platform/framework/MessageMap.h"

namespace {

constexpr int PICTURE_WIDTH = 122;
constexpr int PICTURE_HEIGHT = 98;
constexpr int TITLE_POINTS = 14;
constexpr COLORREF TITLE_COLOR = 0x027E0000;

} // namespace

BEGIN_MESSAGE_MAP(CDlgAbout, CDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CDlgAbout::CDlgAbout(CWnd* pParent)
    : CDialog(IDD_ABOUT, pParent)
{
}

void CDlgAbout::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ABOUT_TITLE, m_title);
    DDX_Control(pDX, IDC_ABOUT_PICTURE, m_picture);
}

BOOL CDlgAbout::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_picture.SetBitmap(IDB_ABOUT, PICTURE_WIDTH, PICTURE_HEIGHT);
    m_title.SetFontSize(TITLE_POINTS).SetFontBold(TRUE).SetTextColor(TITLE_COLOR);
    return TRUE;
}

void CDlgAbout::OnPaint()
{
    Default();
    m_picture.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
}
