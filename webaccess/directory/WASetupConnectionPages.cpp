#include "webaccess/directory/WASetupConnectionPages.h"

#include "resources/ResourceIds.h"
#include "store/FileHelpers.h"
#include "webaccess/directory/CWAHttpQuery.h"
#include "webaccess/directory/CWASetupWizardPropSheet.h"

#include "platform/base/CFile.h"
#include "platform/base/CFileException.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "platform/controls/ButtonControl.h"
#include "platform/framework/AfxFrameIds.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"
#include "platform/framework/MessageMap.h"

#include <algorithm>
#include <string>

namespace {

constexpr int FOLDER_LIMIT = 260;
constexpr UINT NOTICE_PIECE = 255; // bytes read at a time

} // namespace

/* Page 0: the introduction. */

CWASetupIntroPropPage::CWASetupIntroPropPage(CWASetupWizardPropSheet& sheet)
    : CWASetupPropPage(sheet, IDD_WA_SETUP_INTRO, 0, BUTTONS_NEXT)
{
}

BOOL CWASetupIntroPropPage::OnInitDialog()
{
    CWASetupPropPage::OnInitDialog();
    if (m_page.CreateFromStatic(IDC_WA_SETTINGS_PICTURE, this))
        m_page.LoadFromResource("WATELA1.HTM");
    return TRUE;
}

/* Page 1: the notice. */

CWASetupNoticePropPage::CWASetupNoticePropPage(CWASetupWizardPropSheet& sheet)
    : CWASetupPropPage(sheet, IDD_WA_SETUP_NOTICE, IDB_WA_SETUP_NOTICE, BUTTONS_BACK_NEXT)
{
}

CString CWASetupNoticePropPage::ReadNotice()
{
    CString strName;
    strName.LoadString(IDS_WA_NOTICE_FILE);
    // The program folder's own notice, else the one installed with the program.
    CString strPath = GetProgramFolder() + strName;
    if (GetFileAttributes(strPath) == INVALID_FILE_ATTRIBUTES) {
        const std::string strInstalled = FindProgramDataFile(static_cast<LPCTSTR>(strName));
        if (!strInstalled.empty())
            strPath = ProgramPathFromHostPath(strInstalled).c_str();
    }
    CFile file;
    if (!file.Open(strPath, CFile::modeRead | CFile::shareDenyNone)) {
        CString strMissing;
        strMissing.LoadString(IDS_WEB_NOTICE_MISSING);
        return strMissing;
    }
    std::string text;
    try {
        char piece[NOTICE_PIECE];
        while (text.size() < MAX_NOTICE_BYTES) {
            const UINT nRead = file.Read(piece, std::min<UINT>(NOTICE_PIECE, MAX_NOTICE_BYTES - text.size()));
            if (nRead == 0)
                break;
            text.append(piece, nRead);
        }
    } catch (CFileException* pException) {
        // What was read before the error is shown.
        pException->Delete();
    }
    // The edit control breaks lines at "\r\n" only.
    CString strNotice;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            strNotice += '\r';
        strNotice += text[i];
    }
    return strNotice;
}

void CWASetupNoticePropPage::DoDataExchange(CDataExchange* pDX)
{
    CWASetupPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_NOTICE_TEXT, m_text);
}

BOOL CWASetupNoticePropPage::OnInitDialog()
{
    CWASetupPropPage::OnInitDialog();
    m_text.SetBrush(RGB(255, 255, 255));
    m_text.SetWindowText(ReadNotice());
    m_sheet.GetDlgItemText(ID_WIZNEXT, m_strNextCaption);
    return TRUE;
}

BOOL CWASetupNoticePropPage::OnSetActive()
{
    const BOOL bResult = CWASetupPropPage::OnSetActive();
    CString strAgree;
    strAgree.LoadString(IDS_WEB_NOTICE_NEXT);
    m_sheet.SetDlgItemText(ID_WIZNEXT, strAgree);
    return bResult;
}

BOOL CWASetupNoticePropPage::OnKillActive()
{
    m_sheet.SetDlgItemText(ID_WIZNEXT, m_strNextCaption);
    return CWASetupPropPage::OnKillActive();
}

/* Page 2: the connection type. */

CWASetupConnTypePropPage::CWASetupConnTypePropPage(CWASetupWizardPropSheet& sheet)
    : CWASetupPropPage(sheet, IDD_WA_SETUP_CONN_TYPE, IDB_WA_SETUP_CONN_TYPE, BUTTONS_BACK_NEXT)
{
}

