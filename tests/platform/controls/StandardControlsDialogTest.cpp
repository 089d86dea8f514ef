#include "platform/controls/ButtonControl.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/EditControl.h"
#include "platform/window/Dialog.h"
#include "platform/window/Focus.h"
#include "tests/platform/controls/ControlTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

// The standard controls as a program meets them: in a dialog made from a
// template, driven by keys that go through the dialog manager.

namespace {

// clang-format off
constexpr int ID_NOTES = 100, ID_ADDRESS = 101, ID_NAME = 102, ID_RADIO1 = 103, ID_RADIO2 = 104, ID_RADIO3 = 105,
              ID_COMBO = 106;
// clang-format on

DialogControlTemplate Control(const char* pszClass, int nId, DWORD dwStyle, const char* pszText, SHORT y)
{
    return { static_cast<DWORD>(nId), dwStyle | WS_CHILD | WS_VISIBLE, 0, 7, y, 120, 12, pszClass, pszText };
}

DialogTemplate Template(std::vector<DialogControlTemplate> controls)
{
    DialogTemplate dialog;
    dialog.dwStyle = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_SETFONT;
    dialog.cx = 200;
    dialog.cy = 160;
    dialog.nPointSize = 8;
    dialog.strFaceName = "DejaVu Sans";
    controls.push_back(Control("Button", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, "OK", 120));
    controls.push_back(Control("Button", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, "Cancel", 136));
    dialog.controls = std::move(controls);
    return dialog;
}

// What the dialog procedure saw: commands by ID and code, and the
// WM_MEASUREITEM questions; fnAnswer answers messages the test cares about.
struct DialogRecord {
    std::vector<std::pair<int, WORD>> commands;
    std::vector<UINT> measured;
    std::function<UINT(UINT nItem)> fnItemHeight;
};
thread_local DialogRecord* t_pRecord = nullptr;

INT_PTR CALLBACK RecordingDlgProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    if (uMsg == WM_INITDIALOG)
        return TRUE;
    if (!t_pRecord)
        return FALSE;
    if (uMsg == WM_COMMAND)
        t_pRecord->commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    if (uMsg == WM_MEASUREITEM && t_pRecord->fnItemHeight) {
        auto* pMis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        t_pRecord->measured.push_back(pMis->itemID);
        pMis->itemHeight = t_pRecord->fnItemHeight(pMis->itemID);
        SetWindowLongPtr(hDlg, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    return FALSE;
}

class StandardControlsDialogTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        t_pRecord = &m_record;
    }
    void TearDown() override
    {
        if (GetAsyncKeyState(VK_SHIFT) & 0x8000)
            InjectKeyEvent(VK_SHIFT, FALSE);
        if (m_hDlg)
            DestroyWindow(m_hDlg);
        t_pRecord = nullptr;
        ControlTest::TearDown();
    }

    HWND Open(std::vector<DialogControlTemplate> controls)
    {
        const DialogTemplate dialog = Template(std::move(controls));
        m_hDlg = CreateDialogIndirectParam(nullptr, &dialog, m_hParent, RecordingDlgProc, 0);
        EXPECT_NE(m_hDlg, nullptr);
        Pump();
        return m_hDlg;
    }
    // Runs the queue through the dialog's keyboard interface, as a modeless dialog's loop does.
    void Pump() const
    {
        MSG msg {};
        while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessage(m_hDlg, &msg)) {
                TranslateMessage(&msg);
                DispatchMessage(&msg);
            }
        }
    }
    void Press(UINT nKey, UINT nModifier = 0)
    {
        if (nModifier)
            InjectKeyEvent(nModifier, TRUE);
        InjectKeyEvent(nKey, TRUE);
        InjectKeyEvent(nKey, FALSE);
        if (nModifier)
            InjectKeyEvent(nModifier, FALSE);
        Pump();
    }
    HWND Item(int nId) const { return GetDlgItem(m_hDlg, nId); }
    std::string ItemText(int nId) const
    {
        char szText[256] {};
        GetDlgItemText(m_hDlg, nId, szText, sizeof(szText));
        return szText;
    }
    // The codes the dialog received from one control since the last call.
    std::vector<WORD> TakeCodes(int nId)
    {
        std::vector<WORD> codes;
        for (const auto& [nFrom, nCode] : m_record.commands) {
            if (nFrom == nId)
                codes.push_back(nCode);
        }
        m_record.commands.clear();
        return codes;
    }
    bool Pressed(int nId) const
    {
        return std::find(m_record.commands.begin(), m_record.commands.end(), std::pair<int, WORD> { nId, BN_CLICKED })
            != m_record.commands.end();
    }

    DialogRecord m_record;
    HWND m_hDlg { nullptr };
};

/***** Keys *****/

TEST_F(StandardControlsDialogTest, EnterInAMultiLineEditPressesTheDefaultButtonUnlessItWantsReturn)
{
    Open({ Control("Edit", ID_NOTES, ES_MULTILINE | WS_TABSTOP, "", 7),
        Control("Edit", ID_ADDRESS, ES_MULTILINE | ES_WANTRETURN | WS_TABSTOP, "", 40) });
    ASSERT_EQ(GetFocus(), Item(ID_NOTES));
    Press('A');
    Press(VK_RETURN);
    EXPECT_TRUE(Pressed(IDOK));
    EXPECT_EQ(ItemText(ID_NOTES), "a");

    m_record.commands.clear();
    SetFocus(Item(ID_ADDRESS));
    Press('B');
    Press(VK_RETURN);
    Press('C');
    EXPECT_FALSE(Pressed(IDOK));
    EXPECT_EQ(ItemText(ID_ADDRESS), "b\r\nc");
}

