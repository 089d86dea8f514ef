#include "webaccess/profiles/CWAProfiles.h"

#include "platform/base/CArchive.h"
#include "platform/base/CArchiveException.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "webaccess/profiles/WebCommandIds.h"

#include <memory>
#include <optional>
#include <vector>

namespace {

CString OneLine(LPCTSTR pszText)
{
    CString strText(pszText);
    strText.Replace('\r', ' ');
    strText.Replace('\n', ' ');
    return strText;
}

void WriteLine(CArchive& ar, const CString& strText)
{
    ar.WriteString(strText);
    ar.WriteString("\n");
}

CString ReadLine(CArchive& ar)
{
    CString strText;
    if (!ar.ReadString(strText))
        AfxThrowArchiveException(CArchiveException::endOfFile);
    return strText;
}

// The reference in newCatalog of the node that key names in oldCatalog.
std::optional<WA_GROUP_KEY> FindMovedGroup(CCatalog& oldCatalog, CCatalog& newCatalog, const WA_GROUP_KEY& key)
{
    const auto nBlock = static_cast<CATBLOCK>(key.nBlock);
    const auto nSlot = static_cast<LONG>(key.nSlot);
    if (key == WA_ALL_GROUPS || !oldCatalog.CheckRecord(nBlock, nSlot, TABLE_NODE))
        return std::nullopt;
    const CNodeRec oldNode(&oldCatalog, nBlock, nSlot);
    if (!oldNode.IsValid())
        return std::nullopt;
    if (nBlock == CNodeRec::SYSTEMS_NODE_BLOCK)
        return WA_GROUP_KEY { static_cast<DWORD>(CNodeRec::SYSTEMS_NODE_BLOCK), 0 };
    std::unique_ptr<CNodeRec> pCurrent(CNodeRec::NewRootNodeRec(&newCatalog));
    const CNodeRecArray ancestors = oldNode.GetAncestors();
    for (size_t i = 1; i < ancestors.size() && pCurrent != nullptr; ++i)
        pCurrent.reset(pCurrent->FindChildByName(ancestors[i]->GetName()));
    if (pCurrent != nullptr)
        pCurrent.reset(pCurrent->FindChildByName(oldNode.GetName()));
    if (pCurrent == nullptr)
        return std::nullopt;
    return WA_GROUP_KEY { static_cast<DWORD>(pCurrent->GetBlock()), static_cast<DWORD>(pCurrent->GetSlot()) };
}

} // namespace

IMPLEMENT_DYNCREATE(CWAProfiles, CObject)

BOOL CWAGroupRightsMap::IsAllGroups() const
{
    WORD nValue = 0;
    return GetCount() == 1 && Lookup(WA_ALL_GROUPS, nValue) ? TRUE : FALSE;
}

void CWAGroupRightsMap::CopyFrom(const CWAGroupRightsMap& other)
{
    if (&other == this)
        return;
    RemoveAll();
    POSITION pos = other.GetStartPosition();
    while (pos != nullptr) {
        WA_GROUP_KEY key {};
        WORD nValue = 0;
        other.GetNextAssoc(pos, key, nValue);
        SetAt(key, nValue);
    }
}

BOOL CWAProfiles::IsCommandAllowed(int nCommandId) const
{
    switch (nCommandId) {
    case WA_CMD_NONE:
        return FALSE;
    case WA_CMD_DOWN2:
        return m_nMayDownload != 0 ? TRUE : FALSE;
    case WA_CMD_EDIR:
    case WA_CMD_ETREE:
        return m_groupRights.IsAllGroups();
    case WA_CMD_UPL:
        return m_nMayUpload != 0 ? TRUE : FALSE;
    default:
        // Negative ids name no command.
        return nCommandId > 0 ? TRUE : FALSE;
    }
}

BOOL CWAProfiles::IsDefault() const
{
    CString strDefault;
    strDefault.LoadString(IDS_WA_DEFAULT_PROFILE);
    return m_strName == strDefault;
}

void CWAProfiles::InitDefault(LPCTSTR pszPassword, LPCTSTR pszUploadFolder)
{
    m_strName.LoadString(IDS_WA_DEFAULT_PROFILE);
    m_strPassword = pszPassword;
    m_strUploadFolder = pszUploadFolder;
    m_nMayDownload = m_nMayUpload = m_nEnabled = 1;
    m_groupRights.RemoveAll();
    m_groupRights.SetAt(WA_ALL_GROUPS, WA_GROUP_WHOLE);
}

