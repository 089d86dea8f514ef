#include "dialogs/setup/CInstalacaoDocumentos.h"

#include "dialogs/documents/CDlgNewExtension.h"
#include "dialogs/setup/NoticeLook.h"
#include "dialogs/setup/SortedInsert.h"
#include "resources/ResourceIds.h"
#include "store/ResString.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"

// clang-format off
BEGIN_MESSAGE_MAP(CInstalacaoDocumentos, CInstPropPage)
    ON_LBN_SELCHANGE(IDC_SETUP_TYPES, &CInstalacaoDocumentos::OnTypeSelect)
    ON_CLBN_CHKCHANGE(IDC_SETUP_TYPES, &CInstalacaoDocumentos::OnTypeCheck)
    ON_CLBN_CHKCHANGE(IDC_SETUP_EXTENSIONS, &CInstalacaoDocumentos::OnExtensionCheck)
    ON_BN_CLICKED(IDC_SETUP_ADD_EXTENSION, &CInstalacaoDocumentos::OnAddExtension)
END_MESSAGE_MAP()
// clang-format on

namespace {

CString Lower(const CString& str)
{
    CString strLower = str;
    strLower.MakeLower();
    return strLower;
}

} // namespace

CInstalacaoDocumentos::CInstalacaoDocumentos()
    : CInstPropPage(IDD_SETUP_DOCUMENTS)
{
    SetPageInfo(IDB_SETUP_DOCUMENTS, PSWIZB_BACK | PSWIZB_NEXT);
}

void CInstalacaoDocumentos::DoDataExchange(CDataExchange* pDX)
{
    CInstPropPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SETUP_PICTURE1, m_icon);
    DDX_Control(pDX, IDC_SETUP_TYPES, m_types);
    DDX_Control(pDX, IDC_SETUP_EXTENSIONS, m_extensions);
}

BOOL CInstalacaoDocumentos::OnInitDialog()
{
    CInstPropPage::OnInitDialog();
    SetNoticeIcon(m_icon);
    m_types.SetCheckStyle(BS_AUTOCHECKBOX);
    m_extensions.SetCheckStyle(BS_AUTOCHECKBOX);
    GetDlgItem(IDC_SETUP_ADD_EXTENSION)->ShowWindow(SW_HIDE);
    FillTypes();
    m_typeChecks.assign(m_types.GetCount(), 0);
    m_types.SetFocus();
    m_types.SetCurSel(0);
    ShowType(0);
    return FALSE;
}

void CInstalacaoDocumentos::FillTypes()
{
    m_fileTypes.Build();
    CString strType;
    for (CStringArray* pExtensions = m_fileTypes.GetFirst(strType); pExtensions;
         pExtensions = m_fileTypes.GetNext(strType)) {
        const int nLine = InsertSortedNoCase(m_types, strType);
        m_types.SetItemData(nLine, reinterpret_cast<DWORD_PTR>(pExtensions));
        for (int i = 0; i < pExtensions->GetSize(); ++i)
            m_owners[Lower(pExtensions->GetAt(i))] = strType;
    }
    const int nOther = m_types.AddString(GetResString(IDS_OTHER_DOCUMENT_TYPE));
    m_types.SetItemData(nOther, reinterpret_cast<DWORD_PTR>(&m_otherExtensions));
}

CStringArray* CInstalacaoDocumentos::ExtensionsOf(int nType) const
{
    return reinterpret_cast<CStringArray*>(m_types.GetItemData(nType));
}

BOOL CInstalacaoDocumentos::IsOtherLine(int nType) const
{
    return nType == m_types.GetCount() - 1;
}

/***************************** The lists *****************************/

void CInstalacaoDocumentos::StoreShown()
{
    const BOOL bTypeChecked = m_types.GetCheck(m_nShownType) != 0;
    for (int i = 0; i < m_extensions.GetCount(); ++i) {
        CString strExtension;
        m_extensions.GetText(i, strExtension);
        if (bTypeChecked && m_extensions.GetCheck(i) != 0)
            m_chosen.insert(strExtension);
        else
            m_chosen.erase(strExtension);
    }
}

