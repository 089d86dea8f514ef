#include "store/CPreferences.h"

#include "store/CRegistryKey.h"
#include "store/VersionText.h"

#include <algorithm>
#include <utility>
#include <vector>

CPreferences thePreferences;

namespace {

constexpr char DS_PATH_VALUE[] = "DSSysDefaultPath"; // Followed by a three-digit level index
constexpr char DS_PATH_COUNT_VALUE[] = "DSSysDefaultNumPath";
constexpr int MAX_DS_PATH_LEVELS = 999; // The index has three digits
// The web access block staged for a rebuilt catalog, below the preferences key,
// and the value naming that catalog's stamp.
constexpr char WEB_STAGE_SUBKEY[] = "WARebuild";
constexpr char WEB_STAGE_STAMP_VALUE[] = "Catalog";

// Reads a REG_DWORD into nValue when it lies in [nMin, nMax]; otherwise nValue
// keeps what it holds (its default).
void ReadInt(CRegistryKey& key, LPCTSTR pszName, int nMin, int nMax, int& nValue)
{
    DWORD dwValue = 0;
    if (!key.GetDWORD(pszName, dwValue))
        return;
    const auto nRead = static_cast<int>(dwValue);
    if (nRead >= nMin && nRead <= nMax)
        nValue = nRead;
}

// A switch is any REG_DWORD: zero is off, anything else on.
void ReadBool(CRegistryKey& key, LPCTSTR pszName, BOOL& bValue)
{
    DWORD dwValue = 0;
    if (key.GetDWORD(pszName, dwValue))
        bValue = dwValue ? TRUE : FALSE;
}

// Reads a 4-byte REG_BINARY value; another type or size keeps dwValue.
void ReadBinaryDWORD(CRegistryKey& key, LPCTSTR pszName, DWORD& dwValue)
{
    DWORD dwType = REG_NONE;
    DWORD dwRead = 0;
    DWORD cbData = sizeof(dwRead);
    if (RegQueryValueEx(key, pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(&dwRead), &cbData) == ERROR_SUCCESS
        && dwType == REG_BINARY && cbData == sizeof(dwRead))
        dwValue = dwRead;
}

BOOL WriteBinaryDWORD(CRegistryKey& key, LPCTSTR pszName, DWORD dwValue)
{
    return RegSetValueEx(key, pszName, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&dwValue), sizeof(dwValue))
            == ERROR_SUCCESS
        ? TRUE
        : FALSE;
}

// Reads a REG_SZ of up to MAX_PATH bytes with its NUL (a folder path, longer
// than CRegistryKey::GetString takes); another type or a longer value keeps
// strValue.
void ReadPath(CRegistryKey& key, LPCTSTR pszName, CString& strValue)
{
    std::vector<char> buffer(MAX_PATH + 1, '\0');
    DWORD dwType = REG_NONE;
    DWORD cbData = MAX_PATH;
    if (RegQueryValueEx(key, pszName, nullptr, &dwType, reinterpret_cast<BYTE*>(buffer.data()), &cbData)
            == ERROR_SUCCESS
        && dwType == REG_SZ)
        strValue = buffer.data();
}

// The node that names leads to: the first name is a top-level system, each
// further one a child of the one before. Null when a name is not found.
CNodeRec* FindNodeByPath(CCatalog* pCatalog, const CStringArray& names)
{
    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(pCatalog));
    if (!pRoot || names.GetSize() == 0)
        return nullptr;
    std::unique_ptr<CNodeRec> pNode(pRoot->FindChildByName(names[0]));
    for (int nLevel = 1; pNode && nLevel < names.GetSize(); ++nLevel)
        pNode.reset(pNode->FindChildByName(names[nLevel]));
    return pNode.release();
}

// The path of names stored for a default system. The fixed nodes have no
// names to tell them apart by, so one is stored as the empty path, which
// stands for the systems root.
void GetDefaultSystemPath(const CNodeRec& node, CStringArray& names)
{
    if (node.IsFixedNode())
        names.RemoveAll();
    else
        node.GetPathNames(names);
}

} // namespace

CPreferences::CPreferences()
{
    SetDefaults();
}

CPreferences::~CPreferences() = default;

