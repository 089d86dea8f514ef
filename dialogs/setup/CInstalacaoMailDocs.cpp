#include "dialogs/setup/CInstalacaoMailDocs.h"

#include "dialogs/setup/NoticeLook.h"
#include "resources/ResourceIds.h"

#include "platform/framework/CDataExchange.h"

// clang-format off
BEGIN_MESSAGE_MAP(CInstalacaoMailDocs, CInstPropPage)
    ON_LBN_SELCHANGE(IDC_SETUP_MAIL_USERS, &CInstalacaoMailDocs::OnUserSelChange)
END_MESSAGE_MAP()
// clang-format on

namespace {

constexpr int IMAGE_WIDTH = 16;
constexpr COLORREF IMAGE_MASK = RGB(255, 0, 255);
constexpr int USER_IMAGE = 1; // the mail user of IDB_FOLDER_ITEMS

} // namespace

CInstalacaoMailDocs::CInstalacaoMailDocs()
    : CInstPropPage(IDD_SETUP_MAIL)
{
    SetPageInfo(IDB_SETUP_MAIL, PSWIZB_BACK | PSWIZB_NEXT);
}

BOOL CInstalacaoMailDocs::FindStores()
{
    BOOL bFound = FALSE;
    for (CMailer* pMailer : std::initializer_list<CMailer*> { &m_netscape, &m_oe4, &m_oe5 })
        bFound = pMailer->ScanOnce() || bFound;
    return bFound;
}

void CInstalacaoMailDocs::DoDataExchange(CDataExchange* pDX)
{
    CInstPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SETUP_PICTURE1, m_picture1);
    DDX_Control(pDX, IDC_SETUP_MAIL_USERS, m_users);
    DDX_Control(pDX, IDC_SETUP_MAIL_FOLDERS, m_folders);
}

BOOL CInstalacaoMailDocs::OnInitDialog()
{
    CInstPropPage::OnInitDialog();
    SetNoticeIcon(m_picture1);
    m_stateImages.Create(IDB_CHECK_STATES, IMAGE_WIDTH, 1, IMAGE_MASK);
    m_folderImages.Create(IDB_FOLDER_ITEMS, IMAGE_WIDTH, 1, IMAGE_MASK);
    m_folders.SetImageList(&m_stateImages, TVSIL_STATE);
    m_folders.SetImageList(&m_folderImages, TVSIL_NORMAL);
    m_users.SetImageList(m_folderImages.GetSafeHandle(), USER_IMAGE);
    for (CMailer* pMailer : std::initializer_list<CMailer*> { &m_netscape, &m_oe4, &m_oe5 }) {
        if (!pMailer->HasFound())
            continue;
        for (const CMailerUserEntry& user : pMailer->GetUsers()) {
            const int nLine = m_users.AddString(user.strName + " ( " + pMailer->GetClientName(user) + " )");
            m_users.SetItemDataPtr(nLine, user.pUser.get());
        }
    }
    if (m_users.GetCount() > 0) {
        m_users.SetCurSel(0);
        OnUserSelChange();
    }
    return TRUE;
}

void CInstalacaoMailDocs::CollectChecks()
{
    m_folders.CollectCheckedPaths(TVI_ROOT, m_strShownUser);
}

void CInstalacaoMailDocs::OnUserSelChange()
{
    CollectChecks();
    m_folders.DeleteAllItems();
    const int nLine = m_users.GetCurSel();
    if (nLine < 0)
        return;
    if (auto* pUser = static_cast<CMailerUser*>(m_users.GetItemDataPtr(nLine))) {
        m_users.GetText(nLine, m_strShownUser);
        m_folders.InsertFolders(pUser->folders, TVI_ROOT);
    }
}

LRESULT CInstalacaoMailDocs::OnWizardNext()
{
    CollectChecks();
    return CInstPropPage::OnWizardNext();
}
