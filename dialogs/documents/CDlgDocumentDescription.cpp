#include "dialogs/documents/CDlgDocumentDescription.h"

#include "catalog/DocumentTexts.h"
#include "dialogs/documents/DocumentRow.h"
#include "dialogs/documents/DocumentUnlock.h"
#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "store/ContentReader.h"
#include "ui/CUiHostServices.h"
#include "ui/ContentStatus.h"
#include "ui/DocumentIcons.h"
#include "ui/KickIdle.h"

#include "platform/base/TextFunctions.h"
#include "platform/framework/AfxMessages.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/CRect.h"
#include "platform/framework/CWaitCursor.h"
#include "platform/framework/MessageMap.h"

#include <vector>

BEGIN_MESSAGE_MAP(CDlgDocumentDescription, CDialog)
    ON_MESSAGE(WM_KICKIDLE, &CDlgDocumentDescription::OnKickIdle)
    ON_UPDATE_COMMAND_UI(IDC_SELECTION_TO_DESCRIPTION, &CDlgDocumentDescription::OnUpdateSelectionToDescription)
    ON_BN_CLICKED(IDC_SELECTION_TO_DESCRIPTION, &CDlgDocumentDescription::OnSelectionToDescription)
    ON_BN_CLICKED(IDC_OPEN_DOCUMENT, &CDlgDocumentDescription::OnOpenDocument)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

// What the batch step reads to make a description of.
constexpr int DESCRIPTION_SOURCE_BYTES = 1024;

// pszText cut at a character boundary to MAX_DESCRIPTION bytes.
CString CutDescription(LPCTSTR pszText)
{
    char szText[CDlgDocumentDescription::MAX_DESCRIPTION + 1] {};
    Utf8CopyToField(szText, sizeof szText, pszText, FieldEnd::NulTerminated);
    return szText;
}

} // namespace

CDlgDocumentDescription::CDlgDocumentDescription(CDocumentRec* pDocument, CWnd* pParent)
    : CDialog(IDD_DOCUMENT_DESCRIPTION, pParent)
    , m_pDocument(pDocument)
{
}

CDlgDocumentDescription::~CDlgDocumentDescription()
{
    FreeZoomImage(m_zoom);
}

void CDlgDocumentDescription::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DESCRIPTION_TEXT, m_description);
    DDX_Control(pDX, IDC_DOCUMENT_CONTENT, m_content);
    DDX_Control(pDX, IDC_CONTENT_STATUS, m_status);
    DDX_Text(pDX, IDC_DESCRIPTION_TYPE, m_strType);
    DDX_Text(pDX, IDC_DESCRIPTION_TEXT, m_strDescription);
}

BOOL CDlgDocumentDescription::OnInitDialog()
{
    CWaitCursor wait;
    CString strPassword;
    const int nUnlock = UnlockDocument(*m_pDocument, this, strPassword);
    if (nUnlock != UNLOCK_OPEN && nUnlock != UNLOCK_UNPROTECTED) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    m_pDocument->GetTypeName(m_strType);
    m_pDocument->GetNameWithLocation(m_strDescription);
    CDialog::OnInitDialog();
    ShowDocumentRow(*this, GetDocumentIcon(*m_pDocument), DocumentDisplayPath(*m_pDocument));
    m_description.LimitText(MAX_DESCRIPTION);
    GetDlgItem(IDC_OPEN_DOCUMENT)->EnableWindow(!m_pDocument->IsMail());
    ShowContent();
    return TRUE;
}

void CDlgDocumentDescription::ShowContent()
{
    std::vector<char> buffer(CONTENT_BYTES);
    const int nResult = m_pDocument->ReadContent(buffer.data(), CONTENT_BYTES);
    BOOL bFailed = IsContentFailure(nResult);
    UINT nStatus = ContentStatusText(nResult);
    if (nResult == CONTENT_PICTURE) {
        CRect rcContent;
        m_content.GetWindowRect(&rcContent);
        ScreenToClient(&rcContent);
        if (ShowPictureInRect(*this, m_zoom, rcContent)) {
            m_content.ShowWindow(SW_HIDE); // it would paint over the picture
        } else {
            bFailed = TRUE;
            nStatus = IDS_WA_TIP_UNREADABLE;
        }
    }
    CString strStatus;
    strStatus.LoadString(nStatus);
    m_status.SetText(strStatus);
    if (bFailed)
        m_status.SetTextColor(ALERT_COLOUR);
    m_bContent = buffer[0] != '\0';
    m_content.SetWindowText(buffer.data());
}

LRESULT CDlgDocumentDescription::OnKickIdle(WPARAM wParam, LPARAM lParam)
{
    return RelayKickIdle(this, wParam, lParam);
}

void CDlgDocumentDescription::OnUpdateSelectionToDescription(CCmdUI* pCmdUI)
{
    int nStart = 0;
    int nEnd = 0;
    m_content.GetSel(nStart, nEnd);
    pCmdUI->Enable(m_bContent && nEnd > nStart);
}

void CDlgDocumentDescription::OnSelectionToDescription()
{
    // Taken from the text rather than through the clipboard, which keeps what the user put there.
    int nStart = 0;
    int nEnd = 0;
    m_content.GetSel(nStart, nEnd);
    CString strContent;
    m_content.GetWindowText(strContent);
    if (!m_bContent || nEnd <= nStart)
        return;
    m_description.SetSel(0, -1);
    m_description.ReplaceSel(CutDescription(strContent.Mid(nStart, nEnd - nStart)), TRUE);
    GotoDlgCtrl(&m_description);
}

void CDlgDocumentDescription::OnOK()
{
    WriteAndEnd(IDOK);
}

void CDlgDocumentDescription::OnOpenDocument()
{
    CUiHostServices* pHost = GetUiHostServices();
    if (pHost && pHost->OpenItem(*m_pDocument, nullptr))
        WriteAndEnd(IDC_OPEN_DOCUMENT);
}

void CDlgDocumentDescription::WriteAndEnd(int nResult)
{
    if (!UpdateData(TRUE) || m_pDocument->ChangeDescription(m_strDescription) == CDocumentRec::DESCRIPTION_FAILED) {
        GotoDlgCtrl(&m_description);
        return;
    }
    EndDialog(nResult);
}

void CDlgDocumentDescription::OnDestroy()
{
    // Before the zoom window goes with the dialog's children, which would leave its object behind.
    FreeZoomImage(m_zoom);
    CDialog::OnDestroy();
}

int CDlgDocumentDescription::DescriptionFromContent()
{
    CString strText;
    if (m_pDocument->IsMail() && m_pDocument->IsProtected()) {
        strText.LoadString(IDS_WA_TIP_MAIL_PROTECTED);
    } else {
        std::vector<char> buffer(DESCRIPTION_SOURCE_BYTES);
        m_pDocument->ReadContent(buffer.data(), DESCRIPTION_SOURCE_BYTES);
        strText = MakeDescription(buffer.data());
    }
    if (strText.IsEmpty())
        return CDocumentRec::DESCRIPTION_UNCHANGED;
    return m_pDocument->ChangeDescription(strText);
}
