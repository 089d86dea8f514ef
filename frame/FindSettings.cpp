#include "frame/FindSettings.h"

#include "catalog/CTextSearch.h"
#include "frame/AppGlobals.h"
#include "store/CCatalog.h"
#include "store/CNodeRec.h"
#include "store/CRegistryKey.h"

#include "platform/framework/CWinApp.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <span>

namespace {

constexpr char FIND_SECTION[] = "find";
constexpr char LAST_FIND_SECTION[] = "lastfind";
constexpr char LAST_FIND_KEY_PATH[] = "SOFTWARE\\KD\\Archivora Plus\\lastfind";
constexpr char SYSTEM_VALUE[] = "sys_default";

// "find00", "find01", ... the names of the history's texts.
CString HistoryName(int nIndex)
{
    char szName[16];
    std::snprintf(szName, sizeof(szName), "find%02d", nIndex);
    return szName;
}

// One number of a record in its profile section. A flag reads back as 0 or 1,
// whatever was stored; other numbers are kept as they are.
struct CRecordValue {
    const char* pszName;
    int CFindRecord::*pMember;
    int nDefault;
    bool bFlag;
};

// clang-format off
constexpr CRecordValue FIND_VALUES[] = {
    { "field",       &CFindRecord::nField,       1,                 false },
    { "type",        &CFindRecord::nType,        FIND_TYPE_PHRASE,  false },
    { "scope",       &CFindRecord::nScope,       0,                 false },
    { "match_case",  &CFindRecord::bMatchCase,   FALSE,             true },
    { "whole_word",  &CFindRecord::bWholeWord,   FALSE,             true },
    { "openfindbar", &CFindRecord::bOpenFindBar, TRUE,              true },
    { "result_list", &CFindRecord::bResultList,  FALSE,             true },
    { "recycle",     &CFindRecord::bRecycle,     FALSE,             true },
    { "all_docs",    &CFindRecord::bAllDocs,     FALSE,             true },
};
constexpr CRecordValue LAST_FIND_VALUES[] = {
    { "field",       &CFindRecord::nField,       1,                 false },
    { "type",        &CFindRecord::nType,        FIND_TYPE_PHRASE,  false },
    { "match_case",  &CFindRecord::bMatchCase,   FALSE,             true },
    { "whole_word",  &CFindRecord::bWholeWord,   FALSE,             true },
    { "all_docs",    &CFindRecord::bAllDocs,     FALSE,             true },
    { "interrupt",   &CFindRecord::bInterrupt,   FALSE,             true },
    { "date",        &CFindRecord::bDate,        FALSE,             true },
};
// clang-format on

void ReadValues(CWinApp& app, LPCTSTR pszSection, std::span<const CRecordValue> values, CFindRecord& record)
{
    for (const CRecordValue& value : values) {
        const auto nRead = static_cast<int>(app.GetProfileInt(pszSection, value.pszName, value.nDefault));
        record.*value.pMember = value.bFlag ? (nRead != 0 ? TRUE : FALSE) : nRead;
    }
}

void WriteValues(CWinApp& app, LPCTSTR pszSection, std::span<const CRecordValue> values, const CFindRecord& record)
{
    for (const CRecordValue& value : values)
        app.WriteProfileInt(pszSection, value.pszName, record.*value.pMember);
}

// The node a record searches from: the stored reference when it names a node
// of the catalog, else the root.
std::unique_ptr<CNodeRec> ReadSystem(CWinApp& app, LPCTSTR pszSection, CCatalog* pCatalog)
{
    CATBLOCK nBlock = 0;
    LONG nSlot = 0;
    LPBYTE pData = nullptr;
    UINT nBytes = 0;
    if (app.GetProfileBinary(pszSection, SYSTEM_VALUE, &pData, &nBytes)) {
        std::array<LONG, 2> ref {};
        if (nBytes == sizeof(ref)) {
            std::memcpy(ref.data(), pData, sizeof(ref));
            if (pCatalog && pCatalog->CheckRecord(ref[0], ref[1], TABLE_NODE)) {
                nBlock = ref[0];
                nSlot = ref[1];
            }
        }
        delete[] pData;
    }
    return pCatalog ? std::make_unique<CNodeRec>(pCatalog, nBlock, nSlot) : nullptr;
}

void WriteSystem(CWinApp& app, LPCTSTR pszSection, const CNodeRec* pNode)
{
    std::array<LONG, 2> ref { pNode ? pNode->GetBlock() : 0, pNode ? pNode->GetSlot() : 0 };
    app.WriteProfileBinary(pszSection, SYSTEM_VALUE, reinterpret_cast<LPBYTE>(ref.data()), sizeof(ref));
}

// The record's node replaced by (nBlock, nSlot) unless both are -1.
void SetSystem(CFindRecord& record, CATBLOCK nBlock, LONG nSlot, CCatalog* pCatalog)
{
    if ((nBlock != -1 || nSlot != -1) && pCatalog)
        record.pSystem = std::make_unique<CNodeRec>(pCatalog, nBlock, nSlot);
}

CNodeRec* RefreshSystem(CFindRecord& record, CCatalog* pCatalog)
{
    if (pCatalog && (!record.pSystem || !record.pSystem->GetChildrenFiltered()))
        record.pSystem.reset(CNodeRec::NewRootNodeRec(pCatalog));
    return record.pSystem.get();
}

} // namespace