void CInstalacaoDocumentos::ShowType(int nType)
{
    m_nShownType = nType;
    GetDlgItem(IDC_SETUP_ADD_EXTENSION)->ShowWindow(IsOtherLine(nType) ? SW_SHOW : SW_HIDE);
    m_extensions.ResetContent();
    const CStringArray* pExtensions = ExtensionsOf(nType);
    for (int i = 0; pExtensions && i < pExtensions->GetSize(); ++i)
        m_extensions.AddString(Lower(pExtensions->GetAt(i)));
    const BOOL bChecked = m_types.GetCheck(nType) != 0;
    if (m_extensions.GetCount() == 0) {
        if (!bChecked || !IsOtherLine(nType) || !AddExtension())
            m_types.SetCheck(nType, 0);
    } else {
        BOOL bAnyChosen = FALSE;
        for (int i = 0; i < m_extensions.GetCount(); ++i) {
            CString strExtension;
            m_extensions.GetText(i, strExtension);
            bAnyChosen = bAnyChosen || m_chosen.contains(strExtension);
        }
        for (int i = 0; i < m_extensions.GetCount(); ++i) {
            CString strExtension;
            m_extensions.GetText(i, strExtension);
            m_extensions.SetCheck(i, bChecked && (!bAnyChosen || m_chosen.contains(strExtension)) ? 1 : 0);
        }
    }
    m_typeChecks[nType] = m_types.GetCheck(nType);
}

void CInstalacaoDocumentos::OnTypeSelect()
{
    const int nType = m_types.GetCurSel();
    if (nType < 0 || nType == m_nShownType)
        return;
    StoreShown();
    ShowType(nType);
}

void CInstalacaoDocumentos::OnTypeCheck()
{
    // The line whose state differs from the one last seen changed.
    int nType = -1;
    for (int i = 0; i < m_types.GetCount() && nType < 0; ++i) {
        if (m_types.GetCheck(i) != m_typeChecks[i])
            nType = i;
    }
    if (nType < 0)
        return;
    if (nType != m_nShownType) {
        StoreShown();
        m_types.SetCurSel(nType);
        m_nShownType = nType;
    }
    ShowType(nType);
    const int nCheck = m_types.GetCheck(nType);
    for (int i = 0; i < m_extensions.GetCount(); ++i)
        m_extensions.SetCheck(i, nCheck);
}

void CInstalacaoDocumentos::OnExtensionCheck()
{
    BOOL bAny = FALSE;
    for (int i = 0; i < m_extensions.GetCount(); ++i)
        bAny = bAny || m_extensions.GetCheck(i) != 0;
    m_types.SetCheck(m_nShownType, bAny ? 1 : 0);
    m_typeChecks[m_nShownType] = bAny ? 1 : 0;
}

BOOL CInstalacaoDocumentos::AddExtension()
{
    CDlgNewExtension dlg(this);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    const CString strExtension = Lower(dlg.GetExtension());
    if (m_extensions.FindStringExact(-1, strExtension) >= 0)
        return FALSE;
    if (const auto it = m_owners.find(strExtension); it != m_owners.end()) {
        CString strMessage;
        const CString strFormat = GetResString(IDS_EXTENSION_TAKEN);
        strMessage.Format(strFormat, static_cast<LPCTSTR>(strExtension), static_cast<LPCTSTR>(it->second));
        AfxMessageBox(strMessage);
        return FALSE;
    }
    m_otherExtensions.Add(strExtension);
    m_owners[strExtension] = GetResString(IDS_OTHER_DOCUMENT_TYPE);
    m_extensions.SetCheck(m_extensions.AddString(strExtension), 1);
    m_types.SetCheck(m_nShownType, 1);
    m_typeChecks[m_nShownType] = 1;
    return TRUE;
}

void CInstalacaoDocumentos::OnAddExtension()
{
    AddExtension();
}

/***************************** Moving on *****************************/

LRESULT CInstalacaoDocumentos::OnWizardBack()
{
    StoreShown();
    return CInstPropPage::OnWizardBack();
}

LRESULT CInstalacaoDocumentos::OnWizardNext()
{
    StoreShown();
    if (m_chosen.empty()) {
        AfxMessageBox(IDS_NO_EXTENSION_CHOSEN, MB_ICONEXCLAMATION);
        return -1;
    }
    return CInstPropPage::OnWizardNext();
}
