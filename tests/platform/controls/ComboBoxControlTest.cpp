#include "platform/controls/ComboBoxControl.h"

#include "platform/controls/EditControl.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/window/Focus.h"
#include "tests/platform/controls/ControlTestSupport.h"

#include <string>

namespace {

class ComboBoxControlTest : public ControlTest {
protected:
    HWND CreateCombo(DWORD dwStyle, int cy = 150)
    {
        HWND hCombo = CreateControl("ComboBox", "", dwStyle, 10, 10, 150, cy, 500);
        for (LPCSTR lpsz : { "pear", "Apple", "fig" })
            SendMessage(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpsz));
        PumpUntilIdle();
        MessageLog::Instance().Take();
        return hCombo;
    }
    static std::string Text(HWND hWnd)
    {
        std::string text(static_cast<size_t>(GetWindowTextLength(hWnd)) + 1, '\0');
        text.resize(static_cast<size_t>(GetWindowText(hWnd, text.data(), static_cast<int>(text.size()))));
        return text;
    }
    std::vector<WORD> TakeCodes(HWND hCombo)
    {
        std::vector<WORD> codes;
        for (const CommandSent& command : TakeCommands()) {
            if (command.hControl == hCombo)
                codes.push_back(command.nCode);
        }
        return codes;
    }
    // The screen point of item nIndex of the dropped list.
    static POINT ItemPoint(HWND hCombo, int nIndex)
    {
        RECT rcList {};
        SendMessage(hCombo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rcList));
        const auto nHeight = static_cast<int>(SendMessage(hCombo, CB_GETITEMHEIGHT, 0, 0));
        return POINT { rcList.left + 10, rcList.top + 1 + nIndex * nHeight + nHeight / 2 };
    }
    void ClickScreen(POINT pt)
    {
        m_clock.Advance(5000);
        InjectMouseEvent(CMouseInput { EMouseAction::ButtonDown, EMouseButton::Left, pt, 0 });
        InjectMouseEvent(CMouseInput { EMouseAction::ButtonUp, EMouseButton::Left, pt, 0 });
        PumpUntilIdle();
    }
};

