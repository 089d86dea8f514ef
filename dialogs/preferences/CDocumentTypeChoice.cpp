#include "dialogs/preferences/CDocumentTypeChoice.h"

#include "dialogs/documents/CDlgNewExtension.h"
#include "platform/controls/ButtonControl.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CDataExchange.h"
#include "resources/ResourceIds.h"

#include <algorithm>
#include <vector>

namespace {

std::string KeyOf(const CString& strExtension)
{
    return static_cast<LPCTSTR>(strExtension);
}

} // namespace

CDocumentTypeChoice::CDocumentTypeChoice(CMapStringToPtr& chosen)
    : m_chosen(chosen)
{
    m_strOther.LoadString(IDS_OTHER_DOCUMENT_TYPE);
}

void CDocumentTypeChoice::BindControls(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_DOC_TYPES, m_types);
    DDX_Control(pDX, IDC_DOC_EXTENSIONS, m_extensions);
}

/****************************** Filling ******************************/

void CDocumentTypeChoice::NoteExtensions(const CString& strType, CStringArray& extensions)
{
    for (int n = 0; n < extensions.GetSize(); ++n) {
        extensions[n].MakeLower();
        // The first type that claims an extension keeps it.
        m_typeOfExtension.emplace(KeyOf(extensions[n]), strType);
    }
}

void CDocumentTypeChoice::FillAllTypes()
{
    m_fileTypes.Build();
    CString strType;
    for (CStringArray* pExtensions = m_fileTypes.GetFirst(strType); pExtensions;
         pExtensions = m_fileTypes.GetNext(strType)) {
        // Binary search for the place that keeps the list sorted.
        int nLow = 0;
        int nHigh = m_types.GetCount();
        while (nLow < nHigh) {
            const int nMiddle = (nLow + nHigh) / 2;
            CString strListed;
            m_types.GetText(nMiddle, strListed);
            if (strListed.CompareNoCase(strType) <= 0)
                nLow = nMiddle + 1;
            else
                nHigh = nMiddle;
        }
        const int nIndex = m_types.InsertString(nLow, strType);
        m_types.SetItemData(nIndex, reinterpret_cast<DWORD_PTR>(pExtensions));
        NoteExtensions(strType, *pExtensions);
    }
    m_pOther = std::make_unique<CStringArray>();
    const int nOther = m_types.AddString(m_strOther);
    m_types.SetItemData(nOther, reinterpret_cast<DWORD_PTR>(m_pOther.get()));
}

void CDocumentTypeChoice::FillNewTypes(const CStringArray& offered)
{
    m_fileTypes.Build();
    CString strType;
    for (CStringArray* pExtensions = m_fileTypes.GetFirst(strType); pExtensions;
         pExtensions = m_fileTypes.GetNext(strType)) {
        bool bOffered = false;
        for (int n = 0; n < offered.GetSize() && !bOffered; ++n)
            bOffered = offered[n].CompareNoCase(strType) == 0;
        if (bOffered)
            continue;
        m_types.InsertString(0, strType);
        m_types.SetItemData(0, reinterpret_cast<DWORD_PTR>(pExtensions));
        NoteExtensions(strType, *pExtensions);
    }
}

void CDocumentTypeChoice::MarkChosenExtensions()
{
    std::unordered_map<std::string, int> indexOfType;
    for (int n = 0; n < m_types.GetCount(); ++n) {
        CString strType;
        m_types.GetText(n, strType);
        indexOfType.emplace(KeyOf(strType), n);
    }
    // The chosen map walks in hash order; unclaimed extensions join the
    // "other" type sorted, so that it lists them the same way every time.
    std::vector<CString> unclaimed;
    for (POSITION pos = m_chosen.GetStartPosition(); pos;) {
        CString strExtension;
        void* pUnused = nullptr;
        m_chosen.GetNextAssoc(pos, strExtension, pUnused);
        const auto type = m_typeOfExtension.find(KeyOf(strExtension));
        if (type != m_typeOfExtension.end())
            m_types.SetCheck(indexOfType[KeyOf(type->second)], BST_CHECKED);
        else if (m_pOther)
            unclaimed.push_back(strExtension);
    }
    if (unclaimed.empty())
        return;
    std::sort(unclaimed.begin(), unclaimed.end(), [](const CString& a, const CString& b) { return a < b; });
    for (const CString& strExtension : unclaimed)
        m_pOther->Add(strExtension);
    m_types.SetCheck(m_types.GetCount() - 1, BST_CHECKED);
}

void CDocumentTypeChoice::Init(CWnd* pHost)
{
    m_pHost = pHost;
    m_types.SetCheckStyle(BS_AUTOCHECKBOX);
    m_extensions.SetCheckStyle(BS_AUTOCHECKBOX);
    ShowAddButton(FALSE);
    m_types.SetFocus();
    m_types.SetCurSel(0);
    m_nShown = 0;
    ListExtensions(m_nShown);
    for (int n = 0; n < m_extensions.GetCount(); ++n) {
        CString strExtension;
        m_extensions.GetText(n, strExtension);
        void* pUnused = nullptr;
        m_extensions.SetCheck(n, m_chosen.Lookup(strExtension, pUnused) ? BST_CHECKED : BST_UNCHECKED);
    }
}

/****************************** The shown type ******************************/

CStringArray* CDocumentTypeChoice::ExtensionsOf(int nType) const
{
    if (nType < 0 || nType >= m_types.GetCount())
        return nullptr;
    return reinterpret_cast<CStringArray*>(m_types.GetItemData(nType));
}

