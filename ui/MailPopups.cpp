#include "ui/MailPopups.h"

#include "mail/CMailClientSet.h"
#include "mail/MailResult.h"
#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"
#include "ui/PopupImages.h"

#include <algorithm>
#include <memory>

IMPLEMENT_DYNAMIC(CMailboxPath, CObject)
IMPLEMENT_DYNAMIC(CMailPopupCtrl, CPopupCtrl)
IMPLEMENT_DYNAMIC(CMailerUserPopupCtrl, CMailPopupCtrl)
IMPLEMENT_DYNAMIC(CMailboxPopupCtrl, CMailPopupCtrl)

BEGIN_MESSAGE_MAP(CMailPopupCtrl, CPopupCtrl)
    ON_WM_CREATE()
END_MESSAGE_MAP()

namespace {

constexpr int IMAGE_WIDTH = 16;
constexpr COLORREF IMAGE_MASK = RGB(255, 0, 255);

// The clients in the order their users are listed.
constexpr int CLIENT_KINDS[] = { MAIL_STORE_NETSCAPE, MAIL_STORE_OE4, MAIL_STORE_OE5 };

} // namespace

CMailboxPath::CMailboxPath(DWORD dwStoreKind, const CString& strMailbox, const CString& strDisplayPath)
    : m_dwStoreKind(dwStoreKind)
    , m_strMailbox(strMailbox)
    , m_strDisplayPath(strDisplayPath)
{
}

/* Both lists. */

CMailPopupCtrl::CMailPopupCtrl()
    : m_pImages(SharedPopupImages(IDB_FOLDER_ITEMS, IMAGE_WIDTH, IMAGE_MASK))
    , m_pArrows(SharedPopupImages(IDB_POPUP_ARROWS, IMAGE_WIDTH, IMAGE_MASK))
{
}

int CMailPopupCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CPopupCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_nWidest = 0;
    SetFont(&m_look.NormalFont(), FALSE);
    return 0;
}

void CMailPopupCtrl::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    m_look.MeasureListRow(*this, lpMeasureItemStruct, ImageSizeOf(m_pImages), CPopupRowLook::ROW_MARGIN, m_nWidest);
}

void CMailPopupCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CPopupRowLook::CRow row;
    row.pImages = m_pImages;
    row.nImage = GetRowImage();
    row.imageSize = ImageSizeOf(m_pImages);
    row.pArrows = m_pArrows;
    m_look.DrawListRow(*this, lpDrawItemStruct, row);
}

/* Users. */

void CMailerUserPopupCtrl::FillFromClients(CMailClientSet* pClients)
{
    m_nWidest = 0;
    for (int nKind : CLIENT_KINDS)
        if (pClients->ForStoreKind(nKind).HasFound())
            FillUsers(pClients, nKind);
}

void CMailerUserPopupCtrl::FillUsers(CMailClientSet* pClients, int nStoreKind)
{
    const CMailer& client = pClients->ForStoreKind(nStoreKind);
    const CString strSuffix = " ( " + client.GetName() + " )";
    const std::vector<CMailerUserEntry>& users = client.GetUsers();
    for (auto it = users.rbegin(); it != users.rend(); ++it) {
        m_users.push_back(&*it);
        const BOOL bHasFolders = it->pUser && !it->pUser->folders.empty();
        AddItem(it->strName + strSuffix, static_cast<DWORD>(m_users.size() - 1), bHasFolders, TRUE);
    }
}

const CMailerUserEntry* CMailerUserPopupCtrl::GetUser(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    const size_t nPosition = GetItemValue(nIndex);
    return nPosition < m_users.size() ? m_users[nPosition] : nullptr;
}

CPopupWnd* CMailerUserPopupCtrl::CreateChildPopup(int nIndex)
{
    const CMailerUserEntry* pUser = GetUser(nIndex);
    if (!pUser || !pUser->pUser || !ItemHasChild(nIndex))
        return nullptr;
    auto pChild = std::make_unique<CMailboxPopupWnd>();
    if (pChild->Create(this) != 1)
        return nullptr;
    pChild->GetMailboxList().FillFolders(pUser->strName, &pUser->pUser->folders);
    return pChild.release();
}

/* Folders. */

void CMailboxPopupCtrl::FillFolders(LPCTSTR pszBasePath, const CMailFolderArray* pFolders)
{
    m_nWidest = 0;
    m_strBasePath = pszBasePath ? CString(pszBasePath) + "\\" : CString();
    m_pFolders = pFolders;
    if (!pFolders)
        return;
    for (size_t i = pFolders->size(); i-- > 0;) {
        const CMailFolderEntry& folder = (*pFolders)[i];
        AddItem(folder.strName, static_cast<DWORD>(i), folder.pSubfolders != nullptr, TRUE);
    }
}

const CMailFolderEntry* CMailboxPopupCtrl::GetFolder(int nIndex) const
{
    if (!m_pFolders || nIndex < 0 || nIndex >= GetCount())
        return nullptr;
    const size_t nPosition = GetItemValue(nIndex);
    return nPosition < m_pFolders->size() ? &(*m_pFolders)[nPosition] : nullptr;
}

void* CMailboxPopupCtrl::GetItemResult(int nIndex)
{
    const CMailFolderEntry* pFolder = GetFolder(nIndex);
    return pFolder ? new CMailboxPath(pFolder->dwStoreKind, pFolder->strMailbox, m_strBasePath + pFolder->strName)
                   : nullptr;
}

CPopupWnd* CMailboxPopupCtrl::CreateChildPopup(int nIndex)
{
    const CMailFolderEntry* pFolder = GetFolder(nIndex);
    if (!pFolder || !pFolder->pSubfolders)
        return nullptr;
    auto pChild = std::make_unique<CMailboxPopupWnd>();
    if (pChild->Create(this) != 1)
        return nullptr;
    pChild->GetMailboxList().FillFolders(m_strBasePath + pFolder->strName, pFolder->pSubfolders.get());
    return pChild.release();
}

/* Windows. */

CMailerUserPopupWnd::CMailerUserPopupWnd()
    : CPopupWnd("MailerUserPopupWnd")
{
}

CMailboxPopupWnd::CMailboxPopupWnd()
    : CPopupWnd("MailboxPopupWnd")
{
}