TEST_F(ComboBoxControlTest, DropDownListTakesTheFieldsHeightAndKeepsItemsSorted)
{
    // WS_VSCROLL is the list's: the field keeps its whole width.
    HWND hCombo = CreateCombo(CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL);
    RECT rc {};
    GetClientRect(hCombo, &rc);
    EXPECT_LT(rc.bottom, 40);
    EXPECT_EQ(rc.right, 150);
    char text[16] {};
    SendMessage(hCombo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Apple");
    EXPECT_EQ(SendMessage(hCombo, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessage(hCombo, CB_GETCURSEL, 0, 0), CB_ERR);
    EXPECT_EQ(SendMessage(hCombo, CB_LIMITTEXT, 5, 0), CB_ERR);
}

TEST_F(ComboBoxControlTest, SortedComboPutsAccentedNamesWithTheirBaseLetter)
{
    HWND hCombo = CreateCombo(CBS_DROPDOWN | CBS_SORT);
    // "Ángela", "Zoë" and "élan" would follow every ASCII name in code point order.
    for (LPCSTR lpsz : { "Zo\xC3\xAB", "\xC3\x81ngela", "\xC3\xA9lan", "Bruno" })
        SendMessage(hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpsz));
    std::vector<std::string> items;
    for (LRESULT i = 0; i < SendMessage(hCombo, CB_GETCOUNT, 0, 0); ++i) {
        char text[32] {};
        SendMessage(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    EXPECT_EQ(items,
        (std::vector<std::string> { "\xC3\x81ngela", "Apple", "Bruno", "\xC3\xA9lan", "fig", "pear", "Zo\xC3\xAB" }));
}

TEST_F(ComboBoxControlTest, ClickingDropsTheListAndClickingAnItemChoosesIt)
{
    HWND hCombo = CreateCombo(CBS_DROPDOWNLIST | CBS_SORT);
    Click(hCombo, 20, 5);
    EXPECT_TRUE(SendMessage(hCombo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(GetCapture(), hCombo);
    ClickScreen(ItemPoint(hCombo, 2));
    EXPECT_FALSE(SendMessage(hCombo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SendMessage(hCombo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(Text(hCombo), "pear");
    EXPECT_EQ(TakeCodes(hCombo),
        (std::vector<WORD> { CBN_SETFOCUS, CBN_DROPDOWN, CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE }));
}

TEST_F(ComboBoxControlTest, ClickingElsewhereClosesWithoutChoosing)
{
    HWND hCombo = CreateCombo(CBS_DROPDOWNLIST);
    SendMessage(hCombo, CB_SETCURSEL, 1, 0);
    SendMessage(hCombo, CB_SHOWDROPDOWN, TRUE, 0);
    TakeCodes(hCombo);
    ClickScreen(POINT { 450, 350 });
    EXPECT_FALSE(SendMessage(hCombo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(SendMessage(hCombo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(TakeCodes(hCombo), (std::vector<WORD> { CBN_SELENDCANCEL, CBN_CLOSEUP }));
}

TEST_F(ComboBoxControlTest, ArrowKeysChangeTheSelectionAndF4DropsTheList)
{
    HWND hCombo = CreateCombo(CBS_DROPDOWNLIST);
    SetFocus(hCombo);
    TakeCodes(hCombo);
    Key(VK_DOWN, TRUE);
    Key(VK_DOWN, TRUE);
    EXPECT_EQ(SendMessage(hCombo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(TakeCodes(hCombo), (std::vector<WORD> { CBN_SELCHANGE, CBN_SELCHANGE }));
    Key(VK_F1 + 3, TRUE);
    EXPECT_TRUE(SendMessage(hCombo, CB_GETDROPPEDSTATE, 0, 0));
    Key(VK_ESCAPE, TRUE);
    EXPECT_FALSE(SendMessage(hCombo, CB_GETDROPPEDSTATE, 0, 0));
}

TEST_F(ComboBoxControlTest, DropDownEditsItsTextAndReportsTheChanges)
{
    HWND hCombo = CreateCombo(CBS_DROPDOWN | CBS_AUTOHSCROLL);
    SendMessage(hCombo, CB_SETCURSEL, 1, 0);
    EXPECT_EQ(Text(hCombo), "Apple");
    EXPECT_TRUE(TakeCodes(hCombo).empty());
    SetFocus(hCombo);
    HWND hEdit = GetFocus();
    ASSERT_NE(hEdit, hCombo);
    SendMessage(hCombo, CB_LIMITTEXT, 6, 0);
    SendMessage(hEdit, EM_SETSEL, 5, 5);
    SendMessage(hEdit, WM_CHAR, 's', 0);
    SendMessage(hEdit, WM_CHAR, 'x', 0);
    EXPECT_EQ(Text(hCombo), "Apples");
    EXPECT_EQ(TakeCodes(hCombo), (std::vector<WORD> { CBN_SETFOCUS, CBN_EDITUPDATE, CBN_EDITCHANGE }));
}

TEST_F(ComboBoxControlTest, OwnerDrawnItemsAreDrawnAsTheComboBoxs)
{
    std::vector<DRAWITEMSTRUCT> draws;
    MessageLog::Instance().handler = [&](HWND, UINT uMsg, WPARAM, LPARAM lParam, LRESULT* plResult) {
        if (uMsg == WM_MEASUREITEM) {
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 18;
            *plResult = TRUE;
            return true;
        }
        if (uMsg != WM_DRAWITEM)
            return false;
        draws.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        *plResult = TRUE;
        return true;
    };
    HWND hCombo = CreateCombo(CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS);
    EXPECT_EQ(SendMessage(hCombo, CB_GETITEMHEIGHT, 0, 0), 18);
    SendMessage(hCombo, CB_SETCURSEL, 0, 0);
    draws.clear();
    PumpUntilIdle();
    ASSERT_FALSE(draws.empty());
    EXPECT_EQ(draws.back().CtlType, ODT_COMBOBOX);
    EXPECT_EQ(draws.back().CtlID, 500u);
    EXPECT_EQ(draws.back().itemID, 0u);
    EXPECT_TRUE(draws.back().itemState & ODS_COMBOBOXEDIT);

    draws.clear();
    SendMessage(hCombo, CB_SHOWDROPDOWN, TRUE, 0);
    PumpUntilIdle();
    ASSERT_GE(draws.size(), 3u);
    for (const DRAWITEMSTRUCT& dis : draws) {
        EXPECT_EQ(dis.CtlType, ODT_COMBOBOX);
        EXPECT_EQ(dis.hwndItem, hCombo);
    }
    SendMessage(hCombo, CB_SHOWDROPDOWN, FALSE, 0);
    MessageLog::Instance().handler = nullptr;
}

TEST_F(ComboBoxControlTest, SimpleComboBoxShowsItsListBelowTheEdit)
{
    HWND hCombo = CreateCombo(CBS_SIMPLE);
    RECT rc {};
    GetClientRect(hCombo, &rc);
    EXPECT_EQ(rc.bottom, 150);
    HWND hList = FindWindowEx(hCombo, nullptr, "ListBox", nullptr);
    ASSERT_NE(hList, nullptr);
    EXPECT_TRUE(IsWindowVisible(hList));
    Click(hList, 5, 3);
    EXPECT_EQ(SendMessage(hCombo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Text(hCombo), "pear");
    std::vector<WORD> codes = TakeCodes(hCombo);
    EXPECT_NE(std::find(codes.begin(), codes.end(), CBN_SELCHANGE), codes.end());
}

} // namespace

TEST_F(ComboBoxControlTest, ExtendedUiDropsWithDownAndIgnoresF4)
{
    constexpr UINT KEY_F4 = VK_F1 + 3;
    HWND hCombo = CreateCombo(CBS_DROPDOWNLIST);
    SetFocus(hCombo);
    PumpUntilIdle();
    EXPECT_EQ(SendMessage(hCombo, CB_GETEXTENDEDUI, 0, 0), FALSE);
    // The default interface: Down changes the selection, F4 drops the list.
    Key(VK_DOWN, TRUE);
    Key(VK_DOWN, FALSE);
    EXPECT_EQ(SendMessage(hCombo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_FALSE(SendMessage(hCombo, CB_GETDROPPEDSTATE, 0, 0));
    Key(KEY_F4, TRUE);
    Key(KEY_F4, FALSE);
    EXPECT_TRUE(SendMessage(hCombo, CB_GETDROPPEDSTATE, 0, 0));
    SendMessage(hCombo, CB_SHOWDROPDOWN, FALSE, 0);

    EXPECT_EQ(SendMessage(hCombo, CB_SETEXTENDEDUI, TRUE, 0), CB_OKAY);
    EXPECT_EQ(SendMessage(hCombo, CB_GETEXTENDEDUI, 0, 0), TRUE);
    Key(KEY_F4, TRUE);
    Key(KEY_F4, FALSE);
    EXPECT_FALSE(SendMessage(hCombo, CB_GETDROPPEDSTATE, 0, 0));
    Key(VK_DOWN, TRUE);
    Key(VK_DOWN, FALSE);
    EXPECT_TRUE(SendMessage(hCombo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(SendMessage(hCombo, CB_GETCURSEL, 0, 0), 0) << "dropping does not move the selection";
    // Once down, Down moves through the list as before.
    Key(VK_DOWN, TRUE);
    Key(VK_DOWN, FALSE);
    EXPECT_EQ(SendMessage(hCombo, CB_GETCURSEL, 0, 0), 1);
    SendMessage(hCombo, CB_SHOWDROPDOWN, FALSE, 0);

    HWND hSimple = CreateControl("ComboBox", "", CBS_SIMPLE, 200, 10, 150, 100, 501);
    EXPECT_EQ(SendMessage(hSimple, CB_SETEXTENDEDUI, TRUE, 0), CB_ERR);
}
