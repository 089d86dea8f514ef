// The list filter and find options dialogs: what they show, what they give
// back, and that read-only use, Cancel and refused values change nothing.

#include "dialogs/documents/CDlgFindOptions.h"
#include "dialogs/documents/CDlgSearchCriteria.h"
#include "frame/FindSettings.h"
#include "resources/ResourceIds.h"
#include "store/CatalogColumns.h"
#include "tests/dialogs/DialogTestSupport.h"
#include "tests/support/ReferenceScreenshot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace {

constexpr LONGLONG DAY = 86400;
constexpr LONGLONG DAY_2001_12_31 = 11687 * DAY;

CListFilterValue Value(LONGLONG nNumber, LONGLONG nEnd = 0, const char* pszText = "")
{
    CListFilterValue value;
    value.nNumber = nNumber;
    value.nEnd = nEnd;
    value.strText = pszText;
    return value;
}

// Every word of the two filters and their values agree.
void ExpectSameFilter(const CListFilter& actual, const CListFilter& expected)
{
    EXPECT_EQ(actual.bActive, expected.bActive);
    EXPECT_EQ(actual.nMode, expected.nMode);
    for (int i = 0; i < LIST_FILTER_CONDITIONS; ++i) {
        const CListFilterCondition& a = actual.conditions[i];
        const CListFilterCondition& e = expected.conditions[i];
        EXPECT_EQ(a.nColumn, e.nColumn) << i;
        EXPECT_EQ(a.nOperator, e.nOperator) << i;
        EXPECT_EQ(a.nKind, e.nKind) << i;
        ASSERT_EQ(a.pValue == nullptr, e.pValue == nullptr) << i;
        if (a.pValue) {
            EXPECT_EQ(a.pValue->nNumber, e.pValue->nNumber) << i;
            EXPECT_EQ(a.pValue->nEnd, e.pValue->nEnd) << i;
            EXPECT_EQ(a.pValue->strText, e.pValue->strText) << i;
        }
    }
}

class SearchDialogsTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        // Active (stored as 5), "any", and one condition of each value kind; the
        // date keeps a time of day that the dialog's day text cannot show.
        m_filter.bActive = 5;
        m_filter.nMode = FILTER_ANY;
        SetListFilterCondition(
            &m_filter, 0, COLUMN_DESCRIPTION, FILTER_OP_CONTAINS, FILTER_VALUE_TEXT, Value(0, 0, "Relatório"));
        SetListFilterCondition(&m_filter, 1, COLUMN_SIZE, FILTER_OP_LESS, FILTER_VALUE_NUMBER, Value(4096));
        SetListFilterCondition(
            &m_filter, 2, COLUMN_MODIFIED, FILTER_OP_GREATER, FILTER_VALUE_DATE, Value(DAY_2001_12_31 + 3600));
        SetListFilterCondition(&m_filter, 3, COLUMN_DATE, FILTER_OP_BETWEEN, FILTER_VALUE_RANGE,
            Value(DAY_2001_12_31, DAY_2001_12_31 + 31 * DAY));
    }
    void TearDown() override
    {
        FreeListFilter(&m_filter);
        DialogTest::TearDown();
    }
    // Shows the dialog, compares its picture with the reference and closes it.
    void ExpectShows(CDialog& dlg, const char* pszReference)
    {
        m_driver.OnNextDialog([this, pszReference](HWND hDlg) {
            m_driver.Pump();
            if (std::optional<std::string> mismatch
                = ScreenshotMismatch(hDlg, SourceRoot() / "tests/dialogs/documents/data" / pszReference, m_pictures))
                ADD_FAILURE() << *mismatch;
            EndDialog(hDlg, IDCANCEL);
        });
        dlg.DoModal();
    }

    CListFilter m_filter;
    TempFolder m_pictures;
};

} // namespace

TEST(SearchCriteriaDaysTest, DaysReadAndWriteAsYearMonthDayAndBadDatesAreRefused)
{
    EXPECT_EQ(CDlgSearchCriteria::FormatDay(DAY_2001_12_31 + DAY - 1), CString("2001-12-31"));
    EXPECT_EQ(CDlgSearchCriteria::FormatDay(-1), CString("1969-12-31"));
    LONGLONG tDay = 0;
    ASSERT_TRUE(CDlgSearchCriteria::ParseDay("2001-12-31", &tDay));
    EXPECT_EQ(tDay, DAY_2001_12_31);
    for (const char* pszBad : { "", "2001-02-29", "2001-13-01", "2001-12-31x", "31/12/2001", "10000-01-01" })
        EXPECT_FALSE(CDlgSearchCriteria::ParseDay(pszBad, &tDay)) << pszBad;
}

