#include "dialogs/preferences/CPrefDetailPropPage.h"

#include "platform/controls/ButtonControl.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"
#include "resources/ResourceIds.h"
#include "ui/CUiHostServices.h"

// clang-format off
BEGIN_MESSAGE_MAP(CPrefDetailPropPage, CPropertyPage)
    ON_BN_CLICKED(IDC_DETAIL_CHECK_ALL, &CPrefDetailPropPage::OnCheckAll)
    ON_BN_CLICKED(IDC_DETAIL_CLEAR_ALL, &CPrefDetailPropPage::OnClearAll)
    ON_MESSAGE(WM_KICKIDLE, &CPrefDetailPropPage::OnKickIdle)
END_MESSAGE_MAP()
// clang-format on

namespace {

// Each column box with the choice it stands for; the choices keep the list's order.
struct ColumnBox {
    int nID;
    BOOL CListColumnChoices::*pChoice;
};
constexpr ColumnBox COLUMN_BOXES[] = {
    { IDC_DETAIL_ACCESSED, &CListColumnChoices::bAccessed },
    { IDC_DETAIL_NAME, &CListColumnChoices::bName },
    { IDC_DETAIL_CREATED, &CListColumnChoices::bCreated },
    { IDC_DETAIL_DESCRIPTION, &CListColumnChoices::bDescription },
    { IDC_DETAIL_DATE, &CListColumnChoices::bDate },
    { IDC_DETAIL_FOLDER, &CListColumnChoices::bLabel },
    { IDC_DETAIL_ALT_NAME, &CListColumnChoices::bAltName },
    { IDC_DETAIL_MODIFIED, &CListColumnChoices::bModified },
    { IDC_DETAIL_SIZE, &CListColumnChoices::bSize },
    { IDC_DETAIL_TYPE, &CListColumnChoices::bType },
    { IDC_DETAIL_EXTENSION, &CListColumnChoices::bDetailExtension },
};

// The controls that act on the list, disabled when there is none.
constexpr int LIST_CONTROLS[]
    = { IDC_DETAIL_LIST_EXTENSION, IDC_DETAIL_KBYTES, IDC_DETAIL_BYTES, IDC_DETAIL_CHECK_ALL, IDC_DETAIL_CLEAR_ALL };

constexpr int SIZE_IN_KB = 0;
constexpr int SIZE_IN_BYTES = 1;

} // namespace

CPrefDetailPropPage::CPrefDetailPropPage(CPrefDetailPageData& data)
    : CPropertyPage(IDD_PREF_DETAILS)
    , m_data(data)
{
}

BOOL CPrefDetailPropPage::OnInitDialog()
{
    CUiHostServices* pHost = GetUiHostServices();
    m_bHasColumns = pHost && pHost->GetListColumns(&m_columns, &m_bListExtension);
    m_nSizeUnit = m_columns.bSizeInKB ? SIZE_IN_KB : SIZE_IN_BYTES;
    const BOOL bResult = CPropertyPage::OnInitDialog();
    if (!m_bHasColumns) {
        for (const ColumnBox& box : COLUMN_BOXES)
            if (CWnd* pBox = GetDlgItem(box.nID))
                pBox->EnableWindow(FALSE);
        for (int nID : LIST_CONTROLS)
            if (CWnd* pControl = GetDlgItem(nID))
                pControl->EnableWindow(FALSE);
    }
    return bResult;
}

void CPrefDetailPropPage::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    for (const ColumnBox& box : COLUMN_BOXES)
        DDX_Check(pDX, box.nID, m_columns.*box.pChoice);
    DDX_Check(pDX, IDC_DETAIL_LIST_EXTENSION, m_bListExtension);
    DDX_Radio(pDX, IDC_DETAIL_KBYTES, m_nSizeUnit);
    DDX_Check(pDX, IDC_DETAIL_DESCRIPTION_TIP, m_data.bDescrTip);
    if (pDX->m_bSaveAndValidate) {
        m_columns.bSizeInKB = m_nSizeUnit == SIZE_IN_KB;
        m_columns.bSizeInBytes = !m_columns.bSizeInKB;
    }
}

void CPrefDetailPropPage::OnOK()
{
    CUiHostServices* pHost = GetUiHostServices();
    if (m_bHasColumns && pHost)
        pHost->ApplyListColumns(m_columns, m_bListExtension);
    CPropertyPage::OnOK();
}

void CPrefDetailPropPage::OnCheckAll()
{
    SetColumnBoxes(TRUE);
}

void CPrefDetailPropPage::OnClearAll()
{
    SetColumnBoxes(FALSE);
}

void CPrefDetailPropPage::SetColumnBoxes(BOOL bCheck)
{
    for (const ColumnBox& box : COLUMN_BOXES)
        CheckDlgButton(box.nID, bCheck ? BST_CHECKED : BST_UNCHECKED);
}

LRESULT CPrefDetailPropPage::OnKickIdle(WPARAM, LPARAM)
{
    const BOOL bEnable = m_bHasColumns && IsDlgButtonChecked(IDC_DETAIL_SIZE) == BST_CHECKED;
    for (int nID : { IDC_DETAIL_KBYTES, IDC_DETAIL_BYTES }) {
        CWnd* pItem = GetDlgItem(nID);
        if (pItem && pItem->IsWindowEnabled() != bEnable)
            pItem->EnableWindow(bEnable);
    }
    return 0;
}