TEST_F(StandardControlsDialogTest, TabAndEscapeLeaveAMultiLineEdit)
{
    Open({ Control("Edit", ID_NOTES, ES_MULTILINE | WS_TABSTOP, "", 7),
        Control("Edit", ID_NAME, ES_AUTOHSCROLL | WS_TABSTOP, "", 40) });
    ASSERT_EQ(GetFocus(), Item(ID_NOTES));
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Item(ID_NAME));
    Press(VK_TAB, VK_SHIFT);
    EXPECT_EQ(GetFocus(), Item(ID_NOTES));
    EXPECT_EQ(ItemText(ID_NOTES), "");
    Press(VK_ESCAPE);
    EXPECT_TRUE(Pressed(IDCANCEL));
}

TEST_F(StandardControlsDialogTest, TabEntersARadioGroupOnTheCheckedButton)
{
    Open({ Control("Edit", ID_NAME, ES_AUTOHSCROLL | WS_TABSTOP, "", 7),
        Control("Button", ID_RADIO1, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, "One", 30),
        Control("Button", ID_RADIO2, BS_AUTORADIOBUTTON, "Two", 45),
        Control("Button", ID_RADIO3, BS_AUTORADIOBUTTON, "Three", 60) });
    CheckRadioButton(m_hDlg, ID_RADIO1, ID_RADIO3, ID_RADIO3);
    ASSERT_EQ(GetFocus(), Item(ID_NAME));
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Item(ID_RADIO3));
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Item(IDOK));
    Press(VK_TAB, VK_SHIFT);
    EXPECT_EQ(GetFocus(), Item(ID_RADIO3));

    // An arrow moves the check inside the group, and the way back in follows it.
    Press(VK_UP);
    EXPECT_EQ(GetFocus(), Item(ID_RADIO2));
    EXPECT_EQ(SendMessage(Item(ID_RADIO2), BM_GETCHECK, 0, 0), BST_CHECKED);
    Press(VK_TAB, VK_SHIFT);
    EXPECT_EQ(GetFocus(), Item(ID_NAME));
    Press(VK_TAB);
    EXPECT_EQ(GetFocus(), Item(ID_RADIO2));
    EXPECT_FALSE(GetWindowLongPtr(Item(ID_RADIO1), GWL_STYLE) & WS_TABSTOP);
}

TEST_F(StandardControlsDialogTest, FocusingADropDownComboSelectsItsText)
{
    Open({ Control("Edit", ID_NAME, ES_AUTOHSCROLL | WS_TABSTOP, "", 7),
        Control("ComboBox", ID_COMBO, CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_TABSTOP, "", 30) });
    SetDlgItemText(m_hDlg, ID_COMBO, "Quarterly");
    Press(VK_TAB);
    EXPECT_EQ(GetParent(GetFocus()), Item(ID_COMBO));
    EXPECT_EQ(SendMessage(Item(ID_COMBO), CB_GETEDITSEL, 0, 0), MAKELONG(0, 9));
    // Typing replaces the selected text, as in a dialog's edit.
    Press('Q');
    EXPECT_EQ(ItemText(ID_COMBO), "q");
}

/***** Texts *****/

TEST_F(StandardControlsDialogTest, SetTextKeepsTheWholeTextAndLeavesMultiLineEditsUnchanged)
{
    Open({ Control("Edit", ID_NAME, ES_AUTOHSCROLL | WS_TABSTOP, "", 7),
        Control("Edit", ID_NOTES, ES_MULTILINE | WS_TABSTOP, "", 40) });
    m_record.commands.clear();
    // A data exchange round trip gives back what it was given.
    SetDlgItemText(m_hDlg, ID_NAME, "first\r\nsecond");
    EXPECT_EQ(ItemText(ID_NAME), "first\r\nsecond");
    EXPECT_EQ(TakeCodes(ID_NAME), (std::vector<WORD> { EN_UPDATE, EN_CHANGE }));

    SetDlgItemText(m_hDlg, ID_NOTES, "notes\r\nmore");
    EXPECT_EQ(ItemText(ID_NOTES), "notes\r\nmore");
    EXPECT_TRUE(TakeCodes(ID_NOTES).empty());
    EXPECT_FALSE(SendDlgItemMessage(m_hDlg, ID_NOTES, EM_GETMODIFY, 0, 0));
    // What the user types still tells the dialog.
    SetFocus(Item(ID_NOTES));
    TakeCodes(ID_NOTES);
    Press('X');
    EXPECT_EQ(TakeCodes(ID_NOTES), (std::vector<WORD> { EN_UPDATE, EN_CHANGE }));
}

TEST_F(StandardControlsDialogTest, OwnerDrawnComboAsksForItsSelectionFieldFirst)
{
    m_record.fnItemHeight = [](UINT nItem) { return nItem == static_cast<UINT>(-1) ? 30u : 18u; };
    Open({ Control("ComboBox", ID_COMBO, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_TABSTOP, "", 7) });
    EXPECT_EQ(m_record.measured, (std::vector<UINT> { static_cast<UINT>(-1), 0u }));
    EXPECT_EQ(SendDlgItemMessage(m_hDlg, ID_COMBO, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), 30);
    EXPECT_EQ(SendDlgItemMessage(m_hDlg, ID_COMBO, CB_GETITEMHEIGHT, 0, 0), 18);
    RECT rc {};
    GetWindowRect(Item(ID_COMBO), &rc);
    EXPECT_GT(rc.bottom - rc.top, 30);
}

} // namespace