TEST_F(SearchDialogsTest, EveryFieldShowsAndComesBackExactlyWhenLeftAlone)
{
    // A condition the dialog cannot show stays too.
    SetListFilterCondition(&m_filter, 1, 9999, 42, FILTER_VALUE_NUMBER, Value(7));
    CDlgSearchCriteria dlg(m_filter);
    CDialogScript script;
    script
        .Then([](HWND hDlg) {
            EXPECT_TRUE(CTestDriver::IsChecked(::GetDlgItem(hDlg, IDC_CRITERIA_ACTIVE)));
            EXPECT_TRUE(CTestDriver::IsChecked(::GetDlgItem(hDlg, IDC_CRITERIA_ANY)));
            EXPECT_EQ(CTestDriver::Selection(::GetDlgItem(hDlg, IDC_CRITERIA_OPERATOR_1)), FILTER_OP_CONTAINS);
            EXPECT_EQ(CTestDriver::Text(::GetDlgItem(hDlg, IDC_CRITERIA_VALUE_1)), CString("Relatório"));
            EXPECT_EQ(CTestDriver::Selection(::GetDlgItem(hDlg, IDC_CRITERIA_COLUMN_2)), 0) << "unknown column";
            EXPECT_EQ(CTestDriver::Text(::GetDlgItem(hDlg, IDC_CRITERIA_VALUE_3)), CString("2001-12-31"));
            EXPECT_EQ(CTestDriver::Text(::GetDlgItem(hDlg, IDC_CRITERIA_END_4)), CString("2002-01-31"));
            EXPECT_FALSE(CTestDriver::IsEnabled(::GetDlgItem(hDlg, IDC_CRITERIA_END_3))) << "not a range";
            EXPECT_TRUE(CTestDriver::IsEnabled(::GetDlgItem(hDlg, IDC_CRITERIA_END_4)));
        })
        .Press(IDOK);
    Answer(script);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    ExpectSameFilter(dlg.GetFilter(), m_filter);
}

TEST_F(SearchDialogsTest, EditedRowsBecomeConditionsOfTheirColumnsKind)
{
    CDlgSearchCriteria dlg(m_filter);
    CDialogScript script;
    script.Uncheck(IDC_CRITERIA_ACTIVE)
        .Check(IDC_CRITERIA_ALL)
        .Uncheck(IDC_CRITERIA_ANY)
        .Select(IDC_CRITERIA_COLUMN_1, 0)
        .Select(IDC_CRITERIA_OPERATOR_2, FILTER_OP_GREATER)
        .SetText(IDC_CRITERIA_VALUE_2, "12k")
        .Press(IDOK)
        .SetText(IDC_CRITERIA_VALUE_2, "12000")
        .Select(IDC_CRITERIA_OPERATOR_3, FILTER_OP_CONTAINS)
        .Press(IDOK)
        .Select(IDC_CRITERIA_OPERATOR_3, FILTER_OP_BETWEEN)
        .SetText(IDC_CRITERIA_VALUE_3, "2001-12-01")
        .SetText(IDC_CRITERIA_END_3, "2001-12-32")
        .Press(IDOK)
        .SetText(IDC_CRITERIA_END_3, "2001-12-31")
        .Select(IDC_CRITERIA_COLUMN_4, "Type")
        .Select(IDC_CRITERIA_OPERATOR_4, FILTER_OP_NOT_CONTAINS)
        .SetText(IDC_CRITERIA_VALUE_4, "Mail")
        .Press(IDOK);
    Answer(script);
    for (int i = 0; i < 3; ++i)
        AnswerMessage();
    ASSERT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(m_messages.size(), 3u);
    EXPECT_EQ(m_messages[0], Text(IDS_CRITERIA_BAD_NUMBER));
    EXPECT_EQ(m_messages[1], Text(IDS_CRITERIA_BAD_OPERATOR)) << "dates are not contained";
    EXPECT_EQ(m_messages[2], Text(IDS_CRITERIA_BAD_DATE));

    CListFilter expected;
    expected.bActive = FALSE;
    expected.nMode = FILTER_ALL;
    SetListFilterCondition(&expected, 1, COLUMN_SIZE, FILTER_OP_GREATER, FILTER_VALUE_NUMBER, Value(12000));
    SetListFilterCondition(&expected, 2, COLUMN_MODIFIED, FILTER_OP_BETWEEN, FILTER_VALUE_RANGE,
        Value(DAY_2001_12_31 - 30 * DAY, DAY_2001_12_31));
    SetListFilterCondition(&expected, 3, COLUMN_TYPE, FILTER_OP_NOT_CONTAINS, FILTER_VALUE_TEXT, Value(0, 0, "Mail"));
    ExpectSameFilter(dlg.GetFilter(), expected);
    FreeListFilter(&expected);
}

