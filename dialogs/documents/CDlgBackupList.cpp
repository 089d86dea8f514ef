#include "dialogs/documents/CDlgBackupList.h"

#include "dialogs/documents/CDlgBackupInfo.h"
#include "frame/CBackupMonitor.h"
#include "resources/ResourceIds.h"
#include "store/CCatalogFiles.h"
#include "ui/KickIdle.h"

#include "platform/framework/AfxMessages.h"
#include "platform/framework/CCmdUI.h"
#include "platform/framework/MessageMap.h"

#include <cstdlib>

namespace {

// The generation lines go straight into the dialog's list box.
class CListBoxLines : public CBackupInfoList {
public:
    explicit CListBoxLines(CListBox& list)
        : m_list(list)
    {
    }
    int AddString(LPCTSTR pszText) override { return m_list.AddString(pszText); }

private:
    CListBox& m_list;
};

} // namespace

BEGIN_MESSAGE_MAP(CDlgBackupList, CDialog)
    ON_MESSAGE(WM_KICKIDLE, &CDlgBackupList::OnKickIdle)
    ON_UPDATE_COMMAND_UI(IDC_BACKUP_CHOOSE, &CDlgBackupList::OnUpdateChoose)
    ON_BN_CLICKED(IDC_BACKUP_CHOOSE, &CDlgBackupList::OnChoose)
    ON_BN_CLICKED(IDC_BACKUP_OLD_COPIES, &CDlgBackupList::OnOldCopies)
END_MESSAGE_MAP()

CDlgBackupList::CDlgBackupList(const CCatalogFiles& files, BOOL bOldCopies, CWnd* pParent)
    : CDialog(IDD_BACKUP_LIST, pParent)
    , m_files(files)
    , m_bOldCopies(bOldCopies)
{
}

void CDlgBackupList::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BACKUP_GENERATIONS, m_list);
}

BOOL CDlgBackupList::OnInitDialog()
{
    CDialog::OnInitDialog();
    CListBoxLines lines(m_list);
    m_files.FormatBackupInfo(lines);
    m_bEntries = m_list.GetCount() > 0;
    if (!m_bEntries) {
        CString strNone;
        strNone.LoadString(IDS_NO_BACKUP);
        m_list.AddString(strNone);
    }
    if (CWnd* pOldCopies = GetDlgItem(IDC_BACKUP_OLD_COPIES))
        pOldCopies->EnableWindow(m_bOldCopies);
    return TRUE;
}

LRESULT CDlgBackupList::OnKickIdle(WPARAM wParam, LPARAM lParam)
{
    return RelayKickIdle(this, wParam, lParam);
}

void CDlgBackupList::OnUpdateChoose(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_bEntries && m_list.GetCurSel() >= 0);
}

void CDlgBackupList::OnChoose()
{
    const int nSelected = m_list.GetCurSel();
    if (!m_bEntries || nSelected < 0)
        return;
    CString strLine;
    m_list.GetText(nSelected, strLine);
    const int nMark = strLine.Find('#');
    const int nGeneration = nMark >= 0 ? std::atoi(strLine.Mid(nMark + 1)) : 0;
    CDlgBackupInfo confirm(strLine, this);
    const INT_PTR nAnswer = confirm.DoModal();
    if (nAnswer == IDCANCEL || nAnswer == -1)
        return;
    m_nGeneration = nGeneration;
    m_bConfirmed = nAnswer == IDOK;
    EndDialog(CBackupMonitor::END_RESTORE_GENERATION);
}

void CDlgBackupList::OnOldCopies()
{
    EndDialog(CBackupMonitor::END_RESTORE_OLD);
}
