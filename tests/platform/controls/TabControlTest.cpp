#include "platform/controls/TabControl.h"

#include "platform/window/Focus.h"
#include "tests/platform/controls/CommonControlTestSupport.h"

#include <string>

namespace {

class TabControlTest : public CommonControlTest {
protected:
    HWND CreateTabs(std::initializer_list<const char*> texts)
    {
        HWND hTabs = CreateControl(WC_TABCONTROL, "", 0, 10, 10, 300, 200, 31);
        int nIndex = 0;
        for (const char* pszText : texts) {
            TCITEM item {};
            item.mask = TCIF_TEXT | TCIF_PARAM;
            item.pszText = const_cast<LPSTR>(pszText);
            item.lParam = 100 + nIndex;
            EXPECT_EQ(SendMessage(hTabs, TCM_INSERTITEM, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&item)),
                nIndex);
            ++nIndex;
        }
        PumpUntilIdle();
        TakeNotifications();
        return hTabs;
    }
    static RECT TabRect(HWND hTabs, int nIndex)
    {
        RECT rc {};
        SendMessage(hTabs, TCM_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&rc));
        return rc;
    }
    void ClickTab(HWND hTabs, int nIndex)
    {
        const RECT rc = TabRect(hTabs, nIndex);
        m_clock.Advance(GetDoubleClickTime() + 1);
        Click(hTabs, (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    }
};

TEST_F(TabControlTest, ClickAsksTheParentWhoMayRefuseTheChange)
{
    HWND hTabs = CreateTabs({ "&General", "&Files", "&Mail" });
    EXPECT_EQ(SendMessage(hTabs, TCM_GETCURSEL, 0, 0), 0); // the first tab inserted is selected
    bool bRefuse = true;
    onNotify = [&bRefuse, hTabs](NMHDR* pHdr) -> LRESULT {
        // While asked, the old tab is still the selected one.
        EXPECT_EQ(SendMessage(hTabs, TCM_GETCURSEL, 0, 0), pHdr->code == TCN_SELCHANGING ? 0 : 2);
        return pHdr->code == TCN_SELCHANGING && bRefuse;
    };
    ClickTab(hTabs, 2);
    EXPECT_EQ(SendMessage(hTabs, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(TakeCodes(), (std::vector<UINT> { TCN_SELCHANGING }));

    bRefuse = false;
    ClickTab(hTabs, 2);
    EXPECT_EQ(SendMessage(hTabs, TCM_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(TakeCodes({ TCN_SELCHANGING, TCN_SELCHANGE }), (std::vector<UINT> { TCN_SELCHANGING, TCN_SELCHANGE }));
    ClickTab(hTabs, 2); // already selected: nothing to ask
    EXPECT_TRUE(TakeCodes({ TCN_SELCHANGING, TCN_SELCHANGE }).empty());
}

TEST_F(TabControlTest, SetCurSelAndArrowKeys)
{
    HWND hTabs = CreateTabs({ "A", "B", "C" });
    EXPECT_EQ(SendMessage(hTabs, TCM_SETCURSEL, 1, 0), 0);
    EXPECT_EQ(SendMessage(hTabs, TCM_SETCURSEL, 5, 0), -1);
    EXPECT_TRUE(TakeCodes().empty());

    SetFocus(hTabs);
    Key(VK_RIGHT, TRUE);
    Key(VK_RIGHT, FALSE);
    EXPECT_EQ(SendMessage(hTabs, TCM_GETCURSEL, 0, 0), 2);
    Key(VK_RIGHT, TRUE); // past the last tab: stays
    Key(VK_RIGHT, FALSE);
    EXPECT_EQ(SendMessage(hTabs, TCM_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(TakeCodes({ TCN_SELCHANGING, TCN_SELCHANGE }), (std::vector<UINT> { TCN_SELCHANGING, TCN_SELCHANGE }));

    // Deleting before the selection keeps the same tab selected; deleting it leaves none.
    SendMessage(hTabs, TCM_DELETEITEM, 0, 0);
    EXPECT_EQ(SendMessage(hTabs, TCM_GETCURSEL, 0, 0), 1);
    SendMessage(hTabs, TCM_DELETEITEM, 1, 0);
    EXPECT_EQ(SendMessage(hTabs, TCM_GETCURSEL, 0, 0), -1);
}

TEST_F(TabControlTest, TextsReadBackCutAtACharacterAndMnemonicsTakeNoRoom)
{
    HWND hTabs = CreateTabs({ "&Allgemein", "Allgemein", "Gr\xC3\xBC\xC3\x9F" });
    const RECT rcMnemonic = TabRect(hTabs, 0);
    const RECT rcPlain = TabRect(hTabs, 1);
    EXPECT_EQ(rcMnemonic.right - rcMnemonic.left, rcPlain.right - rcPlain.left);

    char szText[80] {};
    TCITEM item {};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = szText;
    item.cchTextMax = sizeof(szText);
    EXPECT_EQ(SendMessage(hTabs, TCM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)), TRUE);
    EXPECT_STREQ(szText, "&Allgemein");
    EXPECT_EQ(item.lParam, 100);
    item.cchTextMax = 5; // room for "Gr", half of "ü" and the terminator
    SendMessage(hTabs, TCM_GETITEM, 2, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::string(szText), "Gr\xC3\xBC");
    item.cchTextMax = 4;
    SendMessage(hTabs, TCM_GETITEM, 2, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::string(szText), "Gr");
    EXPECT_EQ(SendMessage(hTabs, TCM_GETITEM, 3, reinterpret_cast<LPARAM>(&item)), FALSE);
}

TEST_F(TabControlTest, AdjustRectGoesBothWaysBelowTheTabs)
{
    HWND hTabs = CreateTabs({ "One", "Two" });
    RECT rc { 0, 0, 300, 200 };
    SendMessage(hTabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rc));
    EXPECT_GE(rc.top, TabRect(hTabs, 0).bottom);
    EXPECT_GT(rc.left, 0);
    EXPECT_LT(rc.right, 300);
    SendMessage(hTabs, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&rc));
    EXPECT_EQ(rc, (RECT { 0, 0, 300, 200 }));
}

} // namespace
