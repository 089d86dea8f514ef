#include "platform/testing/DialogScript.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/controls/StandardControls.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/Dialog.h"
#include "tests/platform/window/WindowTestSupport.h"

#include <string>
#include <vector>

namespace {

// clang-format off
constexpr int ID_NAME = 101, ID_CHECK = 102, ID_RADIO1 = 103, ID_RADIO2 = 104, ID_LIST = 105, ID_MULTI = 106,
              ID_COMBO = 107, ID_OFF = 108, ID_THREE = 109;
// clang-format on

DialogControlTemplate Control(const char* pszClass, int nId, DWORD dwStyle, SHORT y, SHORT cy = 12)
{
    return { static_cast<DWORD>(nId), dwStyle | WS_CHILD | WS_VISIBLE, 0, 7, y, 120, cy, pszClass, "" };
}

// An edit, a check box, a radio pair, a short sorted list, a multiple-selection
// list, a drop-down list, a disabled check box, a three-state box, OK and Cancel.
DialogTemplate ScriptedTemplate()
{
    DialogTemplate dialog;
    dialog.dwStyle = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT;
    dialog.cx = 200;
    dialog.cy = 230;
    dialog.nPointSize = 8;
    dialog.nWeight = 400;
    dialog.strFaceName = "DejaVu Sans";
    dialog.strCaption = "Scripted";
    dialog.controls = {
        Control("Edit", ID_NAME, WS_TABSTOP | ES_AUTOHSCROLL, 7),
        Control("Button", ID_CHECK, BS_AUTOCHECKBOX | WS_TABSTOP, 22, 10),
        Control("Button", ID_RADIO1, BS_AUTORADIOBUTTON | WS_GROUP, 34, 10),
        Control("Button", ID_RADIO2, BS_AUTORADIOBUTTON, 46, 10),
        Control("ListBox", ID_LIST, LBS_SORT | LBS_NOTIFY | WS_VSCROLL | WS_GROUP, 58, 30),
        Control("ListBox", ID_MULTI, LBS_MULTIPLESEL, 92, 40),
        Control("ComboBox", ID_COMBO, CBS_DROPDOWNLIST | WS_VSCROLL, 136, 60),
        Control("Button", ID_OFF, BS_AUTOCHECKBOX | WS_DISABLED, 152, 10),
        Control("Button", ID_THREE, BS_AUTO3STATE, 164, 10),
        { static_cast<DWORD>(IDOK), WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, 0, 90, 205, 50, 14, "Button", "OK" },
        { static_cast<DWORD>(IDCANCEL), WS_CHILD | WS_VISIBLE, 0, 143, 205, 50, 14, "Button", "Cancel" },
    };
    return dialog;
}

// What the dialog showed when OK was pressed, and the notifications it had.
struct DialogValues {
    std::string strName;
    bool bChecked { false };
    bool bRadio2 { false };
    int nThree { -1 };
    std::vector<CString> listItems;
    int nList { -1 };
    std::vector<int> multi;
    int nCombo { -1 };
    std::vector<std::pair<int, int>> notifications; // (control, code) of EN_CHANGE, LBN_SELCHANGE, CBN_SELCHANGE
};
thread_local DialogValues* t_pValues = nullptr;

INT_PTR CALLBACK ScriptedDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM)
{
    if (uMsg == WM_INITDIALOG) {
        for (LPCSTR lpsz : { "pear", "10", "Apple", "2", "fig", "banana", "kiwi" })
            SendDlgItemMessage(hDlg, ID_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpsz));
        for (LPCSTR lpsz : { "red", "green", "blue" }) {
            SendDlgItemMessage(hDlg, ID_MULTI, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpsz));
            SendDlgItemMessage(hDlg, ID_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpsz));
        }
        SendDlgItemMessage(hDlg, ID_MULTI, LB_SETSEL, TRUE, 2);
        if (t_pValues)
            t_pValues->notifications.clear(); // only what the script causes
        return TRUE;
    }
    if (uMsg != WM_COMMAND || !t_pValues)
        return FALSE;
    const int nId = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    if ((nId == ID_NAME && nCode == EN_CHANGE) || (nId == ID_LIST && nCode == LBN_SELCHANGE)
        || (nId == ID_COMBO && nCode == CBN_SELCHANGE))
        t_pValues->notifications.emplace_back(nId, nCode);
    if (nId == IDOK && nCode == BN_CLICKED) {
        t_pValues->strName = static_cast<LPCTSTR>(CTestDriver::Text(GetDlgItem(hDlg, ID_NAME)));
        t_pValues->bChecked = IsDlgButtonChecked(hDlg, ID_CHECK) == BST_CHECKED;
        t_pValues->bRadio2 = IsDlgButtonChecked(hDlg, ID_RADIO2) == BST_CHECKED;
        t_pValues->nThree = static_cast<int>(IsDlgButtonChecked(hDlg, ID_THREE));
        t_pValues->listItems = CTestDriver::Items(GetDlgItem(hDlg, ID_LIST));
        t_pValues->nList = CTestDriver::Selection(GetDlgItem(hDlg, ID_LIST));
        t_pValues->multi = CTestDriver::SelectedItems(GetDlgItem(hDlg, ID_MULTI));
        t_pValues->nCombo = CTestDriver::Selection(GetDlgItem(hDlg, ID_COMBO));
        EndDialog(hDlg, IDOK);
    }
    if (nId == IDCANCEL && nCode == BN_CLICKED)
        EndDialog(hDlg, IDCANCEL);
    return TRUE;
}

class DialogScriptTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ASSERT_TRUE(RegisterStandardControls());
        m_hOwner = CreateRecordingWindow(WS_POPUP | WS_VISIBLE, 0, 0, 500, 400);
        t_pValues = &m_values;
    }
    void TearDown() override
    {
        t_pValues = nullptr;
        DestroyWindow(m_hOwner);
        WindowTest::TearDown();
    }

    INT_PTR RunDialog(CDialogScript script)
    {
        m_driver.AnswerNextDialog(std::move(script));
        DialogTemplate dialog = ScriptedTemplate();
        return DialogBoxIndirectParam(nullptr, &dialog, m_hOwner, ScriptedDlgProc, 0);
    }

    CTestDriver m_driver;
    DialogValues m_values;
    HWND m_hOwner { nullptr };
};

} // namespace

TEST_F(DialogScriptTest, StepsActAsTheUserAndTheDialogSeesTheirNotifications)
{
    CDialogScript script;
    script.SetText(ID_NAME, "Ana Lima")
        .Check(ID_CHECK)
        .Check(ID_RADIO2)
        .Check(ID_THREE, BST_INDETERMINATE)
        .Select(ID_LIST, "KIWI")
        .Select(ID_MULTI, 0)
        .Select(ID_COMBO, "blue")
        .Press(IDOK);
    EXPECT_EQ(RunDialog(std::move(script)), IDOK);
    EXPECT_TRUE(m_driver.ScriptErrors().empty());

    EXPECT_EQ(m_values.strName, "Ana Lima");
    EXPECT_TRUE(m_values.bChecked);
    EXPECT_TRUE(m_values.bRadio2);
    EXPECT_EQ(m_values.nThree, static_cast<int>(BST_INDETERMINATE));
    // The sorted list holds its items in the word sort; kiwi had to be scrolled to.
    EXPECT_EQ(m_values.listItems, (std::vector<CString> { "10", "2", "Apple", "banana", "fig", "kiwi", "pear" }));
    EXPECT_EQ(m_values.nList, 5);
    EXPECT_EQ(m_values.multi, (std::vector<int> { 0, 2 }));
    EXPECT_EQ(m_values.nCombo, 2);
    EXPECT_EQ(m_values.notifications,
        (std::vector<std::pair<int, int>> {
            { ID_NAME, EN_CHANGE }, { ID_LIST, LBN_SELCHANGE }, { ID_COMBO, CBN_SELCHANGE } }));
}

TEST_F(DialogScriptTest, ThenStepsSeeTheDialogBetweenActions)
{
    HWND hFocusSeen = nullptr;
    CString strSeen;
    CDialogScript script;
    script.SetText(ID_NAME, "x").Then([&](HWND hDlg) {
        hFocusSeen = CTestDriver::Focus();
        strSeen = CTestDriver::Text(GetDlgItem(hDlg, ID_NAME));
    });
    script.Press(IDCANCEL);
    EXPECT_EQ(RunDialog(std::move(script)), IDCANCEL);
    EXPECT_EQ(strSeen, "x");
    EXPECT_NE(hFocusSeen, nullptr);
    EXPECT_TRUE(m_driver.ScriptErrors().empty());
}

TEST_F(DialogScriptTest, StepsAUserCouldNotDoStopTheScriptAndCancel)
{
    struct Case {
        const char* pszName;
        std::function<void(CDialogScript&)> build;
        const char* pszError;
    };
    const Case cases[] = {
        { "missing control", [](CDialogScript& s) { s.SetText(999, "x").Press(IDOK); }, "step 1: no control 999" },
        { "disabled control", [](CDialogScript& s) { s.Check(ID_OFF).Press(IDOK); },
            "step 1: control 108 is disabled" },
        { "item out of range", [](CDialogScript& s) { s.Select(ID_COMBO, 3).Press(IDOK); },
            "step 1: control 107 has no item 3" },
        { "unknown item", [](CDialogScript& s) { s.Select(ID_LIST, "plum"); },
            "step 1: control 105 has no item \"plum\"" },
        { "step after the end", [](CDialogScript& s) { s.Press(IDCANCEL).SetText(ID_NAME, "late"); },
            "step 2: the dialog has already ended" },
        { "dialog left open", [](CDialogScript& s) { s.Check(ID_CHECK); }, "the script left the dialog open" },
    };
    size_t nErrors = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_values = DialogValues {};
        CDialogScript script;
        c.build(script);
        EXPECT_EQ(RunDialog(std::move(script)), IDCANCEL);
        EXPECT_TRUE(m_values.strName.empty()) << "OK was not pressed";
        ASSERT_EQ(m_driver.ScriptErrors().size(), ++nErrors);
        EXPECT_EQ(m_driver.ScriptErrors().back(), c.pszError);
    }
    EXPECT_TRUE(IsWindowEnabled(m_hOwner));
}
