#include "store/CFolderIndex.h"

#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "store/RecordFields.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::array<int, 3> FOLDER_INDEX_RECORD_SIZES = {
    CFolderIndex::FOLDER_SIZE,
    CFolderIndex::ENTRY_SIZE,
    CFolderIndex::CRITERIA_SIZE,
};
// Block 0 holds folders, and keeps the index's identity after them.
static_assert(LeavesIdentityRoom(CFolderIndex::FOLDER_SIZE));

void PutInt64(std::span<BYTE> data, int nOffset, LONGLONG nValue)
{
    SetLongField(data, nOffset, static_cast<LONG>(nValue));
    SetLongField(data, nOffset + 4, static_cast<LONG>(static_cast<ULONGLONG>(nValue) >> 32));
}

LONGLONG GetInt64(std::span<const BYTE> data, int nOffset)
{
    return static_cast<LONGLONG>(static_cast<ULONGLONG>(static_cast<DWORD>(GetLongField(data, nOffset + 4))) << 32
        | static_cast<DWORD>(GetLongField(data, nOffset)));
}

}

CFolderIndex::CFolderIndex(LPCTSTR pszPath, int nFlag)
    : CCatalogFile(pszPath, FOLDER_INDEX_RECORD_SIZES, CACHE_CHUNKS, Durability::Scratch)
{
    if (nFlag == 1) {
        if (!Create(CATALOG_KIND_FOLDER_INDEX) || !Acquire())
            return;
        if (!WriteEmptyIndex()) {
            (void)Release(); // the index stays closed; the failed write was reported
        }
        return;
    }
    if (!Acquire())
        return;
    if (GetKind() != CATALOG_KIND_FOLDER_INDEX || !CheckRecord(ROOT_BLOCK_CRITERIA, 0, TABLE_CRITERIA)) {
        ReportDamage();
        (void)Release(); // a file of another kind is no index; closing it writes nothing
    }
}

BOOL CFolderIndex::WriteEmptyIndex()
{
    CCatalogAction action(this);
    CATBLOCK nBlock = NO_BLOCK;
    CRecordRef criteria;
    std::vector<BYTE> data(CRITERIA_SIZE, 0);
    for (int i = 0; i < LIST_FILTER_CONDITIONS; ++i) {
        SetLongField(data, (2 + 4 * i) * 4, -1);
        SetLongField(data, (3 + 4 * i) * 4, -1);
    }
    return action.Finish(NewChain(TABLE_FOLDER, {}, &nBlock) && NewChain(TABLE_CRITERIA, {}, &nBlock)
        && AllocateRecord(TABLE_CRITERIA, ROOT_BLOCK_CRITERIA, {}, &criteria)
        && WriteRecord(criteria, TABLE_CRITERIA, data));
}

/******************************************************************************
 * Writing
 ******************************************************************************/