CFindRecord::CFindRecord() = default;
CFindRecord::~CFindRecord() = default;

CFindSettings::CFindSettings() = default;

CFindSettings::~CFindSettings()
{
    FreeListFilter(&m_lastFilter);
}

void CFindSettings::Load(CWinApp& app, CCatalog* pCatalog)
{
    m_find.history.RemoveAll();
    for (int i = 0; i < FIND_HISTORY_LENGTH; ++i) {
        CString strText = app.GetProfileString(FIND_SECTION, HistoryName(i), "");
        if (strText.IsEmpty())
            break;
        m_find.history.Add(strText);
    }
    ReadValues(app, FIND_SECTION, FIND_VALUES, m_find);
    m_find.pSystem = ReadSystem(app, FIND_SECTION, pCatalog);

    m_lastFind.history.RemoveAll();
    if (CString strText = app.GetProfileString(LAST_FIND_SECTION, HistoryName(0), ""); !strText.IsEmpty())
        m_lastFind.history.Add(strText);
    ReadValues(app, LAST_FIND_SECTION, LAST_FIND_VALUES, m_lastFind);
    m_lastFind.pSystem = ReadSystem(app, LAST_FIND_SECTION, pCatalog);

    FreeListFilter(&m_lastFilter);
    m_lastFilter = CListFilter {};
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, LAST_FIND_KEY_PATH, KEY_READ)) {
        // A damaged filter leaves the empty one.
        static_cast<void>(LoadListFilter(key, &m_lastFilter));
    } else {
        static_cast<void>(key.Create(HKEY_CURRENT_USER, LAST_FIND_KEY_PATH, KEY_WRITE));
    }
    SplitSearchWords();
}

void CFindSettings::Save(CWinApp& app) const
{
    for (int i = 0; i < FIND_HISTORY_LENGTH; ++i) {
        // Entries past the history are removed, so that a shorter history reads back as it is.
        LPCTSTR pszText = i < m_find.history.GetSize() ? static_cast<LPCTSTR>(m_find.history[i]) : nullptr;
        app.WriteProfileString(FIND_SECTION, HistoryName(i), pszText);
    }
    WriteValues(app, FIND_SECTION, FIND_VALUES, m_find);
    WriteSystem(app, FIND_SECTION, m_find.pSystem.get());

    const CString strLast = m_lastFind.GetText();
    app.WriteProfileString(
        LAST_FIND_SECTION, HistoryName(0), strLast.IsEmpty() ? nullptr : static_cast<LPCTSTR>(strLast));
    WriteValues(app, LAST_FIND_SECTION, LAST_FIND_VALUES, m_lastFind);
    WriteSystem(app, LAST_FIND_SECTION, m_lastFind.pSystem.get());

    CRegistryKey key;
    if (key.Create(HKEY_CURRENT_USER, LAST_FIND_KEY_PATH))
        static_cast<void>(SaveListFilter(key, m_lastFilter));
}

void CFindSettings::UpdateFind(const CFindRecord& search, CATBLOCK nBlock, LONG nSlot, CCatalog* pCatalog)
{
    const CString strText = search.GetText();
    if (!strText.IsEmpty()) {
        for (int i = m_find.history.GetSize() - 1; i >= 0; --i) {
            if (m_find.history[i] == strText)
                m_find.history.RemoveAt(i);
        }
        m_find.history.InsertAt(0, strText);
        while (m_find.history.GetSize() > FIND_HISTORY_LENGTH)
            m_find.history.RemoveAt(m_find.history.GetSize() - 1);
    }
    m_find.nType = search.nType;
    m_find.nField = search.nField;
    if (!search.bAllDocs)
        m_find.nScope = search.nScope;
    m_find.bMatchCase = search.bMatchCase;
    m_find.bWholeWord = search.bWholeWord;
    m_find.bRecycle = search.bRecycle;
    m_find.bOpenFindBar = search.bOpenFindBar;
    m_find.bResultList = search.bResultList;
    m_find.bAllDocs = search.bAllDocs;
    SetSystem(m_find, nBlock, nSlot, pCatalog);
    SplitSearchWords();
}

