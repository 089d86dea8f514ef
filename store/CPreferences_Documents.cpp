// The preferences object's document settings: the documents sheet, the
// new-document monitor's folders, the catalog's scope and the document-type map.

#include "store/CPreferences.h"

#include "store/CCatalog.h"
#include "store/CMailStoreRec.h"
#include "store/CNetDriveMap.h"
#include "store/FileTypeName.h"
#include "store/PathHelpers.h"
#include "store/PreferenceSheets.h"

#include "platform/base/Registry.h"
#include "platform/base/Volumes.h"

#include <algorithm>
#include <vector>

namespace {

// The name of the location that stands for every fixed drive.
constexpr char LOCAL_DISK_LOCATION[] = "Local Disk";

// The extension in the map's form: lower-cased, without its leading '.'.
std::string ExtensionKey(LPCTSTR pszExtension)
{
    CString strKey(pszExtension ? pszExtension : "");
    strKey.MakeLower();
    if (!strKey.IsEmpty() && strKey[0] == '.')
        strKey = strKey.Mid(1);
    return std::string(strKey);
}

// TRUE when strFolder is strBase or lies below it; both lower-cased.
bool IsFolderAtOrBelow(const CString& strFolder, const CString& strBase)
{
    const CString strBaseFolder = AddBackslash(strBase);
    const CString strPath = AddBackslash(strFolder);
    return strPath.GetLength() >= strBaseFolder.GetLength() && strPath.Left(strBaseFolder.GetLength()) == strBaseFolder;
}

// A location's stored size or position, kept across a rebuild of the list.
struct CKeptLocation {
    CString strKey;
    int nKind;
    LONG nValue;
};

} // namespace

/***************************************************************************
 * The documents sheet
 ***************************************************************************/

void CPreferences::LoadDocumentsSheet(CDocumentsSheetData& sheet, CCatalog* pCatalog) const
{
    sheet.documentTypes.chosenExtensions.RemoveAll();
    for (CString strExtension = pCatalog->FirstExtension(); !strExtension.IsEmpty();
         strExtension = pCatalog->NextExtension()) {
        strExtension.MakeLower();
        sheet.documentTypes.chosenExtensions.SetAt("." + strExtension, nullptr);
    }
    sheet.folders.watchedFolders.Copy(m_dsDir);
    sheet.folders.nMode = static_cast<int>(pCatalog->GetPlaceChoice());
    sheet.folders.catalogFolders.RemoveAll();
    sheet.mails.stores.clear();
    int nIterator = pCatalog->GetLocationCount();
    for (CString strKey; pCatalog->NextLocation(&nIterator, strKey);) {
        const int nKind = pCatalog->GetLocationKind(strKey);
        if (nKind == LOCATION_NETWORK)
            sheet.folders.catalogFolders.Add(AddBackslash(strKey));
        else if (nKind >= LOCATION_NETSCAPE && nKind <= LOCATION_OUTLOOK_EXPRESS5)
            sheet.mails.stores.push_back({ strKey, static_cast<WORD>(nKind) });
    }
}

