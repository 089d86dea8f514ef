#pragma once

// The list filter: the condition set a document list applies to its rows,
// edited by the search criteria dialog and kept in the registry per list and
// for the last find. It is an 18-word record: the active flag, the way the
// conditions combine, then four conditions of four words each (column ID,
// operator, value kind, value). An empty condition has column and operator -1
// and no value. Values of kinds 1, 3 and 4 (number, date, date range) and of
// kind 2 (text) are allocated: FreeListFilter frees them and CopyListFilter
// copies them.

#include "platform/base/CString.h"
#include "platform/base/Registry.h"

class CDocumentRec;

/* Combine modes (word 1). */
constexpr LONG FILTER_ALL = 0; // a document passes when every condition holds
constexpr LONG FILTER_ANY = 1; // ... when one condition holds

/* Operators. Texts compare without regard to case; dates and numbers as numbers. */
// clang-format off
constexpr LONG FILTER_OP_EQUAL        = 0;
constexpr LONG FILTER_OP_NOT_EQUAL    = 1;
constexpr LONG FILTER_OP_LESS         = 2; // before, for dates
constexpr LONG FILTER_OP_GREATER      = 3; // after, for dates
constexpr LONG FILTER_OP_CONTAINS     = 4; // texts only
constexpr LONG FILTER_OP_NOT_CONTAINS = 5; // texts only
constexpr LONG FILTER_OP_BETWEEN      = 6; // date ranges only, both ends included
// clang-format on

/* Value kinds. */
constexpr LONG FILTER_VALUE_NONE = 0;
constexpr LONG FILTER_VALUE_NUMBER = 1;
constexpr LONG FILTER_VALUE_TEXT = 2;
constexpr LONG FILTER_VALUE_DATE = 3;  // seconds since 1970
constexpr LONG FILTER_VALUE_RANGE = 4; // two dates

// The allocated value of a condition.
struct CListFilterValue {
    LONGLONG nNumber { 0 }; // a number, a date, or the start of a range
    LONGLONG nEnd { 0 };    // the end of a range
    CString strText;
};

struct CListFilterCondition {
    LONG nColumn { -1 };   // a column ID of the document list (CatalogColumns.h)
    LONG nOperator { -1 }; // FILTER_OP_...
    LONG nKind { FILTER_VALUE_NONE };
    CListFilterValue* pValue { nullptr };

    bool IsEmpty() const { return nColumn == -1 || nOperator == -1; }
};

constexpr int LIST_FILTER_CONDITIONS = 4;
constexpr int LIST_FILTER_WORDS = 18;

struct CListFilter {
    LONG bActive { FALSE };
    LONG nMode { FILTER_ALL };
    CListFilterCondition conditions[LIST_FILTER_CONDITIONS];
};

// Frees the values of the conditions and marks each condition empty; the
// active flag and the mode stay.
void FreeListFilter(CListFilter* pFilter);
// Frees *pTarget's values, then makes it a deep copy of source.
void CopyListFilter(CListFilter* pTarget, const CListFilter& source);
// Sets the value of a condition, replacing (and freeing) the one it had.
void SetListFilterCondition(
    CListFilter* pFilter, int nIndex, LONG nColumn, LONG nOperator, LONG nKind, const CListFilterValue& value);

// TRUE when the document passes the filter: always for a missing or inactive
// filter and for a filter without conditions. A condition that cannot be
// evaluated (an unknown column or operator, a value of the wrong kind) holds
// for nobody.
BOOL ListFilterMatches(const CListFilter* pFilter, const CDocumentRec& document);

// The filter in the subkey "Filter" of hKey (a CRegistryKey will do):
// "Active", "Mode", and per condition i "ColNNN", "OpNNN", "KindNNN" (DWORDs)
// and, when it has a value, "ValNNN" (a DWORD array: the low and high halves
// of the number, then of the end) and "TextNNN" (the text, cut to 199 bytes).
// LoadListFilter leaves *pFilter as it was and returns FALSE when the subkey
// is missing or a value is damaged; SaveListFilter returns FALSE when a value
// cannot be written.
BOOL LoadListFilter(HKEY hKey, CListFilter* pFilter);
BOOL SaveListFilter(HKEY hKey, const CListFilter& filter);