BOOL CDocumentTypeChoice::IsOtherType(int nType) const
{
    return m_pOther && ExtensionsOf(nType) == m_pOther.get();
}

BOOL CDocumentTypeChoice::ListExtensions(int nType)
{
    m_extensions.ResetContent();
    BOOL bAnyChosen = FALSE;
    const CStringArray* pExtensions = ExtensionsOf(nType);
    if (!pExtensions)
        return FALSE;
    for (int n = 0; n < pExtensions->GetSize(); ++n) {
        CString strExtension = pExtensions->GetAt(n);
        strExtension.MakeLower();
        m_extensions.AddString(strExtension);
        void* pUnused = nullptr;
        if (m_chosen.Lookup(strExtension, pUnused))
            bAnyChosen = TRUE;
    }
    return bAnyChosen;
}

void CDocumentTypeChoice::CommitShownType()
{
    const BOOL bTypeChecked = m_types.GetCheck(m_nShown) == BST_CHECKED;
    for (int n = 0; n < m_extensions.GetCount(); ++n) {
        CString strExtension;
        m_extensions.GetText(n, strExtension);
        if (bTypeChecked && m_extensions.GetCheck(n) == BST_CHECKED)
            m_chosen.SetAt(strExtension, nullptr);
        else
            m_chosen.RemoveKey(strExtension);
    }
}

BOOL CDocumentTypeChoice::IsListedExtension(const CString& strExtension) const
{
    CString strKey = strExtension;
    strKey.MakeLower();
    return m_typeOfExtension.count(KeyOf(strKey)) != 0 ? TRUE : FALSE;
}

void CDocumentTypeChoice::ShowAddButton(BOOL bShow)
{
    if (CWnd* pAdd = m_pHost ? m_pHost->GetDlgItem(IDC_DOC_ADD_EXTENSION) : nullptr)
        pAdd->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

/****************************** Notifications ******************************/

void CDocumentTypeChoice::OnTypeSelChange()
{
    const int nType = m_types.GetCurSel();
    if (nType < 0 || nType == m_nShown)
        return;
    const BOOL bOther = IsOtherType(nType);
    ShowAddButton(bOther);
    CommitShownType();
    const BOOL bAnyChosen = ListExtensions(nType);
    m_nShown = nType;
    const int nTypeCheck = m_types.GetCheck(nType);
    if (m_extensions.GetCount() > 0) {
        const BOOL bChosenOnly = nTypeCheck == BST_CHECKED && bAnyChosen;
        for (int n = 0; n < m_extensions.GetCount(); ++n) {
            CString strExtension;
            m_extensions.GetText(n, strExtension);
            void* pUnused = nullptr;
            m_extensions.SetCheck(
                n, bChosenOnly ? (m_chosen.Lookup(strExtension, pUnused) ? BST_CHECKED : BST_UNCHECKED) : nTypeCheck);
        }
        return;
    }
    if (bOther && nTypeCheck == BST_CHECKED) {
        AddExtension();
        if (m_extensions.GetCount() > 0)
            return;
    }
    m_types.SetCheck(nType, BST_UNCHECKED);
}

void CDocumentTypeChoice::OnTypeCheckChange()
{
    if (m_types.GetCaretIndex() != m_nShown)
        return;
    const int nCheck = m_types.GetCheck(m_nShown);
    const int nListed = m_extensions.GetCount();
    if (IsOtherType(m_nShown) && nListed == 0) {
        if (nCheck == BST_CHECKED)
            AddExtension();
        m_types.SetCheck(m_nShown, m_extensions.GetCount() > 0 ? BST_CHECKED : BST_UNCHECKED);
    }
    for (int n = 0; n < nListed; ++n)
        m_extensions.SetCheck(n, nCheck);
}

void CDocumentTypeChoice::OnExtensionCheckChange()
{
    const int nTypeCheck = m_types.GetCheck(m_nShown);
    if (nTypeCheck == BST_INDETERMINATE)
        return;
    bool bAnyChecked = false;
    for (int n = 0; n < m_extensions.GetCount() && !bAnyChecked; ++n)
        bAnyChecked = m_extensions.GetCheck(n) == BST_CHECKED;
    m_types.SetCheck(m_nShown, bAnyChecked ? BST_CHECKED : BST_UNCHECKED);
}

void CDocumentTypeChoice::OnAddExtension()
{
    AddExtension();
}

BOOL CDocumentTypeChoice::AddExtension()
{
    if (!m_pOther)
        return FALSE;
    CDlgNewExtension dialog(m_pHost);
    if (dialog.DoModal() != IDOK)
        return FALSE;
    CString strExtension = dialog.GetExtension();
    strExtension.MakeLower();
    for (int n = 0; n < m_extensions.GetCount(); ++n) {
        CString strListed;
        m_extensions.GetText(n, strListed);
        if (strListed.CompareNoCase(strExtension) == 0)
            return FALSE;
    }
    const auto type = m_typeOfExtension.find(KeyOf(strExtension));
    if (type != m_typeOfExtension.end()) {
        CString strMessage;
        strMessage.Format(IDS_EXTENSION_TAKEN, static_cast<LPCTSTR>(strExtension), static_cast<LPCTSTR>(type->second));
        AfxMessageBox(strMessage, MB_OK);
        return FALSE;
    }
    const int nIndex = m_extensions.AddString(strExtension);
    m_pOther->Add(strExtension);
    m_extensions.SetCheck(nIndex, BST_CHECKED);
    m_types.SetCheck(m_nShown, BST_CHECKED);
    return TRUE;
}