void CFindSettings::UpdateLastFind(const CFindRecord& search, CATBLOCK nBlock, LONG nSlot, CCatalog* pCatalog)
{
    // Only the newest text of the last find is ever kept or read.
    if (const CString strText = search.GetText(); !strText.IsEmpty()) {
        m_lastFind.history.RemoveAll();
        m_lastFind.history.Add(strText);
    }
    m_lastFind.nType = search.nType;
    m_lastFind.nField = search.nField;
    m_lastFind.bMatchCase = search.bMatchCase;
    m_lastFind.bWholeWord = search.bWholeWord;
    m_lastFind.bAllDocs = search.bAllDocs;
    m_lastFind.bInterrupt = search.bInterrupt;
    m_lastFind.bDate = search.bDate;
    SetSystem(m_lastFind, nBlock, nSlot, pCatalog);
}

CNodeRec* CFindSettings::RefreshFindSystemNode(CCatalog* pCatalog)
{
    return RefreshSystem(m_find, pCatalog);
}

CNodeRec* CFindSettings::RefreshLastFindSystemNode(CCatalog* pCatalog)
{
    return RefreshSystem(m_lastFind, pCatalog);
}

void CFindSettings::Reset(CCatalog* pCatalog)
{
    m_find.history.RemoveAll();
    m_lastFind.history.RemoveAll();
    m_words.RemoveAll();
    FreeListFilter(&m_lastFilter);
    m_lastFilter = CListFilter {};
    m_find.pSystem.reset(pCatalog ? CNodeRec::NewRootNodeRec(pCatalog) : nullptr);
    m_lastFind.pSystem.reset(pCatalog ? CNodeRec::NewRootNodeRec(pCatalog) : nullptr);
}

void CFindSettings::Free()
{
    FreeListFilter(&m_lastFilter);
    m_find.pSystem.reset();
    m_lastFind.pSystem.reset();
    m_words.RemoveAll();
}

void CFindSettings::SetLastFindFilter(const CListFilter& filter)
{
    FreeListFilter(&m_lastFilter);
    CopyListFilter(&m_lastFilter, filter);
}

void CFindSettings::SetFindOptions(const CFindRecord& options)
{
    m_find.nType = options.nType;
    m_find.nField = options.nField;
    m_find.nScope = options.nScope;
    m_find.bMatchCase = options.bMatchCase;
    m_find.bWholeWord = options.bWholeWord;
    m_find.bRecycle = options.bRecycle;
    m_find.bOpenFindBar = options.bOpenFindBar;
    m_find.bResultList = options.bResultList;
    m_find.bAllDocs = options.bAllDocs;
    m_find.bInterrupt = options.bInterrupt;
    m_find.bDate = options.bDate;
}

void CFindSettings::ApplySearchCriteria() const
{
    CSearchCriteria& criteria = GetGlobalSearchCriteria();
    criteria.words.clear();
    for (int i = 0; i < m_words.GetSize(); ++i)
        criteria.words.push_back(m_words[i]);
    criteria.nField = m_find.nField;
    criteria.nMode = m_find.nType == FIND_TYPE_ANY_WORD ? CTextSearch::MODE_ANY_WORD : CTextSearch::MODE_ALL_WORDS;
    criteria.bCaseSensitive = m_find.bMatchCase;
    criteria.bWholeWord = m_find.bWholeWord;
}

void CFindSettings::SplitSearchWords()
{
    m_words.RemoveAll();
    CString strText = m_find.GetText();
    if (strText.IsEmpty())
        return;
    if (!m_find.bMatchCase)
        strText.MakeLower();
    strText.Trim();
    if (strText.IsEmpty())
        return;
    if (m_find.nType == FIND_TYPE_PHRASE) {
        m_words.Add(strText);
        return;
    }
    if (m_find.nType != FIND_TYPE_ALL_WORDS && m_find.nType != FIND_TYPE_ANY_WORD)
        return;
    int nStart = 0;
    while (nStart <= strText.GetLength()) {
        int nBlank = strText.Find(' ', nStart);
        if (nBlank < 0)
            nBlank = strText.GetLength();
        if (nBlank > nStart)
            m_words.Add(strText.Mid(nStart, nBlank - nStart));
        nStart = nBlank + 1;
    }
}