void CPreferences::SetDefaults()
{
    m_nNumDayFileNew = 7;
    m_nLastCatalogOption = NEW_SINCE_UPDATE;
    m_nNumDayRecentlyCatalog = 1;
    m_crRecentlyCatalog = 0x0000FF; // Red
    m_strDefaultDirCopyRem.Empty();
    m_bMinimize = FALSE;
    m_bDescrTip = TRUE;
    m_nUpdateOption = 1; // a new user's update covers the catalog's places
    m_fastUpdateDir.RemoveAll();
    m_bCleanUpTempFolders = FALSE;
    m_bCleanUpTempFiles = FALSE;
    m_bCleanUpExpired = FALSE;
    m_bCleanUpRecycle = FALSE;
    m_nVersionControlPos = 1;
    m_strVersionControlText = "_v#";
    m_nMostRecents = 10;
    m_dwMostRecentsOption = RECENT_ADD_CATALOGUED;
    m_nNumBackups = 3;
    m_nNumDayBackup = 7;
    m_bOrphanWarning = TRUE;
    m_bWebAccessEnabled = FALSE;
    m_nMailClient = 0;

    m_nDSAutoCataloguing = 0;
    m_bDSList = TRUE;
    m_bDSPlaySound = TRUE;
    m_bDSAutoIniciar = FALSE;
    m_defaultSystemPath.RemoveAll();
    m_pDefaultSystem.reset();
    m_dsDir.RemoveAll();
    m_documents.RemoveAll();

    if (m_pWebSettings)
        m_pWebSettings->SetDefaults();
}

/***************************************************************************
 * The registry form
 ***************************************************************************/

void CPreferences::Load()
{
    SetDefaults();
    CRegistryKey key;
    if (!key.Open(HKEY_CURRENT_USER, KEY_PATH, KEY_READ))
        return;

    ReadInt(key, "NumDayFileNew", 0, 99, m_nNumDayFileNew);
    ReadInt(key, "LastCatalogOption", 0, NEW_SINCE_UPDATE | NEW_WITHIN_DAYS, m_nLastCatalogOption);
    ReadInt(key, "NumDayRecentlyCatalog", 0, 99, m_nNumDayRecentlyCatalog);
    ReadBinaryDWORD(key, "RecentlyCatalogColor", m_crRecentlyCatalog);
    ReadPath(key, "DefaultDirCopyRem", m_strDefaultDirCopyRem);
    ReadBool(key, "Minimize", m_bMinimize);
    ReadBool(key, "DescrTip", m_bDescrTip);
    ReadInt(key, "UpdateOption", 0, 3, m_nUpdateOption);
    // A damaged list loads empty, which is its default.
    static_cast<void>(key.GetStringArray("FastUpdateDir", m_fastUpdateDir));
    ReadBool(key, "CleanUpTempFolders", m_bCleanUpTempFolders);
    ReadBool(key, "CleanUpTempFiles", m_bCleanUpTempFiles);
    ReadBool(key, "CleanUpExpired", m_bCleanUpExpired);
    ReadBool(key, "CleanUpRecycle", m_bCleanUpRecycle);
    ReadInt(key, "VersionControlPos", 0, 1, m_nVersionControlPos);
    CString strVersionText;
    if (key.GetString("VersionControlText", strVersionText) && IsValidVersionText(strVersionText))
        m_strVersionControlText = strVersionText;
    ReadInt(key, "MostRecents", 1, 50, m_nMostRecents);
    ReadBinaryDWORD(key, "MostRecentsOption", m_dwMostRecentsOption);
    ReadInt(key, "NumBackups", 1, 9, m_nNumBackups);
    ReadInt(key, "NumDayBackup", 0, 99, m_nNumDayBackup);
    ReadBool(key, "OrphanWarning", m_bOrphanWarning);
    ReadBool(key, "WAEnabled", m_bWebAccessEnabled);
    ReadInt(key, "MailClient", 0, 3, m_nMailClient);

    DWORD dwAutoCataloguing = 0;
    if (key.GetDWORD("DSAutoCataloguing", dwAutoCataloguing))
        m_nDSAutoCataloguing = static_cast<int>(dwAutoCataloguing);
    ReadBool(key, "DSList", m_bDSList);
    ReadBool(key, "DSPlaySound", m_bDSPlaySound);
    ReadBool(key, "DSAutoIniciar", m_bDSAutoIniciar);
    // A path with a missing level is dropped whole: the systems root stands in.
    int nLevels = 0;
    ReadInt(key, DS_PATH_COUNT_VALUE, 0, MAX_DS_PATH_LEVELS, nLevels);
    for (int nLevel = 0; nLevel < nLevels; ++nLevel) {
        CString strName;
        if (!key.GetString(CRegistryKey::IndexedName(DS_PATH_VALUE, nLevel), strName)) {
            m_defaultSystemPath.RemoveAll();
            break;
        }
        m_defaultSystemPath.Add(strName);
    }
    static_cast<void>(key.GetStringArray("DSDir", m_dsDir));
    static_cast<void>(key.GetStringArray("Documents", m_documents));

    if (m_pWebSettings)
        m_pWebSettings->Load(key);
}