void CWAProfiles::Copy(const CWAProfiles& other)
{
    SetIdentity(other.m_strName, other.m_strPassword, other.m_strUploadFolder);
    m_nMayDownload = other.m_nMayDownload;
    m_nMayUpload = other.m_nMayUpload;
    m_nEnabled = other.m_nEnabled;
    m_groupRights.CopyFrom(other.m_groupRights);
}

void CWAProfiles::SetGroupRights(const CWAGroupRightsMap& groupRights)
{
    m_groupRights.CopyFrom(groupRights);
}

void CWAProfiles::SetIdentity(LPCTSTR pszName, LPCTSTR pszPassword, LPCTSTR pszUploadFolder)
{
    m_strName = OneLine(pszName);
    m_strPassword = OneLine(pszPassword);
    m_strUploadFolder = OneLine(pszUploadFolder);
}

void CWAProfiles::SetPermissions(BOOL bMayDownload, BOOL bMayUpload, DWORD nEnabled)
{
    m_nMayDownload = bMayDownload ? 1 : 0;
    m_nMayUpload = bMayUpload ? 1 : 0;
    m_nEnabled = nEnabled;
}

void CWAProfiles::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        WriteLine(ar, m_strName);
        WriteLine(ar, m_strPassword);
        WriteLine(ar, m_strUploadFolder);
        ar << m_nMayDownload << m_nMayUpload << m_nEnabled;
        ar.WriteCount(m_groupRights.GetCount());
        POSITION pos = m_groupRights.GetStartPosition();
        while (pos != nullptr) {
            WA_GROUP_KEY key {};
            WORD nValue = 0;
            m_groupRights.GetNextAssoc(pos, key, nValue);
            ar << key.nBlock << key.nSlot << nValue;
        }
        return;
    }
    m_strName = ReadLine(ar);
    m_strPassword = ReadLine(ar);
    m_strUploadFolder = ReadLine(ar);
    ar >> m_nMayDownload >> m_nMayUpload >> m_nEnabled;
    DWORD_PTR nCount = ar.ReadCount();
    m_groupRights.RemoveAll();
    // Each entry is read before the next is asked for, so a count larger than
    // the data ends in the archive's end-of-file error, not in a long loop.
    for (DWORD_PTR i = 0; i < nCount; ++i) {
        WA_GROUP_KEY key {};
        WORD nValue = 0;
        ar >> key.nBlock >> key.nSlot >> nValue;
        m_groupRights.SetAt(key, nValue);
    }
}

BOOL CWAProfiles::RemoveMissingGroups(CCatalog& catalog)
{
    if (m_groupRights.IsAllGroups())
        return FALSE;
    const BOOL bAcquired = catalog.Acquire();
    std::vector<WA_GROUP_KEY> missing;
    POSITION pos = m_groupRights.GetStartPosition();
    while (pos != nullptr) {
        WA_GROUP_KEY key {};
        WORD nValue = 0;
        m_groupRights.GetNextAssoc(pos, key, nValue);
        // Without the catalog no group can be confirmed; the entries are kept
        // rather than dropped for a catalog that is only unreadable right now.
        if (key == WA_ALL_GROUPS
            || (bAcquired
                && !catalog.CheckRecord(static_cast<CATBLOCK>(key.nBlock), static_cast<LONG>(key.nSlot), TABLE_NODE)))
            missing.push_back(key);
    }
    if (bAcquired)
        static_cast<void>(catalog.Release()); // A read-only walk leaves nothing to flush.
    for (const WA_GROUP_KEY& key : missing)
        m_groupRights.RemoveKey(key);
    return missing.empty() ? FALSE : TRUE;
}

BOOL CWAProfiles::ForgetGroup(const WA_GROUP_KEY& key)
{
    return key != WA_ALL_GROUPS && m_groupRights.RemoveKey(key) ? TRUE : FALSE;
}

void CWAProfiles::RebuildGroupRights(CCatalog& oldCatalog, CCatalog& newCatalog)
{
    if (m_groupRights.IsAllGroups())
        return;
    CWAGroupRightsMap moved;
    POSITION pos = m_groupRights.GetStartPosition();
    while (pos != nullptr) {
        WA_GROUP_KEY key {};
        WORD nValue = 0;
        m_groupRights.GetNextAssoc(pos, key, nValue);
        if (const auto newKey = FindMovedGroup(oldCatalog, newCatalog, key))
            moved.SetAt(*newKey, nValue);
    }
    SetGroupRights(moved);
}
