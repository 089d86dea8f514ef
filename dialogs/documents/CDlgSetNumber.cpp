#include "dialogs/documents/CDlgSetNumber.h"

#include "dialogs/documents/DocumentRow.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "ui/DocumentIcons.h"

#include "platform/controls/ButtonControl.h"
#include "platform/framework/MessageMap.h"

BEGIN_MESSAGE_MAP(CDlgSetNumber, CDialog)
    ON_BN_CLICKED(IDC_VERSION_SET, &CDlgSetNumber::OnNumberChosen)
    ON_BN_CLICKED(IDC_VERSION_NONE, &CDlgSetNumber::OnNoneChosen)
END_MESSAGE_MAP()

CDlgSetNumber::CDlgSetNumber(CWnd* pParent)
    : CDialog(IDD_SET_NUMBER, pParent)
{
}

CDlgSetNumber::CDlgSetNumber(const CDocumentRec& document, CWnd* pParent)
    : CDialog(IDD_SET_NUMBER, pParent)
{
    SetUp(GetDocumentIcon(document), DocumentDisplayPath(document), document.GetVersion());
}

void CDlgSetNumber::SetUp(HICON hIcon, LPCTSTR pszPath, int nNumber)
{
    m_hIcon = hIcon;
    m_strPath = pszPath;
    m_nNumber = nNumber;
    m_nInitial = nNumber;
}

void CDlgSetNumber::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_VERSION_SPIN, m_spin);
    // None keeps the number out of the exchange: its edit shows 1 and is not read.
    if (!pDX->m_bSaveAndValidate || IsDlgButtonChecked(IDC_VERSION_SET) == BST_CHECKED) {
        DDX_Text(pDX, IDC_VERSION_NUMBER, m_nNumber);
        DDV_MinMaxInt(pDX, m_nNumber, 1, MAX_NUMBER);
    }
}

BOOL CDlgSetNumber::OnInitDialog()
{
    const BOOL bNumbered = m_nNumber != 0;
    if (!bNumbered)
        m_nNumber = 1;
    CDialog::OnInitDialog();
    m_spin.SetRange(1, MAX_NUMBER);
    ShowDocumentRow(*this, m_hIcon, m_strPath);
    CheckDlgButton(IDC_VERSION_SET, bNumbered ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_VERSION_NONE, bNumbered ? BST_UNCHECKED : BST_CHECKED);
    EnableNumber(bNumbered);
    return TRUE;
}

void CDlgSetNumber::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (IsDlgButtonChecked(IDC_VERSION_NONE) == BST_CHECKED)
        m_nNumber = 0;
    EndDialog(IDOK);
}

void CDlgSetNumber::EnableNumber(BOOL bEnable)
{
    for (int nId : { IDC_VERSION_NUMBER, IDC_VERSION_SPIN }) {
        if (CWnd* pControl = GetDlgItem(nId))
            pControl->EnableWindow(bEnable);
    }
}