BOOL CPreferences::SaveGeneral() const
{
    CRegistryKey key;
    if (!OpenForWriting(key))
        return FALSE;
    // The day count only matters when new documents are told by their age.
    const int nRecentDays = (m_nLastCatalogOption & NEW_WITHIN_DAYS) ? m_nNumDayRecentlyCatalog : 1;
    const std::pair<LPCTSTR, int> numbers[] = {
        { "NumDayFileNew", m_nNumDayFileNew },
        { "LastCatalogOption", m_nLastCatalogOption },
        { "NumDayRecentlyCatalog", nRecentDays },
        { "Minimize", m_bMinimize },
        { "DescrTip", m_bDescrTip },
        { "UpdateOption", m_nUpdateOption },
        { "CleanUpTempFolders", m_bCleanUpTempFolders },
        { "CleanUpTempFiles", m_bCleanUpTempFiles },
        { "CleanUpExpired", m_bCleanUpExpired },
        { "CleanUpRecycle", m_bCleanUpRecycle },
        { "VersionControlPos", m_nVersionControlPos },
        { "MostRecents", m_nMostRecents },
        { "NumBackups", m_nNumBackups },
        { "NumDayBackup", m_nNumDayBackup },
        { "OrphanWarning", m_bOrphanWarning },
        { "WAEnabled", m_bWebAccessEnabled },
        { "MailClient", m_nMailClient },
    };
    bool bWritten = true;
    for (const auto& [pszName, nValue] : numbers)
        bWritten &= key.SetDWORD(pszName, static_cast<DWORD>(nValue)) != FALSE;
    bWritten &= WriteBinaryDWORD(key, "RecentlyCatalogColor", m_crRecentlyCatalog) != FALSE;
    bWritten &= WriteBinaryDWORD(key, "MostRecentsOption", m_dwMostRecentsOption) != FALSE;
    bWritten &= key.SetString("DefaultDirCopyRem", m_strDefaultDirCopyRem) != FALSE;
    bWritten &= key.SetString("VersionControlText", m_strVersionControlText) != FALSE;
    bWritten &= key.SetStringArray("FastUpdateDir", m_fastUpdateDir) != FALSE;
    return bWritten ? TRUE : FALSE;
}

BOOL CPreferences::SaveDSSettings() const
{
    CRegistryKey key;
    if (!OpenForWriting(key))
        return FALSE;
    CStringArray path;
    if (m_pDefaultSystem)
        GetDefaultSystemPath(*m_pDefaultSystem, path);
    else
        path.Copy(m_defaultSystemPath);

    bool bWritten = key.SetDWORD("DSAutoCataloguing", static_cast<DWORD>(m_nDSAutoCataloguing)) != FALSE;
    bWritten &= key.SetDWORD("DSList", static_cast<DWORD>(m_bDSList)) != FALSE;
    bWritten &= key.SetDWORD("DSPlaySound", static_cast<DWORD>(m_bDSPlaySound)) != FALSE;
    bWritten &= key.SetDWORD("DSAutoIniciar", static_cast<DWORD>(m_bDSAutoIniciar)) != FALSE;
    const int nLevels = std::min(path.GetSize(), MAX_DS_PATH_LEVELS);
    bWritten &= key.SetDWORD(DS_PATH_COUNT_VALUE, static_cast<DWORD>(nLevels)) != FALSE;
    for (int nLevel = 0; nLevel < nLevels; ++nLevel)
        bWritten &= key.SetString(CRegistryKey::IndexedName(DS_PATH_VALUE, nLevel), path[nLevel]) != FALSE;
    // A longer path saved before leaves levels behind; they go.
    for (int nLevel = nLevels; nLevel <= MAX_DS_PATH_LEVELS; ++nLevel) {
        const CString strName = CRegistryKey::IndexedName(DS_PATH_VALUE, nLevel);
        if (!key.ValueExists(strName))
            break;
        bWritten &= key.DeleteValue(strName) != FALSE;
    }
    return bWritten ? TRUE : FALSE;
}

BOOL CPreferences::SaveWebSettings() const
{
    CRegistryKey key;
    if (!OpenForWriting(key))
        return FALSE;
    return m_pWebSettings ? m_pWebSettings->Save(key) : TRUE;
}

