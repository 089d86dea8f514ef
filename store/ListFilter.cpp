#include "store/ListFilter.h"

#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "store/CDocumentRec.h"
#include "store/CRegistryKey.h"
#include "store/CatalogColumns.h"

#include <string>
#include <vector>

namespace {

constexpr LONGLONG SECONDS_PER_DAY = 86400;

/******************************************************************************
 * Evaluation
 ******************************************************************************/

enum class FieldKind { None, Text, Number, Date };

// The column's value for the document: a text, a number, or a date (seconds).
struct CField {
    FieldKind eKind { FieldKind::None };
    CString strText;
    LONGLONG nNumber { 0 };
};

CField ReadField(const CDocumentRec& document, LONG nColumn)
{
    CField field;
    switch (nColumn) {
    case COLUMN_NAME:
        field.eKind = FieldKind::Text;
        document.GetFullPath(field.strText);
        break;
    case COLUMN_DESCRIPTION:
        field.eKind = FieldKind::Text;
        document.GetNameWithLocation(field.strText);
        break;
    case COLUMN_LABEL:
        field.eKind = FieldKind::Text;
        document.GetLabel(field.strText);
        break;
    case COLUMN_ALT_NAME:
        field.eKind = FieldKind::Text;
        document.GetAltNameWithLocation(field.strText);
        break;
    case COLUMN_TYPE:
        field.eKind = FieldKind::Text;
        document.GetTypeName(field.strText);
        break;
    case COLUMN_DATE:
    case COLUMN_EXPIRED_DATE:
        field.eKind = FieldKind::Date;
        field.nNumber = document.GetExpiry();
        break;
    case COLUMN_SIZE:
        field.eKind = FieldKind::Number;
        field.nNumber = document.LoadState().nSize;
        break;
    case COLUMN_MODIFIED:
        field.eKind = FieldKind::Date;
        field.nNumber = document.LoadState().tModified;
        break;
    case COLUMN_CREATED:
        field.eKind = FieldKind::Date;
        field.nNumber = document.LoadState().tCreated;
        break;
    case COLUMN_ACCESSED:
        field.eKind = FieldKind::Date;
        field.nNumber = document.LoadState().tAccessed;
        break;
    default:
        break;
    }
    return field;
}

// The day of a time, so that dates compare by whole days.
LONGLONG DayOf(LONGLONG tTime)
{
    return tTime >= 0 ? tTime / SECONDS_PER_DAY : -((-tTime + SECONDS_PER_DAY - 1) / SECONDS_PER_DAY);
}

bool CompareOrdered(LONG nOperator, LONGLONG nLeft, LONGLONG nRight)
{
    switch (nOperator) {
    case FILTER_OP_EQUAL:
        return nLeft == nRight;
    case FILTER_OP_NOT_EQUAL:
        return nLeft != nRight;
    case FILTER_OP_LESS:
        return nLeft < nRight;
    case FILTER_OP_GREATER:
        return nLeft > nRight;
    default:
        return false;
    }
}

bool ConditionHolds(const CListFilterCondition& condition, const CDocumentRec& document)
{
    const CListFilterValue* pValue = condition.pValue;
    if (!pValue)
        return false;
    CField field = ReadField(document, condition.nColumn);
    switch (field.eKind) {
    case FieldKind::Text: {
        if (condition.nKind != FILTER_VALUE_TEXT)
            return false;
        std::string strField = Utf8ToLower(std::string_view(field.strText));
        std::string strValue = Utf8ToLower(std::string_view(pValue->strText));
        bool bContains = strField.find(strValue) != std::string::npos;
        if (condition.nOperator == FILTER_OP_CONTAINS)
            return bContains;
        if (condition.nOperator == FILTER_OP_NOT_CONTAINS)
            return !bContains;
        return CompareOrdered(condition.nOperator, Utf8CompareNoCase(strField, strValue), 0);
    }
    case FieldKind::Number:
        // A size that cannot be read satisfies no condition.
        return condition.nKind == FILTER_VALUE_NUMBER && field.nNumber >= 0
            && CompareOrdered(condition.nOperator, field.nNumber, pValue->nNumber);
    case FieldKind::Date:
        // A document without that date satisfies no condition.
        if (field.nNumber <= 0)
            return false;
        if (condition.nKind == FILTER_VALUE_RANGE)
            return condition.nOperator == FILTER_OP_BETWEEN && DayOf(field.nNumber) >= DayOf(pValue->nNumber)
                && DayOf(field.nNumber) <= DayOf(pValue->nEnd);
        return condition.nKind == FILTER_VALUE_DATE
            && CompareOrdered(condition.nOperator, DayOf(field.nNumber), DayOf(pValue->nNumber));
    case FieldKind::None:
        break;
    }
    return false;
}

/******************************************************************************
 * Registry form
 ******************************************************************************/

CString ValueName(const char* pszPrefix, int nIndex)
{
    return CRegistryKey::IndexedName(pszPrefix, nIndex);
}

bool QueryLong(CRegistryKey& key, LPCTSTR pszName, LONG* pnValue)
{
    DWORD dwValue = 0;
    if (!key.GetDWORD(pszName, dwValue))
        return false;
    *pnValue = static_cast<LONG>(dwValue);
    return true;
}

// A value is kept as two values: its numbers as four DWORDs (the low and high
// halves of the number, then of the end) and its text.
bool QueryValue(CRegistryKey& key, int nIndex, CListFilterValue* pValue)
{
    CDWordArray numbers;
    if (!key.GetDWordArray(ValueName("Val", nIndex), numbers) || numbers.GetSize() != 4
        || !key.GetString(ValueName("Text", nIndex), pValue->strText))
        return false;
    pValue->nNumber = static_cast<LONGLONG>(static_cast<ULONGLONG>(numbers[1]) << 32 | numbers[0]);
    pValue->nEnd = static_cast<LONGLONG>(static_cast<ULONGLONG>(numbers[3]) << 32 | numbers[2]);
    return true;
}

bool SetValue(CRegistryKey& key, int nIndex, const CListFilterValue& value)
{
    CDWordArray numbers;
    numbers.Add(static_cast<DWORD>(value.nNumber));
    numbers.Add(static_cast<DWORD>(static_cast<ULONGLONG>(value.nNumber) >> 32));
    numbers.Add(static_cast<DWORD>(value.nEnd));
    numbers.Add(static_cast<DWORD>(static_cast<ULONGLONG>(value.nEnd) >> 32));
    char szText[CRegistryKey::MAX_STRING_BYTES];
    Utf8CopyToField(szText, sizeof(szText), value.strText, FieldEnd::NulTerminated);
    return key.SetDWordArray(ValueName("Val", nIndex), numbers) && key.SetString(ValueName("Text", nIndex), szText);
}

}