BOOL CPreferences::SaveDocumentsSheet(const CDocumentsSheetData& sheet, CCatalog* pCatalog)
{
    if (!pCatalog->ClearExtensions())
        return FALSE;
    const CMapStringToPtr& chosen = sheet.documentTypes.chosenExtensions;
    for (POSITION pos = chosen.GetStartPosition(); pos;) {
        CString strExtension;
        void* pUnused = nullptr;
        chosen.GetNextAssoc(pos, strExtension, pUnused);
        if (!pCatalog->LoadExtensions(strExtension))
            return FALSE;
    }
    BuildDocumentTypeMap(pCatalog);

    m_dsDir.Copy(sheet.folders.watchedFolders);

    // Mail stores keep the position up to which they were read, and catalogued
    // places their stored size: a place that stays keeps them.
    std::vector<CKeptLocation> kept;
    int nIterator = pCatalog->GetLocationCount();
    for (CString strKey; pCatalog->NextLocation(&nIterator, strKey);)
        kept.push_back({ strKey, pCatalog->GetLocationKind(strKey), pCatalog->GetLocationValue(strKey) });
    if (!pCatalog->ClearLocations())
        return FALSE;
    auto addLocation = [pCatalog](WORD wKind, LPCTSTR pszName) {
        return std::unique_ptr<CMailStoreRec>(pCatalog->AddMailStore(wKind, pszName)) != nullptr;
    };
    const int nMode = sheet.folders.nMode;
    if ((nMode & CCatalog::PLACE_LOCAL_DISK) && !addLocation(LOCATION_LOCAL_DISK, LOCAL_DISK_LOCATION))
        return FALSE;
    if (nMode & CCatalog::PLACE_NETWORK) {
        const CStringArray& folders = sheet.folders.catalogFolders;
        for (int n = 0; n < folders.GetSize(); ++n) {
            if (!addLocation(LOCATION_NETWORK, folders[n]))
                return FALSE;
        }
    }
    for (const CMailStoreChoice& store : sheet.mails.stores) {
        if (!addLocation(store.wKind, store.strPath))
            return FALSE;
    }
    for (const CKeptLocation& location : kept) {
        if (location.nValue != 0 && pCatalog->GetLocationKind(location.strKey) == location.nKind
            && !pCatalog->SetLocationValue(location.strKey, location.nValue))
            return FALSE;
    }
    if (!pCatalog->SetPlaceChoice(nMode))
        return FALSE;

    return SaveDSDir() && SaveDocuments() ? TRUE : FALSE;
}

/***************************************************************************
 * The new-document monitor's folders
 ***************************************************************************/

BOOL CPreferences::AddDSDirs(const CMapStringToPtr& folders)
{
    // The map's order is its hashing's; the folders are added in name order.
    std::vector<CString> added;
    for (POSITION pos = folders.GetStartPosition(); pos;) {
        CString strFolder;
        void* pUnused = nullptr;
        folders.GetNextAssoc(pos, strFolder, pUnused);
        added.push_back(NormalizeDrivePath(strFolder));
    }
    std::sort(added.begin(), added.end(), [](const CString& a, const CString& b) { return a.Compare(b) < 0; });
    for (const CString& strFolder : added) {
        bool bListed = false;
        for (int n = 0; n < m_dsDir.GetSize() && !bListed; ++n)
            bListed = m_dsDir[n].CompareNoCase(strFolder) == 0;
        if (!bListed && !strFolder.IsEmpty())
            m_dsDir.Add(strFolder);
    }
    return SaveDSDir();
}

BOOL CPreferences::IsPathInCatalogScope(CCatalog* pCatalog, LPCTSTR pszFolder) const
{
    const CString strRoot = GetPathRoot(pszFolder);
    if (strRoot.IsEmpty())
        return FALSE;
    if ((pCatalog->GetPlaceChoice() & CCatalog::PLACE_LOCAL_DISK) && GetDriveType(strRoot) == DRIVE_FIXED)
        return TRUE;
    const CString strFolder = NormalizeDrivePath(pszFolder);
    int nIterator = pCatalog->GetLocationCount();
    for (CString strKey; pCatalog->NextLocation(&nIterator, strKey);) {
        if (pCatalog->GetLocationKind(strKey) == LOCATION_NETWORK && IsFolderAtOrBelow(strFolder, strKey))
            return TRUE;
    }
    return FALSE;
}

/***************************************************************************
 * The document-type map
 ***************************************************************************/

void CPreferences::BuildDocumentTypeMap(CCatalog* pCatalog)
{
    m_documentTypes.clear();
    for (CString strExtension = pCatalog->FirstExtension(); !strExtension.IsEmpty();
         strExtension = pCatalog->NextExtension()) {
        if (const CString strType = FileTypeNameOfExtension(strExtension); !strType.IsEmpty())
            m_documentTypes[ExtensionKey(strExtension)] = strType;
    }
}

BOOL CPreferences::LookupDocumentType(LPCTSTR pszExtension, CString& strType) const
{
    auto it = m_documentTypes.find(ExtensionKey(pszExtension));
    if (it == m_documentTypes.end())
        return FALSE;
    strType = it->second;
    return TRUE;
}
