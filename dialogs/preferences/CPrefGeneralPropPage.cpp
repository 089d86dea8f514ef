#include "dialogs/preferences/CPrefGeneralPropPage.h"

#include "dialogs/preferences/PageRefusal.h"
#include "dialogs/preferences/TwoBitOption.h"
#include "platform/controls/ButtonControl.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/UpDownControl.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"
#include "store/FileHelpers.h"

// clang-format off
BEGIN_MESSAGE_MAP(CPrefGeneralPropPage, CPropertyPage)
    ON_BN_CLICKED(IDC_BROWSE, &CPrefGeneralPropPage::OnBrowse)
    ON_BN_CLICKED(IDC_GENERAL_WITHIN_DAYS, &CPrefGeneralPropPage::OnWithinDays)
END_MESSAGE_MAP()
// clang-format on

namespace {

// The longest default folder, in characters.
constexpr int MAX_FOLDER_LENGTH = 259;

} // namespace

CPrefGeneralPropPage::CPrefGeneralPropPage(CPrefGeneralPageData& data)
    : CPropertyPage(IDD_PREF_GENERAL)
    , m_data(data)
{
}

BOOL CPrefGeneralPropPage::OnInitDialog()
{
    for (int nSpin : { IDC_PREF_DAYS_SPIN, IDC_GENERAL_RECENT_DAYS_SPIN }) {
        if (CWnd* pSpin = GetDlgItem(nSpin))
            pSpin->SendMessage(UDM_SETRANGE, 0, MAKELONG(MAX_DAYS, MIN_DAYS));
    }
    const BOOL bResult = CPropertyPage::OnInitDialog();
    if (CWnd* pFolder = GetDlgItem(IDC_GENERAL_COPY_FOLDER))
        pFolder->SendMessage(EM_LIMITTEXT, MAX_FOLDER_LENGTH);
    EnableRecentDays();
    return bResult;
}

void CPrefGeneralPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GENERAL_RECENT_COLOR, m_colors);
    DDX_Control(pDX, IDC_BROWSE, m_browse);
    DDX_Text(pDX, IDC_PREF_DAYS, m_data.nNumDayFileNew);
    DDV_MinMaxInt(pDX, m_data.nNumDayFileNew, MIN_DAYS, MAX_DAYS);
    DDX_TwoBitOption(pDX, IDC_GENERAL_SINCE_UPDATE, IDC_GENERAL_WITHIN_DAYS, m_data.nLastCatalogOption);
    DDX_Text(pDX, IDC_GENERAL_RECENT_DAYS, m_data.nNumDayRecentlyCatalog);
    DDV_MinMaxInt(pDX, m_data.nNumDayRecentlyCatalog, MIN_DAYS, MAX_DAYS);
    DDX_Text(pDX, IDC_GENERAL_COPY_FOLDER, m_data.strDefaultDirCopyRem);
    DDV_MaxChars(pDX, m_data.strDefaultDirCopyRem, MAX_FOLDER_LENGTH);
    DDX_Check(pDX, IDC_GENERAL_MINIMIZE, m_data.bMinimize);
    DDX_Check(pDX, IDC_GENERAL_ORPHAN_WARNING, m_data.bOrphanWarning);
    if (pDX->m_bSaveAndValidate) {
        // Without a choice in the combo the colour stays as it came.
        if (m_colors.GetCurSel() >= 0)
            m_data.crRecentlyCatalog = m_colors.GetSelectedColor();
    } else {
        m_colors.SetCurSel(-1);
        m_colors.SelectColor(m_data.crRecentlyCatalog);
    }
}

BOOL CPrefGeneralPropPage::OnApply()
{
    if (!m_data.strDefaultDirCopyRem.IsEmpty()) {
        const DWORD dwFolder = CheckFolder(m_data.strDefaultDirCopyRem, FOLDER_WRITABLE | FOLDER_REMOVABLE);
        if (dwFolder & FOLDER_REMOVABLE)
            return RefusePageApply(*this, IDS_DEFAULT_FOLDER_REMOVABLE, IDC_GENERAL_COPY_FOLDER);
        if (dwFolder & (FOLDER_UNUSABLE | FOLDER_MISSING))
            return RefusePageApply(*this, IDS_DEFAULT_FOLDER_MISSING, IDC_GENERAL_COPY_FOLDER);
        if (!(dwFolder & FOLDER_WRITABLE))
            return RefusePageApply(*this, IDS_DEFAULT_FOLDER_READ_ONLY, IDC_GENERAL_COPY_FOLDER);
    }
    return CPropertyPage::OnApply();
}

void CPrefGeneralPropPage::OnBrowse()
{
    CString strFolder;
    if (!m_picker.Pick(m_browse, strFolder))
        return;
    strFolder.MakeLower();
    // Only the edit: reloading every control would drop what was typed elsewhere.
    SetDlgItemText(IDC_GENERAL_COPY_FOLDER, strFolder);
}

void CPrefGeneralPropPage::OnWithinDays()
{
    EnableRecentDays();
}

void CPrefGeneralPropPage::EnableRecentDays()
{
    const BOOL bEnable = IsDlgButtonChecked(IDC_GENERAL_WITHIN_DAYS) == BST_CHECKED;
    for (int nID : { IDC_GENERAL_RECENT_DAYS, IDC_GENERAL_RECENT_DAYS_SPIN }) {
        if (CWnd* pItem = GetDlgItem(nID))
            pItem->EnableWindow(bEnable);
    }
}
