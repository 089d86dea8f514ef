#include "platform/controls/DateTimeInternal.h"

#include "platform/base/TimeFormat.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// The fields of the short date form in their order, and the separators between them.
struct CDateForm {
    EDateField fields[DATE_FIELDS] { EDateField::Month, EDateField::Day, EDateField::Year };
    std::string separators[DATE_FIELDS - 1];
};

const CDateForm& DateForm()
{
    static const CDateForm form = [] {
        CDateForm result;
        int nField = -1;
        for (const char* p = SHORT_DATE_FORM; *p; ++p) {
            if (*p != '%' || !p[1]) {
                if (nField >= 0 && nField + 1 < DATE_FIELDS)
                    result.separators[nField] += *p;
                continue;
            }
            ++p;
            if (++nField < DATE_FIELDS)
                result.fields[nField] = *p == 'm' ? EDateField::Month : *p == 'd' ? EDateField::Day : EDateField::Year;
        }
        return result;
    }();
    return form;
}

int FieldValue(const SYSTEMTIME& st, EDateField eField)
{
    switch (eField) {
    case EDateField::Month:
        return st.wMonth;
    case EDateField::Day:
        return st.wDay;
    case EDateField::Year:
        return st.wYear;
    }
    return 0;
}

// Sets a field; a month or year change pulls the day back into the month.
SYSTEMTIME WithField(SYSTEMTIME st, EDateField eField, int nValue)
{
    switch (eField) {
    case EDateField::Month:
        st.wMonth = static_cast<WORD>(nValue);
        break;
    case EDateField::Day:
        st.wDay = static_cast<WORD>(nValue);
        return st;
    case EDateField::Year:
        st.wYear = static_cast<WORD>(nValue);
        break;
    }
    st.wDay = static_cast<WORD>(std::min<int>(st.wDay, DaysInMonth(st.wYear, st.wMonth)));
    return st;
}

} // namespace

CShownDate ShowDate(const SYSTEMTIME& st)
{
    const CDateForm& form = DateForm();
    CShownDate shown {};
    for (int i = 0; i < DATE_FIELDS; ++i) {
        if (i > 0)
            shown.strText += form.separators[i - 1];
        char szField[8] {};
        std::snprintf(szField, sizeof(szField), form.fields[i] == EDateField::Year ? "%04d" : "%02d",
            FieldValue(st, form.fields[i]));
        shown.fields[i] = form.fields[i];
        shown.nBegin[i] = shown.strText.size();
        shown.strText += szField;
        shown.nEnd[i] = shown.strText.size();
    }
    return shown;
}

SYSTEMTIME SteppedField(const SYSTEMTIME& st, EDateField eField, int nDelta)
{
    const auto Round = [](int nValue, int nCount) { return ((nValue - 1) % nCount + nCount) % nCount + 1; };
    switch (eField) {
    case EDateField::Month:
        return WithField(st, eField, Round(st.wMonth + nDelta, 12));
    case EDateField::Day:
        return WithField(st, eField, Round(st.wDay + nDelta, DaysInMonth(st.wYear, st.wMonth)));
    case EDateField::Year: {
        const int nYear = st.wYear + nDelta;
        return nYear >= 1601 && nYear <= 9999 ? WithField(st, eField, nYear) : st;
    }
    }
    return st;
}

CTypedField TypedField(const SYSTEMTIME& st, EDateField eField, std::string_view digits)
{
    int nValue = 0;
    for (char c : digits)
        nValue = nValue * 10 + (c - '0');
    CTypedField typed { false, false, st };
    switch (eField) {
    case EDateField::Month:
        typed.bValid = nValue >= 1 && nValue <= 12;
        typed.bComplete = digits.size() >= 2 || nValue * 10 > 12;
        break;
    case EDateField::Day: {
        const int nDays = DaysInMonth(st.wYear, st.wMonth);
        typed.bValid = nValue >= 1 && nValue <= nDays;
        typed.bComplete = digits.size() >= 2 || nValue * 10 > nDays;
        break;
    }
    case EDateField::Year:
        typed.bComplete = digits.size() >= 4;
        typed.bValid = typed.bComplete && nValue >= 1601;
        break;
    }
    if (typed.bValid)
        typed.st = WithField(st, eField, nValue);
    return typed;
}
