#include "dialogs/documents/CDlgFindFilesHost.h"

#include "frame/FindSettings.h"
#include "resources/ResourceIds.h"

#include "platform/controls/ButtonControl.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CComboBox.h"
#include "platform/framework/MessageMap.h"

#include <algorithm>

namespace {

constexpr int FIELD_COUNT = IDC_FIND_HOST_FIELD5 - IDC_FIND_HOST_FIELD0 + 1;
constexpr int TYPE_COUNT = IDC_FIND_HOST_TYPE2 - IDC_FIND_HOST_TYPE0 + 1;

UINT Checked(BOOL bCheck)
{
    return bCheck ? BST_CHECKED : BST_UNCHECKED;
}

} // namespace

BEGIN_MESSAGE_MAP(CDlgFindFilesHost, CDialog)
END_MESSAGE_MAP()

CDlgFindFilesHost::CDlgFindFilesHost(CFindSettings& settings, CCatalog* pCatalog, CWnd* pParent)
    : CDialog(IDD_FIND_FILES_HOST, pParent)
    , m_settings(settings)
    , m_pCatalog(pCatalog)
{
}

void CDlgFindFilesHost::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FIND_HOST_TEXT, m_text);
}

BOOL CDlgFindFilesHost::OnInitDialog()
{
    CDialog::OnInitDialog();
    const CFindRecord& find = m_settings.GetFind();
    for (int i = 0; i < find.history.GetSize(); ++i)
        m_text.AddString(find.history[i]);
    m_text.SetWindowText(find.GetText());
    // Stored values out of range show the defaults' choices.
    const int nField = find.nField >= 0 && find.nField < FIELD_COUNT ? find.nField : 1;
    const int nType = find.nType >= 0 && find.nType < TYPE_COUNT ? find.nType : FIND_TYPE_PHRASE;
    CheckRadioButton(IDC_FIND_HOST_FIELD0, IDC_FIND_HOST_FIELD5, IDC_FIND_HOST_FIELD0 + nField);
    CheckRadioButton(IDC_FIND_HOST_TYPE0, IDC_FIND_HOST_TYPE2, IDC_FIND_HOST_TYPE0 + nType);
    CheckDlgButton(IDC_FIND_HOST_CASE, Checked(find.bMatchCase));
    CheckDlgButton(IDC_FIND_HOST_WHOLE_WORD, Checked(find.bWholeWord));
    CheckDlgButton(IDC_FIND_HOST_RESULT_LIST, Checked(find.bResultList));
    CheckDlgButton(IDC_FIND_HOST_RECYCLE, Checked(find.bRecycle));
    CheckDlgButton(IDC_FIND_HOST_FIND_BAR, Checked(find.bOpenFindBar));
    return TRUE;
}

void CDlgFindFilesHost::OnOK()
{
    CString strText;
    GetDlgItemText(IDC_FIND_HOST_TEXT, strText);
    if (CString(strText).Trim().IsEmpty()) {
        AfxMessageBox(IDS_FIND_NO_TEXT, MB_ICONINFORMATION);
        GotoDlgCtrl(GetDlgItem(IDC_FIND_HOST_TEXT));
        return;
    }
    const CFindRecord& find = m_settings.GetFind();
    CFindRecord search;
    search.history.Add(strText);
    search.nField
        = std::max(0, GetCheckedRadioButton(IDC_FIND_HOST_FIELD0, IDC_FIND_HOST_FIELD5) - IDC_FIND_HOST_FIELD0);
    search.nType = std::max(0, GetCheckedRadioButton(IDC_FIND_HOST_TYPE0, IDC_FIND_HOST_TYPE2) - IDC_FIND_HOST_TYPE0);
    search.nScope = find.nScope;
    search.bMatchCase = IsDlgButtonChecked(IDC_FIND_HOST_CASE) == BST_CHECKED;
    search.bWholeWord = IsDlgButtonChecked(IDC_FIND_HOST_WHOLE_WORD) == BST_CHECKED;
    search.bResultList = IsDlgButtonChecked(IDC_FIND_HOST_RESULT_LIST) == BST_CHECKED;
    search.bRecycle = IsDlgButtonChecked(IDC_FIND_HOST_RECYCLE) == BST_CHECKED;
    search.bOpenFindBar = IsDlgButtonChecked(IDC_FIND_HOST_FIND_BAR) == BST_CHECKED;
    search.bAllDocs = find.bAllDocs;
    search.bInterrupt = find.bInterrupt;
    search.bDate = find.bDate;
    m_settings.UpdateFind(search, -1, -1, m_pCatalog);
    m_settings.UpdateLastFind(search, -1, -1, m_pCatalog);
    m_settings.ApplySearchCriteria();
    EndDialog(IDOK);
}
