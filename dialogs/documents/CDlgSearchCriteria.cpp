#include "dialogs/documents/CDlgSearchCriteria.h"

#include "resources/ResourceIds.h"
#include "store/CatalogColumns.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/MessageMap.h"
#include "platform/window/Window.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace {

constexpr LONGLONG SECONDS_PER_DAY = 86400;

enum class ColumnKind { Text, Number, Date };

struct CFilterColumn {
    LONG nColumn;
    ColumnKind eKind;
};

// The columns a condition can test, in the order the lists offer them (after "(none)").
// clang-format off
constexpr CFilterColumn FILTER_COLUMNS[] = {
    { COLUMN_NAME,        ColumnKind::Text },
    { COLUMN_DESCRIPTION, ColumnKind::Text },
    { COLUMN_LABEL,       ColumnKind::Text },
    { COLUMN_ALT_NAME,    ColumnKind::Text },
    { COLUMN_TYPE,        ColumnKind::Text },
    { COLUMN_SIZE,        ColumnKind::Number },
    { COLUMN_DATE,        ColumnKind::Date },
    { COLUMN_MODIFIED,    ColumnKind::Date },
    { COLUMN_CREATED,     ColumnKind::Date },
    { COLUMN_ACCESSED,    ColumnKind::Date },
};
// clang-format on

constexpr int OPERATOR_COUNT = FILTER_OP_BETWEEN + 1;

// The list position of a column, 0 ("(none)") for one the lists do not offer.
int ColumnChoice(LONG nColumn)
{
    for (size_t i = 0; i < std::size(FILTER_COLUMNS); ++i) {
        if (FILTER_COLUMNS[i].nColumn == nColumn)
            return static_cast<int>(i) + 1;
    }
    return 0;
}

bool OperatorFits(ColumnKind eKind, int nOperator)
{
    switch (eKind) {
    case ColumnKind::Text:
        return nOperator >= 0 && nOperator < FILTER_OP_BETWEEN;
    case ColumnKind::Number:
        return nOperator >= 0 && nOperator < FILTER_OP_CONTAINS;
    case ColumnKind::Date:
        return (nOperator >= 0 && nOperator < FILTER_OP_CONTAINS) || nOperator == FILTER_OP_BETWEEN;
    }
    return false;
}

bool ParseNumber(const CString& strText, LONGLONG* pnNumber)
{
    const char* pszText = strText;
    char* pEnd = nullptr;
    const long long nNumber = std::strtoll(pszText, &pEnd, 10);
    if (pEnd == pszText || *pEnd != '\0' || nNumber < 0)
        return false;
    *pnNumber = nNumber;
    return true;
}

CString NumberText(LONGLONG nNumber)
{
    char szText[32];
    std::snprintf(szText, sizeof(szText), "%lld", static_cast<long long>(nNumber));
    return szText;
}

} // namespace

BEGIN_MESSAGE_MAP(CDlgSearchCriteria, CDialog)
    ON_CONTROL_RANGE(
        CBN_SELCHANGE, IDC_CRITERIA_OPERATOR_1, IDC_CRITERIA_OPERATOR_4, &CDlgSearchCriteria::OnOperatorChanged)
END_MESSAGE_MAP()

CDlgSearchCriteria::CDlgSearchCriteria(const CListFilter& filter, CWnd* pParent)
    : CDialog(IDD_SEARCH_CRITERIA, pParent)
{
    CopyListFilter(&m_filter, filter);
}

CDlgSearchCriteria::~CDlgSearchCriteria()
{
    FreeListFilter(&m_filter);
}

