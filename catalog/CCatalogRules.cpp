#include "catalog/CCatalogRules.h"

#include "store/CCatalog.h"
#include "store/CNetDriveMap.h"
#include "store/CTextEntryRec.h"
#include "store/PathHelpers.h"
#include "store/TextMatch.h"

#include "platform/base/TextFunctions.h"

#include <algorithm>

namespace {

std::string FolderKey(std::string_view strFolder)
{
    std::string strKey(strFolder);
    while (!strKey.empty() && strKey.back() == '\\')
        strKey.pop_back();
    return strKey;
}

// Whether strPath is strFolder or lies below it.
bool IsAtOrBelow(std::string_view strPath, std::string_view strFolder)
{
    if (strFolder.empty() || !strPath.starts_with(strFolder))
        return false;
    return strPath.size() == strFolder.size() || strPath[strFolder.size()] == '\\';
}

// The text lower-cased: viewed in place when it is all ASCII without a
// capital letter (lower-casing would copy it unchanged), else held in strHeld.
std::string_view LowerCased(std::string_view strText, std::string& strHeld)
{
    const bool bLower = std::ranges::none_of(
        strText, [](char ch) { return (ch >= 'A' && ch <= 'Z') || static_cast<unsigned char>(ch) >= 0x80; });
    if (bLower)
        return strText;
    strHeld = Utf8ToLower(strText);
    return strHeld;
}

} // namespace

CCatalogRules::CCatalogRules(CCatalog* pCatalog, const CStringArray& dsDir)
{
    for (int i = 0; i < dsDir.GetSize(); ++i) {
        if (!dsDir[i].IsEmpty())
            m_excludedFolders.push_back(FolderKey(static_cast<LPCTSTR>(NormalizeDrivePath(dsDir[i]))));
    }
    for (const CString& strFolder : ReadEntryTexts(pCatalog, TABLE_CLEANUP_FOLDER))
        m_cleanUpFolders.push_back(FolderKey(static_cast<LPCTSTR>(NormalizeDrivePath(strFolder))));
    for (const CString& strMask : ReadEntryTexts(pCatalog, TABLE_LIB_FOLDER))
        m_masks.push_back(SplitLowerFileName(strMask));
    for (CString strExtension = pCatalog->FirstExtension(); !strExtension.IsEmpty();
         strExtension = pCatalog->NextExtension())
        m_extensions.insert(Utf8ToLower(static_cast<LPCTSTR>(strExtension)));
}

ERejection CCatalogRules::CheckFile(std::string_view strPath) const
{
    const std::size_t nSlash = strPath.rfind('\\');
    const std::string_view strFolder
        = nSlash == std::string_view::npos ? std::string_view() : strPath.substr(0, nSlash);
    if (!IsValidUtf8(strPath))
        return ERejection::BadName;
    if (const ERejection eFolder = CheckFolder(strFolder); eFolder != ERejection::None)
        return eFolder;
    return CheckName(strPath.substr(nSlash == std::string_view::npos ? 0 : nSlash + 1));
}

ERejection CCatalogRules::CheckFolder(std::string_view strFolder) const
{
    if (!IsValidUtf8(strFolder))
        return ERejection::BadName;
    const std::string strKey = FolderKey(strFolder);
    if (MatchServerComponent((strKey + "\\").c_str()))
        return ERejection::RecycleFolder;
    for (auto it = m_excludedFolders.rbegin(); it != m_excludedFolders.rend(); ++it) {
        if (IsAtOrBelow(strKey, *it))
            return ERejection::ExcludedFolder;
    }
    for (const std::string& strCleanUp : m_cleanUpFolders) {
        if (IsAtOrBelow(strKey, strCleanUp))
            return ERejection::CleanUpFolder;
    }
    return ERejection::None;
}

ERejection CCatalogRules::CheckName(std::string_view strName) const
{
    if (MatchesNameMask(strName))
        return ERejection::NameMask;
    return IsCataloguedExtension(strName) ? ERejection::None : ERejection::NotCatalogued;
}

BOOL CCatalogRules::MatchesNameMask(std::string_view strName) const
{
    if (m_masks.empty())
        return FALSE;
    // Split as SplitLowerFileName splits, without copying a name that is
    // lower-cased already: this runs for every file a walk meets.
    const std::size_t nDot = strName.rfind('.');
    std::string strBaseHeld;
    std::string strExtensionHeld;
    const std::string_view strBase = LowerCased(strName.substr(0, nDot), strBaseHeld);
    const std::string_view strExtension
        = nDot == std::string_view::npos ? std::string_view() : LowerCased(strName.substr(nDot + 1), strExtensionHeld);
    for (auto it = m_masks.rbegin(); it != m_masks.rend(); ++it) {
        if (MatchSplitFileMask(strBase, strExtension, *it))
            return TRUE;
    }
    return FALSE;
}

BOOL CCatalogRules::IsCataloguedExtension(std::string_view strName) const
{
    const std::size_t nDot = strName.rfind('.');
    if (nDot == std::string_view::npos)
        return FALSE;
    std::string strHeld;
    return m_extensions.contains(LowerCased(strName.substr(nDot + 1), strHeld)) ? TRUE : FALSE;
}

const char* CCatalogRules::Describe(ERejection eRejection)
{
    switch (eRejection) {
    case ERejection::None:
        return "accepted";
    case ERejection::BadName:
        return "name not UTF-8";
    case ERejection::RecycleFolder:
        return "recycle folder";
    case ERejection::ExcludedFolder:
        return "excluded folder";
    case ERejection::CleanUpFolder:
        return "clean-up folder";
    case ERejection::NameMask:
        return "name mask";
    case ERejection::NotCatalogued:
        return "extension not catalogued";
    }
    return "";
}
