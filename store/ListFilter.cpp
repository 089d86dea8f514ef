#include "store/ListFilter.h"

#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"
#include "store/CDocumentRec.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr LONGLONG SECONDS_PER_DAY = 86400;
// A value longer than this in the registry is damage: texts of the filter
// are at most a description's length.
constexpr DWORD MAX_VALUE_BYTES = 16 + 1024;

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
    case 4101:
        field.eKind = FieldKind::Text;
        document.GetFullPath(field.strText);
        break;
    case 4102:
        field.eKind = FieldKind::Text;
        document.GetNameWithLocation(field.strText);
        break;
    case 4113:
        field.eKind = FieldKind::Text;
        document.GetLabel(field.strText);
        break;
    case 4417:
        field.eKind = FieldKind::Text;
        document.GetAltNameWithLocation(field.strText);
        break;
    case 4111:
        field.eKind = FieldKind::Text;
        document.GetTypeName(field.strText);
        break;
    case 4108:
    case 4118:
        field.eKind = FieldKind::Date;
        field.nNumber = document.GetExpiry();
        break;
    case 4103:
        field.eKind = FieldKind::Number;
        field.nNumber = document.LoadState().nSize;
        break;
    case 4106:
        field.eKind = FieldKind::Date;
        field.nNumber = document.LoadState().tModified;
        break;
    case 4105:
        field.eKind = FieldKind::Date;
        field.nNumber = document.LoadState().tCreated;
        break;
    case 4107:
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

std::string ValueName(const char* pszPrefix, int nIndex)
{
    char szName[16];
    std::snprintf(szName, sizeof(szName), "%s%03d", pszPrefix, nIndex);
    return szName;
}

bool QueryDword(HKEY hKey, const std::string& strName, LONG* pnValue)
{
    DWORD dwType = 0, dwValue = 0, cbData = sizeof(dwValue);
    if (RegQueryValueEx(hKey, strName.c_str(), nullptr, &dwType, reinterpret_cast<BYTE*>(&dwValue), &cbData)
            != ERROR_SUCCESS
        || dwType != REG_DWORD || cbData != sizeof(dwValue))
        return false;
    *pnValue = static_cast<LONG>(dwValue);
    return true;
}

bool SetDword(HKEY hKey, const std::string& strName, LONG nValue)
{
    DWORD dwValue = static_cast<DWORD>(nValue);
    return RegSetValueEx(hKey, strName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dwValue), sizeof(dwValue))
        == ERROR_SUCCESS;
}

void PutInt64(std::vector<BYTE>* pBytes, LONGLONG nValue)
{
    for (int i = 0; i < 8; ++i)
        pBytes->push_back(static_cast<BYTE>(static_cast<ULONGLONG>(nValue) >> (8 * i)));
}

LONGLONG GetInt64(const BYTE* p)
{
    ULONGLONG nValue = 0;
    for (int i = 7; i >= 0; --i)
        nValue = nValue << 8 | p[i];
    return static_cast<LONGLONG>(nValue);
}

bool QueryValue(HKEY hKey, const std::string& strName, CListFilterValue* pValue)
{
    DWORD dwType = 0, cbData = 0;
    if (RegQueryValueEx(hKey, strName.c_str(), nullptr, &dwType, nullptr, &cbData) != ERROR_SUCCESS
        || dwType != REG_BINARY || cbData < 16 || cbData > MAX_VALUE_BYTES)
        return false;
    std::vector<BYTE> bytes(cbData);
    if (RegQueryValueEx(hKey, strName.c_str(), nullptr, &dwType, bytes.data(), &cbData) != ERROR_SUCCESS
        || cbData != bytes.size())
        return false;
    pValue->nNumber = GetInt64(bytes.data());
    pValue->nEnd = GetInt64(bytes.data() + 8);
    pValue->strText = CString(reinterpret_cast<const char*>(bytes.data() + 16), static_cast<int>(cbData - 16));
    return true;
}

bool SetValue(HKEY hKey, const std::string& strName, const CListFilterValue& value)
{
    std::vector<BYTE> bytes;
    PutInt64(&bytes, value.nNumber);
    PutInt64(&bytes, value.nEnd);
    bytes.insert(bytes.end(), static_cast<const char*>(value.strText),
        static_cast<const char*>(value.strText) + value.strText.GetLength());
    return RegSetValueEx(hKey, strName.c_str(), 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()))
        == ERROR_SUCCESS;
}

// Closes a registry key when it goes out of scope.
class CKeyCloser {
public:
    explicit CKeyCloser(HKEY hKey)
        : m_hKey(hKey)
    {
    }
    ~CKeyCloser() { RegCloseKey(m_hKey); }
    CKeyCloser(const CKeyCloser&) = delete;
    CKeyCloser& operator=(const CKeyCloser&) = delete;

private:
    HKEY m_hKey;
};

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
    HKEY hFilter = nullptr;
    if (!pFilter || RegOpenKeyEx(hKey, "Filter", 0, KEY_READ, &hFilter) != ERROR_SUCCESS)
        return FALSE;
    CKeyCloser closer(hFilter);
    // Everything is read into a new filter first, so a damaged key changes nothing.
    CListFilter loaded;
    bool bRead = QueryDword(hFilter, "Active", &loaded.bActive) && QueryDword(hFilter, "Mode", &loaded.nMode);
    for (int i = 0; bRead && i < LIST_FILTER_CONDITIONS; ++i) {
        CListFilterCondition& condition = loaded.conditions[i];
        bRead = QueryDword(hFilter, ValueName("Col", i), &condition.nColumn)
            && QueryDword(hFilter, ValueName("Op", i), &condition.nOperator)
            && QueryDword(hFilter, ValueName("Kind", i), &condition.nKind);
        if (bRead && condition.nKind != FILTER_VALUE_NONE) {
            CListFilterValue value;
            bRead = condition.nKind >= FILTER_VALUE_NUMBER && condition.nKind <= FILTER_VALUE_RANGE
                && QueryValue(hFilter, ValueName("Val", i), &value);
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
    HKEY hFilter = nullptr;
    if (RegCreateKeyEx(hKey, "Filter", 0, nullptr, 0, KEY_WRITE | KEY_READ, nullptr, &hFilter, nullptr)
        != ERROR_SUCCESS)
        return FALSE;
    CKeyCloser closer(hFilter);
    bool bWritten = SetDword(hFilter, "Active", filter.bActive) && SetDword(hFilter, "Mode", filter.nMode);
    for (int i = 0; bWritten && i < LIST_FILTER_CONDITIONS; ++i) {
        const CListFilterCondition& condition = filter.conditions[i];
        LONG nKind = condition.pValue ? condition.nKind : FILTER_VALUE_NONE;
        bWritten = SetDword(hFilter, ValueName("Col", i), condition.nColumn)
            && SetDword(hFilter, ValueName("Op", i), condition.nOperator)
            && SetDword(hFilter, ValueName("Kind", i), nKind);
        if (bWritten && nKind != FILTER_VALUE_NONE)
            bWritten = SetValue(hFilter, ValueName("Val", i), *condition.pValue);
        else if (bWritten)
            (void)RegDeleteValue(hFilter, ValueName("Val", i).c_str()); // a value that is not there is what is wanted
    }
    return bWritten ? TRUE : FALSE;
}
