#include "dialogs/preferences/CDlgCatalogDocTypes.h"

#include "frame/CatalogHold.h"
#include "platform/framework/AfxMessageBox.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CPreferences.h"
#include "ui/CUiHostServices.h"

#include <set>
#include <string>
#include <vector>

namespace {

BOOL ContainsNoCase(const CStringArray& names, const CString& strName)
{
    for (int n = 0; n < names.GetSize(); ++n) {
        if (names[n].CompareNoCase(strName) == 0)
            return TRUE;
    }
    return FALSE;
}

// Every type name of the map, in its order.
void GetTypeNames(CFileTypeMap& fileTypes, CStringArray& names)
{
    names.RemoveAll();
    CString strType;
    for (CStringArray* pExtensions = fileTypes.GetFirst(strType); pExtensions; pExtensions = fileTypes.GetNext(strType))
        names.Add(strType);
}

} // namespace

CDlgCatalogDocTypes::CDlgCatalogDocTypes(CCatalog* pCatalog, CWnd* pParent)
    : CDlgDocumentTypes(IDD_CATALOG_DOC_TYPES, pParent)
    , m_pCatalog(pCatalog)
{
}

BOOL CDlgCatalogDocTypes::HasNewDocumentTypes()
{
    CFileTypeMap fileTypes;
    fileTypes.Build();
    CStringArray types;
    GetTypeNames(fileTypes, types);
    CStringArray offered;
    for (int n = 0; n < thePreferences.m_documents.GetSize(); ++n) {
        if (ContainsNoCase(types, thePreferences.m_documents[n]))
            offered.Add(thePreferences.m_documents[n]);
    }
    if (offered.GetSize() != thePreferences.m_documents.GetSize()) {
        thePreferences.m_documents.Copy(offered);
        (void)thePreferences.SaveDocuments(); // a failed save only offers the same names again
    }
    for (int n = 0; n < types.GetSize(); ++n) {
        if (!ContainsNoCase(offered, types[n]))
            return TRUE;
    }
    return FALSE;
}

void CDlgCatalogDocTypes::FillTypes()
{
    m_choice.FillNewTypes(thePreferences.m_documents);
}

void CDlgCatalogDocTypes::MarkExtensions()
{
    CCatalogHold hold(m_pCatalog);
    if (hold.IsHeld()) {
        for (CString strExtension = m_pCatalog->FirstExtension(); !strExtension.IsEmpty();
             strExtension = m_pCatalog->NextExtension()) {
            strExtension.MakeLower();
            m_chosen.SetAt("." + strExtension, nullptr);
        }
    }
    m_choice.MarkChosenExtensions();
}

BOOL CDlgCatalogDocTypes::SaveChoice()
{
    CCatalogHold hold(m_pCatalog);
    if (!hold.IsHeld())
        return FALSE;
    // The catalogued extensions of types not offered here stay catalogued.
    // They are among the chosen ones too: each is written once.
    std::vector<CString> extensions;
    std::set<std::string> taken;
    const auto take = [&](const CString& strExtension) {
        if (taken.insert(std::string(strExtension)).second)
            extensions.push_back(strExtension);
    };
    for (CString strExtension = m_pCatalog->FirstExtension(); !strExtension.IsEmpty();
         strExtension = m_pCatalog->NextExtension()) {
        strExtension.MakeLower();
        if (!m_choice.IsListedExtension("." + strExtension))
            take(strExtension);
    }
    for (POSITION pos = m_chosen.GetStartPosition(); pos;) {
        CString strExtension;
        void* pUnused = nullptr;
        m_chosen.GetNextAssoc(pos, strExtension, pUnused);
        take(strExtension.Mid(1));
    }
    if (!m_pCatalog->ClearExtensions())
        return FALSE;
    for (const CString& strExtension : extensions) {
        if (!m_pCatalog->LoadExtensions(strExtension))
            return FALSE;
    }
    thePreferences.BuildDocumentTypeMap(m_pCatalog);
    GetTypeNames(m_choice.FileTypes(), thePreferences.m_documents);
    return thePreferences.SaveDocuments();
}

void CDlgCatalogDocTypes::OnOK()
{
    CommitShownType();
    if (!SaveChoice()) {
        AfxMessageBox(IDS_SETTINGS_NOT_SAVED, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (CUiHostServices* pHost = GetUiHostServices())
        pHost->BuildDynamicMenu();
    EndDialog(IDOK);
}