CString CDlgSearchCriteria::FormatDay(LONGLONG tTime)
{
    using namespace std::chrono;
    const LONGLONG nDay = tTime >= 0 ? tTime / SECONDS_PER_DAY : -((-tTime + SECONDS_PER_DAY - 1) / SECONDS_PER_DAY);
    const year_month_day ymd { sys_days { days { nDay } } };
    char szText[32];
    std::snprintf(szText, sizeof(szText), "%04d-%02u-%02u", static_cast<int>(ymd.year()),
        static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return szText;
}

bool CDlgSearchCriteria::ParseDay(const CString& strText, LONGLONG* ptTime)
{
    using namespace std::chrono;
    int nYear = 0;
    unsigned nMonth = 0;
    unsigned nDay = 0;
    int nUsed = 0;
    const char* pszText = strText;
    if (std::sscanf(pszText, "%d-%u-%u%n", &nYear, &nMonth, &nDay, &nUsed) != 3 || pszText[nUsed] != '\0')
        return false;
    const year_month_day ymd { year { nYear }, month { nMonth }, day { nDay } };
    if (!ymd.ok() || nYear < 1 || nYear > 9999)
        return false;
    *ptTime = static_cast<LONGLONG>(sys_days { ymd }.time_since_epoch().count()) * SECONDS_PER_DAY;
    return true;
}

BOOL CDlgSearchCriteria::OnInitDialog()
{
    CDialog::OnInitDialog();
    CheckDlgButton(IDC_CRITERIA_ACTIVE, m_filter.bActive ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(
        IDC_CRITERIA_ALL, IDC_CRITERIA_ANY, m_filter.nMode == FILTER_ANY ? IDC_CRITERIA_ANY : IDC_CRITERIA_ALL);
    CString strText;
    for (int nRow = 0; nRow < LIST_FILTER_CONDITIONS; ++nRow) {
        strText.LoadString(IDS_CRITERIA_NO_COLUMN);
        SendDlgItemMessage(
            IDC_CRITERIA_COLUMN_1 + nRow, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strText)));
        for (const CFilterColumn& column : FILTER_COLUMNS) {
            strText.LoadString(static_cast<UINT>(column.nColumn));
            SendDlgItemMessage(
                IDC_CRITERIA_COLUMN_1 + nRow, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strText)));
        }
        for (int nOperator = 0; nOperator < OPERATOR_COUNT; ++nOperator) {
            strText.LoadString(static_cast<UINT>(IDS_CRITERIA_OP_EQUAL + nOperator));
            SendDlgItemMessage(IDC_CRITERIA_OPERATOR_1 + nRow, CB_ADDSTRING, 0,
                reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(strText)));
        }
        ShowCondition(nRow);
        EnableEnd(nRow);
        m_shown[nRow] = ReadRow(nRow);
    }
    if (m_bReadOnly)
        DisableAllButClose();
    return TRUE;
}

void CDlgSearchCriteria::ShowCondition(int nRow)
{
    const CListFilterCondition& condition = m_filter.conditions[nRow];
    const int nColumnChoice = condition.IsEmpty() ? 0 : ColumnChoice(condition.nColumn);
    SendDlgItemMessage(IDC_CRITERIA_COLUMN_1 + nRow, CB_SETCURSEL, static_cast<WPARAM>(nColumnChoice));
    const bool bKnownOperator = condition.nOperator >= 0 && condition.nOperator < OPERATOR_COUNT;
    SendDlgItemMessage(IDC_CRITERIA_OPERATOR_1 + nRow, CB_SETCURSEL,
        static_cast<WPARAM>(bKnownOperator && nColumnChoice > 0 ? condition.nOperator : -1));
    CString strValue;
    CString strEnd;
    if (const CListFilterValue* pValue = condition.pValue; pValue && nColumnChoice > 0) {
        switch (condition.nKind) {
        case FILTER_VALUE_TEXT:
            strValue = pValue->strText;
            break;
        case FILTER_VALUE_NUMBER:
            strValue = NumberText(pValue->nNumber);
            break;
        case FILTER_VALUE_DATE:
            strValue = FormatDay(pValue->nNumber);
            break;
        case FILTER_VALUE_RANGE:
            strValue = FormatDay(pValue->nNumber);
            strEnd = FormatDay(pValue->nEnd);
            break;
        default:
            break;
        }
    }
    SetDlgItemText(IDC_CRITERIA_VALUE_1 + nRow, strValue);
    SetDlgItemText(IDC_CRITERIA_END_1 + nRow, strEnd);
}

void CDlgSearchCriteria::OnOperatorChanged(UINT nId)
{
    EnableEnd(static_cast<int>(nId) - IDC_CRITERIA_OPERATOR_1);
}

void CDlgSearchCriteria::EnableEnd(int nRow)
{
    const auto nOperator = SendDlgItemMessage(IDC_CRITERIA_OPERATOR_1 + nRow, CB_GETCURSEL);
    if (CWnd* pEnd = GetDlgItem(IDC_CRITERIA_END_1 + nRow))
        pEnd->EnableWindow(nOperator == FILTER_OP_BETWEEN && !m_bReadOnly);
}

