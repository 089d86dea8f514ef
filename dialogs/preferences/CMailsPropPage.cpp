#include "dialogs/preferences/CMailsPropPage.h"

#include "mail/CMailClientSet.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/CImageList.h"
#include "resources/ResourceIds.h"
#include "store/CMailStoreRec.h"
#include "ui/PopupImages.h"

namespace {

// The mail folder picture: image 0 of the folder strip.
constexpr int IMAGE_WIDTH = 16;
constexpr COLORREF IMAGE_MASK = RGB(255, 0, 255);
constexpr int MAIL_FOLDER_IMAGE = 0;

} // namespace

CMailsPropPage::CMailsPropPage(const CMailsPageData& data)
    : CPropertyPage(IDD_PREF_MAILS)
    , m_data(data)
{
}

CString CMailsPropPage::StoreLine(const CMailStoreChoice& store)
{
    CString strClient;
    if (store.wKind >= LOCATION_NETSCAPE && store.wKind <= LOCATION_OUTLOOK_EXPRESS5) {
        if (CMailer* pMailer = GetMailClientSet().GetAt(store.wKind - LOCATION_NETSCAPE))
            strClient = pMailer->GetStoreClientName(store.strPath);
    }
    return GetMailboxDisplayName(store.strPath) + " ( " + strClient + " )";
}

BOOL CMailsPropPage::OnInitDialog()
{
    const BOOL bResult = CPropertyPage::OnInitDialog();
    if (CImageList* pImages = SharedPopupImages(IDB_FOLDER_ITEMS, IMAGE_WIDTH, IMAGE_MASK))
        m_stores.SetImageList(pImages->GetSafeHandle(), MAIL_FOLDER_IMAGE);
    for (const CMailStoreChoice& store : m_data.stores)
        m_stores.AddString(StoreLine(store));
    return bResult;
}

void CMailsPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MAIL_STORES, m_stores);
}