TEST_F(SearchDialogsTest, ReadOnlyDisablesAllButCloseAndCancelKeepsTheFilter)
{
    CDlgSearchCriteria shown(m_filter);
    shown.SetReadOnly(TRUE);
    std::vector<int> enabled;
    CString strClose;
    CDialogScript look;
    look.Then([&](HWND hDlg) {
            for (HWND hChild = ::GetWindow(hDlg, GW_CHILD); hChild; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
                if (CTestDriver::IsEnabled(hChild))
                    enabled.push_back(::GetDlgCtrlID(hChild));
            }
            strClose = CTestDriver::Text(::GetDlgItem(hDlg, IDCANCEL));
            ::SendMessage(hDlg, WM_COMMAND, IDOK, 0); // Enter: refused
            ::SetWindowText(::GetDlgItem(hDlg, IDC_CRITERIA_VALUE_1), "changed");
        })
        .Press(IDCANCEL);
    Answer(look);
    EXPECT_EQ(shown.DoModal(), IDCANCEL);
    EXPECT_EQ(enabled, std::vector<int> { IDCANCEL });
    EXPECT_EQ(strClose, Text(IDS_CRITERIA_CLOSE));
    ExpectSameFilter(shown.GetFilter(), m_filter);

    CDlgSearchCriteria cancelled(m_filter);
    CDialogScript cancel;
    cancel.Uncheck(IDC_CRITERIA_ACTIVE)
        .Select(IDC_CRITERIA_COLUMN_1, 0)
        .SetText(IDC_CRITERIA_VALUE_2, "1")
        .Press(IDCANCEL);
    Answer(cancel);
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    ExpectSameFilter(cancelled.GetFilter(), m_filter);
}

TEST_F(SearchDialogsTest, FindOptionsShowTheFindSettingsAndOnlyOkWritesThem)
{
    CFindSettings settings;
    CDlgFindOptions cancelled(settings);
    CDialogScript cancel;
    cancel.Check(IDC_FIND_MATCH_CASE).Press(IDCANCEL);
    Answer(cancel);
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_FALSE(settings.GetFind().bMatchCase);

    CDlgFindOptions dlg(settings);
    CDialogScript script;
    script
        .Then([](HWND hDlg) {
            EXPECT_TRUE(CTestDriver::IsChecked(::GetDlgItem(hDlg, IDC_FIND_PHRASE)));
            EXPECT_TRUE(CTestDriver::IsChecked(::GetDlgItem(hDlg, IDC_FIND_SCOPE_CATALOG)));
            EXPECT_EQ(CTestDriver::Selection(::GetDlgItem(hDlg, IDC_FIND_FIELD)), 1) << "the name";
            EXPECT_TRUE(CTestDriver::IsChecked(::GetDlgItem(hDlg, IDC_FIND_OPEN_FIND_BAR)));
        })
        .Check(IDC_FIND_ANY_WORD)
        .Uncheck(IDC_FIND_PHRASE)
        .Check(IDC_FIND_SCOPE_LIST)
        .Uncheck(IDC_FIND_SCOPE_CATALOG)
        .Select(IDC_FIND_FIELD, 4)
        .Check(IDC_FIND_MATCH_CASE)
        .Check(IDC_FIND_WHOLE_WORD)
        .Check(IDC_FIND_RECYCLE)
        .Check(IDC_FIND_RESULT_LIST)
        .Uncheck(IDC_FIND_OPEN_FIND_BAR)
        .Press(IDOK);
    Answer(script);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    const CFindRecord& find = settings.GetFind();
    EXPECT_EQ(find.nType, FIND_TYPE_ANY_WORD);
    EXPECT_EQ(find.nScope, 2);
    EXPECT_EQ(find.nField, 4);
    EXPECT_TRUE(find.bMatchCase && find.bWholeWord && find.bRecycle && find.bResultList);
    EXPECT_FALSE(find.bOpenFindBar);
}

TEST_F(SearchDialogsTest, BothDialogsLookAsTheirReferences)
{
    CDlgSearchCriteria criteria(m_filter);
    ExpectShows(criteria, "search_criteria.png");
    CFindSettings settings;
    CDlgFindOptions options(settings);
    ExpectShows(options, "find_options.png");
}