CDlgSearchCriteria::CRowShown CDlgSearchCriteria::ReadRow(int nRow) const
{
    CRowShown shown;
    shown.nColumnChoice = static_cast<int>(SendDlgItemMessage(IDC_CRITERIA_COLUMN_1 + nRow, CB_GETCURSEL));
    shown.nOperatorChoice = static_cast<int>(SendDlgItemMessage(IDC_CRITERIA_OPERATOR_1 + nRow, CB_GETCURSEL));
    GetDlgItemText(IDC_CRITERIA_VALUE_1 + nRow, shown.strValue);
    GetDlgItemText(IDC_CRITERIA_END_1 + nRow, shown.strEnd);
    return shown;
}

BOOL CDlgSearchCriteria::TakeCondition(int nRow)
{
    const CRowShown shown = ReadRow(nRow);
    if (shown == m_shown[nRow])
        return TRUE;
    if (shown.nColumnChoice <= 0) {
        SetListFilterCondition(&m_filter, nRow, -1, -1, FILTER_VALUE_NONE, {});
        return TRUE;
    }
    const CFilterColumn& column = FILTER_COLUMNS[shown.nColumnChoice - 1];
    auto refuse = [this](int nId, UINT nIdMessage) {
        AfxMessageBox(nIdMessage, MB_ICONEXCLAMATION);
        GotoDlgCtrl(GetDlgItem(nId));
        return FALSE;
    };
    if (!OperatorFits(column.eKind, shown.nOperatorChoice))
        return refuse(IDC_CRITERIA_OPERATOR_1 + nRow, IDS_CRITERIA_BAD_OPERATOR);
    CListFilterValue value;
    LONG nKind = FILTER_VALUE_TEXT;
    switch (column.eKind) {
    case ColumnKind::Text:
        value.strText = shown.strValue;
        break;
    case ColumnKind::Number:
        nKind = FILTER_VALUE_NUMBER;
        if (!ParseNumber(shown.strValue, &value.nNumber))
            return refuse(IDC_CRITERIA_VALUE_1 + nRow, IDS_CRITERIA_BAD_NUMBER);
        break;
    case ColumnKind::Date:
        nKind = shown.nOperatorChoice == FILTER_OP_BETWEEN ? FILTER_VALUE_RANGE : FILTER_VALUE_DATE;
        if (!ParseDay(shown.strValue, &value.nNumber))
            return refuse(IDC_CRITERIA_VALUE_1 + nRow, IDS_CRITERIA_BAD_DATE);
        if (nKind == FILTER_VALUE_RANGE && !ParseDay(shown.strEnd, &value.nEnd))
            return refuse(IDC_CRITERIA_END_1 + nRow, IDS_CRITERIA_BAD_DATE);
        break;
    }
    SetListFilterCondition(&m_filter, nRow, column.nColumn, shown.nOperatorChoice, nKind, value);
    return TRUE;
}

void CDlgSearchCriteria::OnOK()
{
    if (m_bReadOnly)
        return;
    for (int nRow = 0; nRow < LIST_FILTER_CONDITIONS; ++nRow) {
        if (!TakeCondition(nRow))
            return;
    }
    // The stored flag stays as it was unless the box changed.
    const bool bActive = IsDlgButtonChecked(IDC_CRITERIA_ACTIVE) == BST_CHECKED;
    if (bActive != (m_filter.bActive != FALSE))
        m_filter.bActive = bActive ? TRUE : FALSE;
    // A mode the dialog cannot show stays while "every condition" stays chosen.
    if (IsDlgButtonChecked(IDC_CRITERIA_ANY) == BST_CHECKED)
        m_filter.nMode = FILTER_ANY;
    else if (m_filter.nMode == FILTER_ANY)
        m_filter.nMode = FILTER_ALL;
    EndDialog(IDOK);
}

void CDlgSearchCriteria::DisableAllButClose()
{
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(hChild) != IDCANCEL)
            ::EnableWindow(hChild, FALSE);
    }
    CString strClose;
    strClose.LoadString(IDS_CRITERIA_CLOSE);
    SetDlgItemText(IDCANCEL, strClose);
    GotoDlgCtrl(GetDlgItem(IDCANCEL));
}