BOOL CPreferences::StageWebSettings(LPCTSTR pszCatalogStamp) const
{
    if (!m_pWebSettings)
        return TRUE;
    CRegistryKey key;
    CRegistryKey stage;
    if (!OpenForWriting(key))
        return FALSE;
    // An earlier stage goes first: its stamp must never stand beside this block.
    if (key.KeyExists(WEB_STAGE_SUBKEY) && !key.DeleteTree(WEB_STAGE_SUBKEY))
        return FALSE;
    return stage.Create(key, WEB_STAGE_SUBKEY) && m_pWebSettings->Save(stage)
            && stage.SetString(WEB_STAGE_STAMP_VALUE, pszCatalogStamp)
        ? TRUE
        : FALSE;
}

BOOL CPreferences::HasStagedWebSettings() const
{
    CRegistryKey key;
    return key.Open(HKEY_CURRENT_USER, KEY_PATH, KEY_READ) && key.KeyExists(WEB_STAGE_SUBKEY) ? TRUE : FALSE;
}

BOOL CPreferences::SettleWebSettings(LPCTSTR pszCatalogStamp)
{
    CRegistryKey key;
    if (!OpenForWriting(key))
        return FALSE;
    if (!key.KeyExists(WEB_STAGE_SUBKEY))
        return TRUE;
    if (!m_pWebSettings)
        return FALSE;
    {
        CRegistryKey stage;
        CString strStamp;
        if (stage.Open(key, WEB_STAGE_SUBKEY, KEY_READ) && stage.GetString(WEB_STAGE_STAMP_VALUE, strStamp)
            && strStamp == pszCatalogStamp) {
            m_pWebSettings->Load(stage);
            // Until the stage is gone a later call puts it in force again.
            if (!m_pWebSettings->Save(key))
                return FALSE;
        }
    }
    if (!key.DeleteTree(WEB_STAGE_SUBKEY))
        return FALSE;
    m_pWebSettings->Load(key);
    return TRUE;
}

BOOL CPreferences::SaveDocuments() const
{
    CRegistryKey key;
    return OpenForWriting(key) && key.SetStringArray("Documents", m_documents) ? TRUE : FALSE;
}

BOOL CPreferences::SaveDSDir() const
{
    CRegistryKey key;
    return OpenForWriting(key) && key.SetStringArray("DSDir", m_dsDir) ? TRUE : FALSE;
}

BOOL CPreferences::SaveOrphanWarning(BOOL bWarn)
{
    m_bOrphanWarning = bWarn ? TRUE : FALSE;
    CRegistryKey key;
    return OpenForWriting(key) && key.SetDWORD("OrphanWarning", static_cast<DWORD>(m_bOrphanWarning)) ? TRUE : FALSE;
}

BOOL CPreferences::SaveWebAccessEnabled(BOOL bEnabled)
{
    m_bWebAccessEnabled = bEnabled ? TRUE : FALSE;
    CRegistryKey key;
    return OpenForWriting(key) && key.SetDWORD("WAEnabled", static_cast<DWORD>(m_bWebAccessEnabled)) ? TRUE : FALSE;
}

BOOL CPreferences::OpenForWriting(CRegistryKey& key)
{
    return key.Open(HKEY_CURRENT_USER, KEY_PATH) || key.Create(HKEY_CURRENT_USER, KEY_PATH) ? TRUE : FALSE;
}

/***************************************************************************
 * The default system
 ***************************************************************************/

CNodeRec* CPreferences::GetDefaultSystem(CCatalog* pCatalog)
{
    if (m_pDefaultSystem && m_pDefaultSystem->GetCatalog() == pCatalog)
        return m_pDefaultSystem.get();
    m_pDefaultSystem.reset(FindNodeByPath(pCatalog, m_defaultSystemPath));
    if (!m_pDefaultSystem)
        m_pDefaultSystem.reset(CNodeRec::NewTopNodeRec3(pCatalog));
    return m_pDefaultSystem.get();
}

void CPreferences::ReleaseDefaultSystem()
{
    m_pDefaultSystem.reset();
}

void CPreferences::SetDefaultSystem(const CNodeRec* pNode)
{
    m_pDefaultSystem.reset(pNode ? pNode->Clone() : nullptr);
    if (m_pDefaultSystem)
        GetDefaultSystemPath(*m_pDefaultSystem, m_defaultSystemPath);
    else
        m_defaultSystemPath.RemoveAll();
}
