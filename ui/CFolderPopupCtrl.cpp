#include "ui/CFolderPopupCtrl.h"

#include "catalog/CInfoPIDL.h"
#include "catalog/ShellItemIds.h"
#include "platform/base/Com.h"
#include "platform/base/TextFunctions.h"
#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"
#include "store/ResString.h"
#include "ui/CPIDLPopupCtrl.h"
#include "ui/MailPopups.h"
#include "ui/PopupImages.h"

#include <algorithm>
#include <memory>

IMPLEMENT_DYNAMIC(CFolderPopupCtrl, CPopupCtrl)

BEGIN_MESSAGE_MAP(CFolderPopupCtrl, CPopupCtrl)
    ON_WM_CREATE()
END_MESSAGE_MAP()

namespace {

constexpr int IMAGE_WIDTH = 16;
constexpr COLORREF IMAGE_MASK = RGB(255, 0, 255);

} // namespace

CFolderPopupCtrl::CFolderPopupCtrl()
    : m_pImages(SharedPopupImages(IDB_FOLDER_ITEMS, IMAGE_WIDTH, IMAGE_MASK))
    , m_pArrows(SharedPopupImages(IDB_POPUP_ARROWS, IMAGE_WIDTH, IMAGE_MASK))
{
}

int CFolderPopupCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CPopupCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    SetFont(&m_look.NormalFont(), FALSE);
    return 0;
}

void CFolderPopupCtrl::FillRootItems()
{
    m_nWidest = 0;
    AddItem(GetResString(IDS_MY_COMPUTER), ROW_MY_COMPUTER, TRUE, TRUE);
    AddItem(GetResString(IDS_MAIL_STORES), ROW_MAIL, TRUE, TRUE);
}

CPopupWnd* CFolderPopupCtrl::CreateChildPopup(int nIndex)
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    if (GetItemValue(nIndex) == ROW_MY_COMPUTER) {
        LPITEMIDLIST pidlDrives = nullptr;
        if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &pidlDrives)))
            return nullptr;
        auto pChild = std::make_unique<CPIDLPopupWnd>();
        const BOOL bMade = pChild->Create(this) == 1;
        if (bMade)
            pChild->GetPIDLList().FillFromPIDL(pidlDrives, CPIDLPopupCtrl::MASK_FIXED_NETWORK);
        CoTaskMemFree(pidlDrives);
        return bMade ? pChild.release() : nullptr;
    }
    // The clients are scanned only until one has users.
    BOOL bUsers = FALSE;
    for (int i = 0; i < CMailClientSet::MAILER_COUNT && !bUsers; ++i)
        bUsers = m_clients.GetAt(i)->ScanOnce();
    if (!bUsers)
        return nullptr;
    auto pChild = std::make_unique<CMailerUserPopupWnd>();
    if (pChild->Create(this) != 1)
        return nullptr;
    pChild->GetUserList().FillFromClients(&m_clients);
    return pChild.release();
}

void CFolderPopupCtrl::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    m_look.MeasureListRow(*this, lpMeasureItemStruct, ImageSizeOf(m_pImages), CPopupRowLook::ROW_MARGIN, m_nWidest);
}

void CFolderPopupCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const int nItem = static_cast<int>(lpDrawItemStruct->itemID);
    CPopupRowLook::CRow row;
    row.pImages = m_pImages;
    row.nImage = GetItemValue(nItem) == ROW_MY_COMPUTER ? MY_COMPUTER_IMAGE : MAIL_IMAGE;
    row.imageSize = ImageSizeOf(m_pImages);
    row.pArrows = m_pArrows;
    m_look.DrawListRow(*this, lpDrawItemStruct, row);
}

/* The window. */

CFolderPopupWnd::CFolderPopupWnd()
    : CPopupWnd("FolderPopupWnd")
{
}

CString* CFolderPopupWnd::PickFolderFromPopup(const POINT* pPos, const RECT* pAvoid, const RECT* pParentItemRect)
{
    auto* pResult = static_cast<CObject*>(TrackPopup(pPos, pAvoid, pParentItemRect));
    if (!pResult)
        return nullptr;
    CString strChoice;
    if (auto* pMailbox = dynamic_cast<CMailboxPath*>(pResult)) {
        strChoice = "*" + pMailbox->m_strMailbox;
    } else if (auto* pInfo = dynamic_cast<CInfoPIDL*>(pResult)) {
        GetDisplayNameOfPIDL(pInfo->m_pFolder, pInfo->m_pidlRelative, SHGDN_FORPARSING, strChoice);
        FreeInfoPIDL(nullptr, pInfo);
    }
    delete pResult;
    CharLower(strChoice.GetBuffer(0));
    strChoice.ReleaseBuffer();
    return new CString(strChoice);
}
