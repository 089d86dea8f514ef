#include "dialogs/documents/CDlgCatalogNewDocument.h"

#include "dialogs/documents/DocumentRow.h"
#include "monitor/CNewDocForm.h"
#include "monitor/CNewDocMonitor.h"
#include "resources/ResourceIds.h"
#include "store/CNodeRec.h"

#include "platform/framework/CDataExchange.h"
#include "platform/framework/CWinThread.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/Icons.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CDlgCatalogNewDocument, CDialog)
    ON_BN_CLICKED(IDC_SKIP_DOCUMENT, &CDlgCatalogNewDocument::OnSkip)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CDlgCatalogNewDocument::CDlgCatalogNewDocument(CNewDocMonitor& monitor, CNewDocForm& form, CWnd* pParent)
    : CDialog(IDD_CATALOG_NEW_DOCUMENT, pParent)
    , m_monitor(monitor)
    , m_form(form)
{
}

void CDlgCatalogNewDocument::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NEW_DOCS_LIST, m_notices);
    DDX_Control(pDX, IDC_NEW_DOC_NODES, m_nodes);
    DDX_Text(pDX, IDC_NEW_DOC_NAME, m_strName);
    DDX_Text(pDX, IDC_DESCRIPTION_TEXT, m_strDescription);
    DDX_Check(pDX, IDC_NEW_DOC_FAVOURITE, m_bFavourite);
}

BOOL CDlgCatalogNewDocument::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowNotice();
    return TRUE;
}

void CDlgCatalogNewDocument::OnDestroy()
{
    CDialog::OnDestroy();
    if (m_hIcon != nullptr)
        DestroyIcon(m_hIcon);
    m_hIcon = nullptr;
}

void CDlgCatalogNewDocument::SetLastIndex(int nLast)
{
    if (GetSafeHwnd())
        FillNotices(nLast);
}

void CDlgCatalogNewDocument::End(int nResult)
{
    if (GetSafeHwnd())
        EndDialog(nResult);
}

void CDlgCatalogNewDocument::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    CNewDocProposal& proposal = m_form.GetProposal();
    proposal.strName = m_strName;
    proposal.strDescription = m_strDescription;
    proposal.bFavourite = m_bFavourite;
    Answer(CNewDocMonitor::RESULT_CATALOG);
}

void CDlgCatalogNewDocument::OnSkip()
{
    Answer(CNewDocMonitor::RESULT_REMOVE);
}

void CDlgCatalogNewDocument::Answer(int nCode)
{
    if (m_monitor.OnCatalogDialogResult(nCode))
        ShowNotice();
    else
        EndDialog(IDOK);
}

void CDlgCatalogNewDocument::ShowNotice()
{
    const CNewDocNoticeArray& notices = m_monitor.GetNotices();
    const int nShown = m_form.GetShownIndex();
    if (nShown < 0 || nShown >= static_cast<int>(notices.size()))
        return;
    const CNewDocNotice& notice = notices[static_cast<size_t>(nShown)];
    // The picture shows the icon it is given: the old one goes once the new one is in place.
    const HICON hIcon = notice.GetIcon();
    ShowDocumentRow(*this, hIcon, notice.GetDisplayName());
    if (hIcon != nullptr) {
        if (m_hIcon != nullptr)
            DestroyIcon(m_hIcon);
        m_hIcon = hIcon;
    }
    const CNewDocProposal& proposal = m_form.GetProposal();
    m_strName = proposal.strName;
    m_strDescription = proposal.strDescription;
    m_bFavourite = proposal.bFavourite;
    UpdateData(FALSE);
    FillNotices(m_form.GetLastIndex());
    m_notices.SetCurSel(nShown);
    ShowNodes();
}

void CDlgCatalogNewDocument::ShowNodes()
{
    if (!GetSafeHwnd())
        return;
    m_nodes.ResetContent();
    for (const auto& pNode : m_form.GetProposal().nodes)
        m_nodes.AddString(pNode->GetName());
}

void CDlgCatalogNewDocument::FillNotices(int nLast)
{
    const CNewDocNoticeArray& notices = m_monitor.GetNotices();
    const int nCount = std::min(nLast + 1, static_cast<int>(notices.size()));
    const int nSelected = m_notices.GetCurSel();
    m_notices.ResetContent();
    for (int i = 0; i < nCount; ++i)
        m_notices.AddString(notices[static_cast<size_t>(i)].GetDisplayName());
    m_notices.SetCurSel(nSelected);
}

std::unique_ptr<CCatalogDialog> MakeCatalogNewDocumentDialog(CNewDocMonitor& monitor, CNewDocForm& form)
{
    return std::make_unique<CDlgCatalogNewDocument>(monitor, form, AfxGetMainWnd());
}
