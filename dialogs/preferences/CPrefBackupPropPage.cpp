#include "dialogs/preferences/CPrefBackupPropPage.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/UpDownControl.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CCatalogFiles.h"
#include "ui/CUiHostServices.h"

// clang-format off
BEGIN_MESSAGE_MAP(CPrefBackupPropPage, CPropertyPage)
    ON_MESSAGE(WM_KICKIDLE, &CPrefBackupPropPage::OnKickIdle)
END_MESSAGE_MAP()
// clang-format on

namespace {

// What the page shows for values it cannot show.
constexpr int DEFAULT_BACKUPS = 3;
constexpr int DEFAULT_BACKUP_DAYS = 2;

// The complete generations on disk, the lone files deleted; 0 without both catalogs.
int CountGenerations()
{
    CCatalog* pMain = GetHostMainCatalog();
    CCatalog* pRecycle = GetHostRecycleCatalog();
    if (!pMain || !pRecycle)
        return 0;
    return CCatalogFiles(pMain->GetPath(), pRecycle->GetPath()).DeleteGenerations();
}

void SetRange(CWnd* pSpin, int nMin, int nMax)
{
    if (pSpin)
        pSpin->SendMessage(UDM_SETRANGE, 0, MAKELONG(nMax, nMin));
}

} // namespace

CPrefBackupPropPage::CPrefBackupPropPage(CPrefBackupPageData& data)
    : CPropertyPage(IDD_PREF_BACKUP)
    , m_data(data)
{
}

BOOL CPrefBackupPropPage::OnInitDialog()
{
    SetRange(GetDlgItem(IDC_BACKUP_COUNT_SPIN), MIN_BACKUPS, MAX_BACKUPS);
    SetRange(GetDlgItem(IDC_PREF_DAYS_SPIN), MIN_BACKUP_DAYS, MAX_BACKUP_DAYS);
    const BOOL bResult = CPropertyPage::OnInitDialog();
    CString strKept;
    strKept.Format(IDS_BACKUPS_KEPT, CountGenerations());
    SetDlgItemText(IDC_WA_SETTINGS_NOTE, strKept);
    EnableDays();
    return bResult;
}

void CPrefBackupPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    if (!pDX->m_bSaveAndValidate) {
        const BOOL bScheduled = m_data.nNumDayBackup >= MIN_BACKUP_DAYS && m_data.nNumDayBackup <= MAX_BACKUP_DAYS;
        m_nSchedule = bScheduled ? SCHEDULE_EVERY_N_DAYS : SCHEDULE_NEVER;
        m_nDays = bScheduled ? m_data.nNumDayBackup : DEFAULT_BACKUP_DAYS;
        const BOOL bBackupsShown = m_data.nNumBackups >= MIN_BACKUPS && m_data.nNumBackups <= MAX_BACKUPS;
        m_nBackups = bBackupsShown ? m_data.nNumBackups : DEFAULT_BACKUPS;
    }
    DDX_Text(pDX, IDC_BACKUP_COUNT, m_nBackups);
    DDV_MinMaxInt(pDX, m_nBackups, MIN_BACKUPS, MAX_BACKUPS);
    DDX_Radio(pDX, IDC_BACKUP_NEVER, m_nSchedule);
    // The days are checked even while "never" is chosen: the edit keeps them.
    DDX_Text(pDX, IDC_PREF_DAYS, m_nDays);
    DDV_MinMaxInt(pDX, m_nDays, MIN_BACKUP_DAYS, MAX_BACKUP_DAYS);
    if (pDX->m_bSaveAndValidate) {
        m_data.nNumBackups = m_nBackups;
        m_data.nNumDayBackup = m_nSchedule == SCHEDULE_EVERY_N_DAYS ? m_nDays : 0;
    }
}

LRESULT CPrefBackupPropPage::OnKickIdle(WPARAM, LPARAM)
{
    EnableDays();
    return 0;
}

void CPrefBackupPropPage::EnableDays()
{
    const BOOL bEnable = IsDlgButtonChecked(IDC_BACKUP_EVERY_N_DAYS) == BST_CHECKED;
    for (int nID : { IDC_PREF_DAYS, IDC_PREF_DAYS_SPIN }) {
        CWnd* pItem = GetDlgItem(nID);
        if (pItem && pItem->IsWindowEnabled() != bEnable)
            pItem->EnableWindow(bEnable);
    }
}