/******************************************************************************
 * The record
 ******************************************************************************/

void FreeListFilter(CListFilter* pFilter)
{
    if (!pFilter)
        return;
    for (CListFilterCondition& condition : pFilter->conditions) {
        delete condition.pValue;
        condition = {};
    }
}

void CopyListFilter(CListFilter* pTarget, const CListFilter& source)
{
    if (!pTarget || pTarget == &source)
        return;
    FreeListFilter(pTarget);
    pTarget->bActive = source.bActive;
    pTarget->nMode = source.nMode;
    for (int i = 0; i < LIST_FILTER_CONDITIONS; ++i) {
        const CListFilterCondition& from = source.conditions[i];
        CListFilterCondition& to = pTarget->conditions[i];
        to.nColumn = from.nColumn;
        to.nOperator = from.nOperator;
        to.nKind = from.nKind;
        to.pValue = from.pValue ? new CListFilterValue(*from.pValue) : nullptr;
    }
}

void SetListFilterCondition(
    CListFilter* pFilter, int nIndex, LONG nColumn, LONG nOperator, LONG nKind, const CListFilterValue& value)
{
    if (!pFilter || nIndex < 0 || nIndex >= LIST_FILTER_CONDITIONS)
        return;
    CListFilterCondition& condition = pFilter->conditions[nIndex];
    delete condition.pValue;
    condition.nColumn = nColumn;
    condition.nOperator = nOperator;
    condition.nKind = nKind;
    condition.pValue = nKind == FILTER_VALUE_NONE ? nullptr : new CListFilterValue(value);
}

BOOL ListFilterMatches(const CListFilter* pFilter, const CDocumentRec& document)
{
    if (!pFilter || !pFilter->bActive)
        return TRUE;
    bool bAny = pFilter->nMode == FILTER_ANY;
    bool bHadCondition = false;
    for (const CListFilterCondition& condition : pFilter->conditions) {
        if (condition.IsEmpty())
            continue;
        bHadCondition = true;
        bool bHolds = ConditionHolds(condition, document);
        if (bAny && bHolds)
            return TRUE;
        if (!bAny && !bHolds)
            return FALSE;
    }
    return !bHadCondition || !bAny;
}

/******************************************************************************
 * Registry
 ******************************************************************************/

BOOL LoadListFilter(HKEY hKey, CListFilter* pFilter)
{
    CRegistryKey key;
    if (!pFilter || !key.Open(hKey, "Filter", KEY_READ))
        return FALSE;
    // Everything is read into a new filter first, so a damaged key changes nothing.
    CListFilter loaded;
    bool bRead = QueryLong(key, "Active", &loaded.bActive) && QueryLong(key, "Mode", &loaded.nMode);
    for (int i = 0; bRead && i < LIST_FILTER_CONDITIONS; ++i) {
        CListFilterCondition& condition = loaded.conditions[i];
        bRead = QueryLong(key, ValueName("Col", i), &condition.nColumn)
            && QueryLong(key, ValueName("Op", i), &condition.nOperator)
            && QueryLong(key, ValueName("Kind", i), &condition.nKind);
        if (bRead && condition.nKind != FILTER_VALUE_NONE) {
            CListFilterValue value;
            bRead = condition.nKind >= FILTER_VALUE_NUMBER && condition.nKind <= FILTER_VALUE_RANGE
                && QueryValue(key, i, &value);
            if (bRead)
                condition.pValue = new CListFilterValue(std::move(value));
        }
    }
    if (bRead)
        CopyListFilter(pFilter, loaded);
    FreeListFilter(&loaded);
    return bRead ? TRUE : FALSE;
}

BOOL SaveListFilter(HKEY hKey, const CListFilter& filter)
{
    CRegistryKey key;
    if (!key.Create(hKey, "Filter"))
        return FALSE;
    bool bWritten = key.SetDWORD("Active", static_cast<DWORD>(filter.bActive))
        && key.SetDWORD("Mode", static_cast<DWORD>(filter.nMode));
    for (int i = 0; bWritten && i < LIST_FILTER_CONDITIONS; ++i) {
        const CListFilterCondition& condition = filter.conditions[i];
        LONG nKind = condition.pValue ? condition.nKind : FILTER_VALUE_NONE;
        bWritten = key.SetDWORD(ValueName("Col", i), static_cast<DWORD>(condition.nColumn))
            && key.SetDWORD(ValueName("Op", i), static_cast<DWORD>(condition.nOperator))
            && key.SetDWORD(ValueName("Kind", i), static_cast<DWORD>(nKind));
        if (bWritten && nKind != FILTER_VALUE_NONE)
            bWritten = SetValue(key, i, *condition.pValue);
    }
    return bWritten ? TRUE : FALSE;
}