void CWASetupConnTypePropPage::DoDataExchange(CDataExchange* pDX)
{
    CWASetupPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WA_PICTURE_MODEM, m_modemPicture);
    DDX_Control(pDX, IDC_WA_PICTURE_CABLE, m_cablePicture);
    DDX_Control(pDX, IDC_WA_PICTURE_LAN, m_lanPicture);
}

BOOL CWASetupConnTypePropPage::OnInitDialog()
{
    CWASetupPropPage::OnInitDialog();
    ShowSmallPicture(m_modemPicture, IDB_WA_MODEM);
    ShowSmallPicture(m_cablePicture, IDB_WA_CABLE);
    ShowSmallPicture(m_lanPicture, IDB_WA_LAN);
    return TRUE;
}

BOOL CWASetupConnTypePropPage::OnSetActive()
{
    const int nConnType = m_sheet.m_values.nConnType;
    const int nChecked = nConnType == WA_CONN_LAN ? IDC_WA_CONN_LAN
        : nConnType == WA_CONN_MODEM              ? IDC_WA_CONN_MODEM
                                                  : IDC_WA_CONN_CABLE;
    CheckRadioButton(IDC_WA_CONN_MODEM, IDC_WA_CONN_CABLE, nChecked);
    return CWASetupPropPage::OnSetActive();
}

LRESULT CWASetupConnTypePropPage::OnWizardNext()
{
    int& nConnType = m_sheet.m_values.nConnType;
    if (IsDlgButtonChecked(IDC_WA_CONN_LAN) == BST_CHECKED) {
        nConnType = WA_CONN_LAN;
        m_nNextTarget = CWASetupWizardPropSheet::PAGE_COMM_FOLDER;
    } else {
        nConnType = IsDlgButtonChecked(IDC_WA_CONN_MODEM) == BST_CHECKED ? WA_CONN_MODEM : WA_CONN_CABLE;
        m_nNextTarget = CWASetupWizardPropSheet::PAGE_ACCOUNT_CHOICE;
    }
    return CWASetupPropPage::OnWizardNext();
}

/* Page 3: the LAN folder. */

// clang-format off
BEGIN_MESSAGE_MAP(CWASetupCommFolderPropPage, CWASetupPropPage)
    ON_BN_CLICKED(IDC_BROWSE, &CWASetupCommFolderPropPage::OnBrowse)
END_MESSAGE_MAP()
// clang-format on

CWASetupCommFolderPropPage::CWASetupCommFolderPropPage(CWASetupWizardPropSheet& sheet)
    : CWASetupPropPage(sheet, IDD_WA_SETUP_COMM_FOLDER, IDB_WA_SETUP_COMM_FOLDER, BUTTONS_BACK_NEXT)
{
}

void CWASetupCommFolderPropPage::DoDataExchange(CDataExchange* pDX)
{
    CWASetupPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BROWSE, m_browse);
    DDX_Control(pDX, IDC_WA_SMALL_PICTURE, m_picture);
    DDX_Control(pDX, IDC_WA_LINK_LABEL, m_link);
}

BOOL CWASetupCommFolderPropPage::OnInitDialog()
{
    CWASetupPropPage::OnInitDialog();
    LimitText(IDC_WA_COMM_FOLDER, FOLDER_LIMIT);
    ShowSmallPicture(m_picture, IDB_BACKUP_PICTURE);
    m_link.MakeLink();
    CString strSite;
    strSite.LoadString(IDS_WA_DEFAULT_SITE);
    m_link.SetLinkUrl(strSite);
    return TRUE;
}

void CWASetupCommFolderPropPage::OnBrowse()
{
    CString strFolder;
    if (m_picker.Pick(m_browse, strFolder))
        SetDlgItemText(IDC_WA_COMM_FOLDER, strFolder);
}

LRESULT CWASetupCommFolderPropPage::OnWizardNext()
{
    const CString strFolder = GetTrimmedText(IDC_WA_COMM_FOLDER);
    const DWORD dwCheck = CheckFolder(strFolder, FOLDER_WRITABLE);
    if (dwCheck & (FOLDER_UNUSABLE | FOLDER_MISSING))
        return Refuse(IDS_DEFAULT_FOLDER_MISSING, MB_ICONEXCLAMATION, IDC_WA_COMM_FOLDER);
    if (!(dwCheck & FOLDER_WRITABLE))
        return Refuse(IDS_DEFAULT_FOLDER_READ_ONLY, MB_ICONEXCLAMATION, IDC_WA_COMM_FOLDER);
    m_sheet.m_values.strCommFolder = strFolder;
    return CWASetupPropPage::OnWizardNext();
}