BOOL CFolderIndex::AddFolder(LPCTSTR pszFolder, CRecordRef* pFolder)
{
    CCatalogAction action(this);
    std::string strFolder = Utf8ToLower(pszFolder ? pszFolder : "");
    if (!strFolder.empty() && strFolder.back() != '\\')
        strFolder += '\\';
    if (!pFolder || strFolder.empty() || strFolder.size() >= static_cast<std::size_t>(FOLDER_PATH_SIZE)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<BYTE> data(FOLDER_SIZE, 0);
    SetTextField(data, OFF_FOLDER_PATH, FOLDER_PATH_SIZE, strFolder.c_str());
    SetLongField(data, OFF_FOLDER_ENTRIES, NO_BLOCK);
    return action.Finish(
        AllocateRecord(TABLE_FOLDER, ROOT_BLOCK_FOLDER, {}, pFolder) && WriteRecord(*pFolder, TABLE_FOLDER, data));
}

BOOL CFolderIndex::AddEntry(CRecordRef folder, LPCTSTR pszPath, CRecordRef document)
{
    CCatalogAction action(this);
    std::string_view path(pszPath ? pszPath : "");
    if (path.empty() || path.size() >= static_cast<std::size_t>(ENTRY_PATH_SIZE)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<BYTE> record;
    CATBLOCK nFirst = NO_BLOCK;
    CRecordRef ref;
    if (!GetEntryChain(folder, &record, &nFirst) || !AllocateRecord(TABLE_ENTRY, nFirst, folder, &ref))
        return FALSE;
    std::vector<BYTE> entry(ENTRY_SIZE, 0);
    SetTextField(entry, OFF_ENTRY_PATH, ENTRY_PATH_SIZE, std::string(path).c_str());
    SetRefField(entry, OFF_ENTRY_DOCUMENT, document);
    if (nFirst == NO_BLOCK)
        SetLongField(record, OFF_FOLDER_ENTRIES, ref.nBlock);
    SetLongField(record, OFF_FOLDER_COUNT, GetLongField(record, OFF_FOLDER_COUNT) + 1);
    if (WriteRecord(ref, TABLE_ENTRY, entry) && WriteRecord(folder, TABLE_FOLDER, record))
        return action.Finish(TRUE);
    (void)FreeRecord(ref, TABLE_ENTRY); // the file refuses writes now; nothing more to undo
    return FALSE;
}

BOOL CFolderIndex::SetCriteria(const CListFilter& filter)
{
    CCatalogAction action(this);
    std::vector<BYTE> data(CRITERIA_SIZE, 0);
    SetLongField(data, 0, filter.bActive);
    SetLongField(data, 4, filter.nMode);
    for (int i = 0; i < LIST_FILTER_CONDITIONS; ++i) {
        const CListFilterCondition& condition = filter.conditions[i];
        int nWord = 2 + 4 * i;
        SetLongField(data, nWord * 4, condition.nColumn);
        SetLongField(data, (nWord + 1) * 4, condition.nOperator);
        SetLongField(data, (nWord + 2) * 4, condition.pValue ? condition.nKind : FILTER_VALUE_NONE);
        SetLongField(data, (nWord + 3) * 4, condition.pValue ? 1 : 0);
        if (condition.pValue) {
            int nOffset = OFF_CRITERIA_VALUES + i * CRITERIA_VALUE_SIZE;
            PutInt64(data, nOffset, condition.pValue->nNumber);
            PutInt64(data, nOffset + 8, condition.pValue->nEnd);
            SetTextField(data, nOffset + 16, 64, condition.pValue->strText);
        }
    }
    return action.Finish(WriteRecord({ ROOT_BLOCK_CRITERIA, 0 }, TABLE_CRITERIA, data));
}

/******************************************************************************
 * Walking
 ******************************************************************************/

CRecordRef CFolderIndex::NextInChain(CRecordRef cursor)
{
    return NextRecord(&cursor) ? cursor : CRecordRef {};
}

CRecordRef CFolderIndex::FirstFolder()
{
    return IsOpen() ? NextInChain({ ROOT_BLOCK_FOLDER, NO_SLOT }) : CRecordRef {};
}

CRecordRef CFolderIndex::NextFolder(CRecordRef folder)
{
    return CheckRecord(folder.nBlock, folder.nSlot, TABLE_FOLDER) ? NextInChain(folder) : CRecordRef {};
}

CString CFolderIndex::GetFolderPath(CRecordRef folder)
{
    std::vector<BYTE> data(FOLDER_SIZE);
    return ReadRecord(folder, TABLE_FOLDER, data) ? GetTextField(data, OFF_FOLDER_PATH, FOLDER_PATH_SIZE) : CString();
}

BOOL CFolderIndex::GetEntryChain(CRecordRef folder, std::vector<BYTE>* pRecord, CATBLOCK* pnFirst)
{
    *pnFirst = NO_BLOCK;
    pRecord->assign(FOLDER_SIZE, 0);
    if (!ReadRecord(folder, TABLE_FOLDER, *pRecord))
        return FALSE;
    CATBLOCK nFirst = GetLongField(*pRecord, OFF_FOLDER_ENTRIES);
    if (nFirst == NO_BLOCK)
        return TRUE;
    CCatalogBlock* pBlock = GetBlock(nFirst);
    if (!pBlock || pBlock->GetTableType() != TABLE_ENTRY || pBlock->GetHeader().owner != folder) {
        ReportDamage(); // the folder names a chain that is not its own
        return FALSE;
    }
    *pnFirst = nFirst;
    return TRUE;
}

CRecordRef CFolderIndex::FirstEntry(CRecordRef folder)
{
    std::vector<BYTE> record;
    CATBLOCK nFirst = NO_BLOCK;
    if (!GetEntryChain(folder, &record, &nFirst) || nFirst == NO_BLOCK)
        return {};
    return NextInChain({ nFirst, NO_SLOT });
}

CRecordRef CFolderIndex::NextEntry(CRecordRef entry)
{
    return CheckRecord(entry.nBlock, entry.nSlot, TABLE_ENTRY) ? NextInChain(entry) : CRecordRef {};
}

CString CFolderIndex::BuildFolderPath(CRecordRef folder, CRecordRef entry)
{
    std::vector<BYTE> data(ENTRY_SIZE);
    CCatalogBlock* pBlock = CheckRecord(entry.nBlock, entry.nSlot, TABLE_ENTRY) ? GetBlock(entry.nBlock) : nullptr;
    if (!pBlock || pBlock->GetHeader().owner != folder || !ReadRecord(entry, TABLE_ENTRY, data))
        return CString();
    CString strFolder = GetFolderPath(folder);
    return strFolder.IsEmpty() ? CString() : strFolder + GetTextField(data, OFF_ENTRY_PATH, ENTRY_PATH_SIZE);
}

CRecordRef CFolderIndex::GetEntryDocument(CRecordRef entry)
{
    std::vector<BYTE> data(ENTRY_SIZE);
    return ReadRecord(entry, TABLE_ENTRY, data) ? GetRefField(data, OFF_ENTRY_DOCUMENT) : CRecordRef {};
}

BOOL CFolderIndex::GetCriteria(CListFilter* pFilter)
{
    std::vector<BYTE> data(CRITERIA_SIZE);
    if (!pFilter || !ReadRecord({ ROOT_BLOCK_CRITERIA, 0 }, TABLE_CRITERIA, data))
        return FALSE;
    CListFilter loaded;
    loaded.bActive = GetLongField(data, 0);
    loaded.nMode = GetLongField(data, 4);
    for (int i = 0; i < LIST_FILTER_CONDITIONS; ++i) {
        int nWord = 2 + 4 * i;
        CListFilterCondition& condition = loaded.conditions[i];
        condition.nColumn = GetLongField(data, nWord * 4);
        condition.nOperator = GetLongField(data, (nWord + 1) * 4);
        LONG nKind = GetLongField(data, (nWord + 2) * 4);
        if (GetLongField(data, (nWord + 3) * 4) == 0 || nKind < FILTER_VALUE_NUMBER || nKind > FILTER_VALUE_RANGE)
            continue; // no value, or one of a kind nobody writes: the condition stays without one
        int nOffset = OFF_CRITERIA_VALUES + i * CRITERIA_VALUE_SIZE;
        CListFilterValue value;
        value.nNumber = GetInt64(data, nOffset);
        value.nEnd = GetInt64(data, nOffset + 8);
        value.strText = GetTextField(data, nOffset + 16, 64);
        SetListFilterCondition(&loaded, i, condition.nColumn, condition.nOperator, nKind, value);
    }
    CopyListFilter(pFilter, loaded);
    FreeListFilter(&loaded);
    return TRUE;
}
