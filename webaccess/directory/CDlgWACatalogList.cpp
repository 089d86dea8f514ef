#include "webaccess/directory/CDlgWACatalogList.h"

#include "resources/ResourceIds.h"
#include "webaccess/directory/CWARequest.h"
#include "webaccess/directory/WARequestLoop.h"

#include "platform/base/ResourceModule.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"

namespace {

constexpr int CATALOG_IMAGE_WIDTH = 16;
constexpr COLORREF CATALOG_IMAGE_MASK = RGB(255, 0, 255);

} // namespace

CDlgWACatalogList::CDlgWACatalogList(LPCTSTR pszUserId, LPCTSTR pszPassword, int nConnType, CWnd* pParent)
    : CDialog(IDD_WA_CATALOG_LIST, pParent)
    , m_strUserId(pszUserId)
    , m_strPassword(pszPassword)
    , m_nConnType(nConnType)
{
}

CDlgWACatalogList::~CDlgWACatalogList()
{
    if (m_hImages)
        ImageList_Destroy(m_hImages);
}

BOOL CDlgWACatalogList::RetrieveCatalogs()
{
    for (;;) {
        m_catalogs.clear();
        CString strReply;
        int nResult = RunRequestLoop([&](CString& strMessage) {
            CWARequest request(WA_PAGE_CATALOGS, WA_MARK_CATALOGS);
            request.SetUserLogin(m_strUserId);
            request.SetUserPassword(m_strPassword);
            int nAttempt = request.Execute(m_nConnType);
            strMessage = request.m_strMessage;
            strReply = request.m_strReply;
            return nAttempt;
        });
        if (nResult != 0)
            return FALSE;
        m_catalogs = ParseCatalogList(strReply);
        if (FillList())
            return TRUE;
        if (AfxMessageBox(IDS_WA_NO_CATALOGS, MB_RETRYCANCEL | MB_ICONSTOP) != IDRETRY)
            return FALSE;
    }
}

void CDlgWACatalogList::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_ACCOUNT_USER_ID, m_userId);
    DDX_Control(pDX, IDC_WA_CATALOG_LINES, m_list);
}

BOOL CDlgWACatalogList::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_hImages = ImageList_LoadImage(AfxGetResourceHandle(), MAKEINTRESOURCE(IDB_WA_CATALOG), CATALOG_IMAGE_WIDTH, 1,
        CATALOG_IMAGE_MASK, IMAGE_BITMAP, 0);
    m_list.SetImageList(m_hImages, 0);
    m_userId.SetBrush(RGB(255, 255, 255));
    m_userId.SetWindowText(m_strUserId);
    if (!RetrieveCatalogs())
        EndDialog(IDCANCEL);
    return TRUE;
}

void CDlgWACatalogList::OnOK()
{
    int nLine = m_list.GetCurSel();
    if (nLine < 0)
        return;
    m_nSelected = static_cast<int>(m_list.GetItemData(nLine));
    EndDialog(IDOK);
}

BOOL CDlgWACatalogList::FillList()
{
    m_list.ResetContent();
    for (size_t i = 0; i < m_catalogs.size(); ++i) {
        int nLine = m_list.AddString(m_catalogs[i].strName + "-" + m_catalogs[i].strCode);
        m_list.SetItemData(nLine, i);
    }
    if (m_catalogs.empty())
        return FALSE;
    m_list.SetCurSel(0);
    return TRUE;
}
