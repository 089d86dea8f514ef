#include "dialogs/documents/CDlgSetOption.h"

#include "dialogs/documents/DocumentRow.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "ui/DocumentIcons.h"

#include <array>

namespace {

constexpr int CHOICES = 5;
// The button of each open action, by action value.
constexpr std::array<int, CHOICES> FILE_CHOICE_OF_VALUE { 0, 3, 1, 4, 0 };
constexpr std::array<int, CHOICES> MAIL_CHOICE_OF_VALUE { 0, 1, 3, 2, 4 };
// The open action of each button, by choice.
constexpr std::array<DWORD, CHOICES> FILE_VALUE_OF_CHOICE { 0, 2, 0, 1, 3 };
constexpr std::array<DWORD, CHOICES> MAIL_VALUE_OF_CHOICE { 0, 1, 3, 2, 4 };
// The texts of a mail message's buttons, in button order.
constexpr std::array<UINT, CHOICES> MAIL_TEXTS { IDS_OPEN_MAIL_REPLY, IDS_OPEN_MAIL_REPLY_ALL, IDS_OPEN_MAIL_AS_NEW,
    IDS_OPEN_MAIL_FORWARD, IDS_OPEN_MAIL_CLIENT };

} // namespace

CDlgSetOption::CDlgSetOption(CWnd* pParent)
    : CDialog(IDD_SET_OPTION, pParent)
{
}

CDlgSetOption::CDlgSetOption(const CDocumentRec& document, CWnd* pParent)
    : CDialog(IDD_SET_OPTION, pParent)
{
    SetUp(GetDocumentIcon(document), DocumentDisplayPath(document), document.GetOpenAction(), !document.IsMail());
}

void CDlgSetOption::SetUp(HICON hIcon, LPCTSTR pszPath, DWORD dwValue, BOOL bFile)
{
    m_hIcon = hIcon;
    m_strPath = pszPath;
    m_bFile = bFile;
    m_nChoice = ChoiceOfValue(dwValue, bFile);
}

DWORD CDlgSetOption::GetValueFromChoice() const
{
    return ValueOfChoice(m_nChoice, m_bFile);
}

int CDlgSetOption::ChoiceOfValue(DWORD dwValue, BOOL bFile)
{
    if (dwValue >= CHOICES)
        return 0;
    return bFile ? FILE_CHOICE_OF_VALUE[dwValue] : MAIL_CHOICE_OF_VALUE[dwValue];
}

DWORD CDlgSetOption::ValueOfChoice(int nChoice, BOOL bFile)
{
    if (nChoice < 0 || nChoice >= CHOICES)
        return 0;
    return bFile ? FILE_VALUE_OF_CHOICE[static_cast<size_t>(nChoice)]
                 : MAIL_VALUE_OF_CHOICE[static_cast<size_t>(nChoice)];
}

void CDlgSetOption::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_OPEN_ACTION_0, m_nChoice);
}

BOOL CDlgSetOption::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowDocumentRow(*this, m_hIcon, m_strPath);
    if (m_bFile) {
        GetDlgItem(IDC_OPEN_ACTION_0 + 2)->ShowWindow(SW_HIDE);
        return TRUE;
    }
    for (int i = 0; i < CHOICES; ++i) {
        CString strText;
        strText.LoadString(MAIL_TEXTS[static_cast<size_t>(i)]);
        SetDlgItemText(IDC_OPEN_ACTION_0 + i, strText);
    }
    return TRUE;
}
