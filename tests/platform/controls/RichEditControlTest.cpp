#include "platform/controls/RichEditControl.h"

#include "platform/base/TextFunctions.h"
#include "platform/controls/EditClipboard.h"
#include "platform/gdi/SysColors.h"
#include "platform/window/Focus.h"
#include "platform/window/ScrollBars.h"
#include "tests/platform/controls/ControlTestSupport.h"

#include <random>
#include <string>
#include <vector>

namespace {

constexpr COLORREF BLUE = RGB(0, 0, 255);

class RichEditControlTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        ASSERT_TRUE(RegisterRichEditClass());
    }

    HWND CreateRichEdit(int cx = 300, int cy = 200, DWORD dwStyle = ES_MULTILINE | ES_READONLY | ES_NOHIDESEL)
    {
        return CreateControl(RICHEDIT_CLASS, "", dwStyle, 0, 0, cx, cy, 4661);
    }

    static void Select(HWND hEdit, LONG cpMin, LONG cpMax)
    {
        CHARRANGE cr { cpMin, cpMax };
        SendMessage(hEdit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
    }
    static CHARRANGE Selection(HWND hEdit)
    {
        CHARRANGE cr {};
        SendMessage(hEdit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
        return cr;
    }
    static std::string SelText(HWND hEdit)
    {
        std::string strBuffer(4 * static_cast<size_t>(SendMessage(hEdit, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
        strBuffer.resize(
            static_cast<size_t>(SendMessage(hEdit, EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(strBuffer.data()))));
        return strBuffer;
    }
    static std::string Text(HWND hEdit)
    {
        char szBuffer[4096] {};
        SendMessage(hEdit, WM_GETTEXT, sizeof(szBuffer), reinterpret_cast<LPARAM>(szBuffer));
        return szBuffer;
    }
    static void Replace(HWND hEdit, const char* pszText)
    {
        SendMessage(hEdit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(pszText));
    }
    static CHARFORMAT Format(
        DWORD dwMask, DWORD dwEffects = 0, LONG yHeight = 0, COLORREF cr = 0, const char* pszFace = "")
    {
        CHARFORMAT cf {};
        cf.cbSize = sizeof(CHARFORMAT);
        cf.dwMask = dwMask;
        cf.dwEffects = dwEffects;
        cf.yHeight = yHeight;
        cf.crTextColor = cr;
        lstrcpyn(cf.szFaceName, pszFace, LF_FACESIZE);
        return cf;
    }
    static void SetFormat(HWND hEdit, WPARAM nScope, CHARFORMAT cf)
    {
        ASSERT_TRUE(SendMessage(hEdit, EM_SETCHARFORMAT, nScope, reinterpret_cast<LPARAM>(&cf)));
    }
    // The selection's format and the fields it has in common.
    static CHARFORMAT SelectionFormat(HWND hEdit)
    {
        CHARFORMAT cf {};
        cf.cbSize = sizeof(CHARFORMAT);
        SendMessage(hEdit, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
        return cf;
    }
    static LONG Find(HWND hEdit, WPARAM nFlags, const char* pszText, LONG cpMin = 0, LONG cpMax = -1)
    {
        FINDTEXTEX find { { cpMin, cpMax }, pszText, { 0, 0 } };
        return static_cast<LONG>(SendMessage(hEdit, EM_FINDTEXTEX, nFlags, reinterpret_cast<LPARAM>(&find)));
    }
};

/***** Positions *****/

TEST_F(RichEditControlTest, PositionsCountCharactersAndALineBreakIsOne)
{
    HWND hEdit = CreateRichEdit();
    // "ä" (2 bytes), "€" (3), an emoji (4), a break written "\r\n", "x", a lone "\r", "y".
    SetWindowText(hEdit, "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80\r\nx\ry");
    EXPECT_EQ(SendMessage(hEdit, WM_GETTEXTLENGTH, 0, 0), 7);

    Select(hEdit, 1, 3);
    EXPECT_EQ(SelText(hEdit), "\xE2\x82\xAC\xF0\x9F\x98\x80");
    Select(hEdit, 2, 5);
    EXPECT_EQ(SelText(hEdit), "\xF0\x9F\x98\x80\r\nx");

    // Past the end clamps; (0, -1) takes all; cpMin -1 leaves no selection.
    Select(hEdit, 5, 99);
    EXPECT_EQ(Selection(hEdit).cpMax, 7);
    Select(hEdit, 0, -1);
    EXPECT_EQ(SelText(hEdit), "\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80\r\nx\r\ny");
    Select(hEdit, -1, 0);
    const CHARRANGE cr = Selection(hEdit);
    EXPECT_EQ(cr.cpMin, cr.cpMax);

    // WM_GETTEXT's buffer is in bytes and never splits a character.
    char szSmall[5] {};
    EXPECT_EQ(SendMessage(hEdit, WM_GETTEXT, sizeof(szSmall), reinterpret_cast<LPARAM>(szSmall)), 2);
    EXPECT_STREQ(szSmall, "\xC3\xA4");
}

TEST_F(RichEditControlTest, BadBytesAndControlCharactersArriveAsReplacementCharacters)
{
    HWND hEdit = CreateRichEdit();
    SetWindowText(hEdit, "a\xFF\x01z\t\xE2\x82");
    // Each byte of a cut-off sequence is a character of its own.
    EXPECT_EQ(SendMessage(hEdit, WM_GETTEXTLENGTH, 0, 0), 7);
    EXPECT_EQ(Text(hEdit), "a\xEF\xBF\xBD\xEF\xBF\xBDz\t\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST_F(RichEditControlTest, TextKeepsToTheLimit)
{
    HWND hEdit = CreateRichEdit();
    SetWindowText(hEdit, std::string(40000, 'x').c_str());
    EXPECT_EQ(SendMessage(hEdit, WM_GETTEXTLENGTH, 0, 0), RICHEDIT_DEFAULT_LIMIT);
    Select(hEdit, -1, 0);
    Select(hEdit, 10, 10);
    Replace(hEdit, "more");
    EXPECT_EQ(SendMessage(hEdit, WM_GETTEXTLENGTH, 0, 0), RICHEDIT_DEFAULT_LIMIT);

    SendMessage(hEdit, EM_EXLIMITTEXT, 0, 5);
    SetWindowText(hEdit, "\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4\xC3\xA4");
    EXPECT_EQ(SendMessage(hEdit, WM_GETTEXTLENGTH, 0, 0), 5);
}

/***** Formats *****/

TEST_F(RichEditControlTest, ReplacementTakesTheFormatSetBeforeIt)
{
    HWND hEdit = CreateRichEdit();
    SetFormat(hEdit, SCF_DEFAULT, Format(CFM_FACE, 0, 0, 0, "Arial"));
    // Select all, set the size, replace: the new text has the size and the default face.
    Select(hEdit, 0, -1);
    SetFormat(hEdit, SCF_SELECTION, Format(CFM_SIZE | CFM_BOLD, 0, 200));
    Replace(hEdit, "Group\n");
    // Select the end, set a format, replace: the appended text has it.
    const auto cpEnd = static_cast<LONG>(SendMessage(hEdit, WM_GETTEXTLENGTH, 0, 0));
    Select(hEdit, cpEnd, cpEnd);
    SetFormat(hEdit, SCF_SELECTION, Format(CFM_BOLD | CFM_COLOR, CFE_BOLD, 0, BLUE));
    Replace(hEdit, "Label: ");
    Select(hEdit, cpEnd + 7, cpEnd + 7);
    SetFormat(hEdit, SCF_SELECTION, Format(CFM_BOLD | CFM_COLOR, CFE_AUTOCOLOR));
    Replace(hEdit, "value");

    Select(hEdit, 0, 5);
    CHARFORMAT cf = SelectionFormat(hEdit);
    EXPECT_STREQ(cf.szFaceName, "Arial");
    EXPECT_EQ(cf.yHeight, 200);
    EXPECT_EQ(cf.dwEffects & (CFE_BOLD | CFE_AUTOCOLOR), CFE_AUTOCOLOR);
    Select(hEdit, cpEnd, cpEnd + 7);
    cf = SelectionFormat(hEdit);
    EXPECT_EQ(cf.dwEffects & (CFE_BOLD | CFE_AUTOCOLOR), CFE_BOLD);
    EXPECT_EQ(cf.crTextColor, BLUE);
    EXPECT_EQ(cf.yHeight, 200);
    // Over both labels and values the colour and weight differ, the size and face do not.
    Select(hEdit, cpEnd, -1);
    EXPECT_EQ(SelectionFormat(hEdit).dwMask, CFM_FACE | CFM_SIZE);

    // A replaced selection passes on the format of its first character.
    Select(hEdit, cpEnd + 1, cpEnd + 3);
    Replace(hEdit, "AB");
    Select(hEdit, cpEnd + 1, cpEnd + 3);
    EXPECT_EQ(SelectionFormat(hEdit).crTextColor, BLUE);
}

TEST_F(RichEditControlTest, DefaultFormatChangesTheTextThatStillHasIt)
{
    HWND hEdit = CreateRichEdit();
    SetWindowText(hEdit, "plain bold");
    Select(hEdit, 6, 10);
    SetFormat(hEdit, SCF_SELECTION, Format(CFM_BOLD, CFE_BOLD));
    SetFormat(hEdit, SCF_DEFAULT, Format(CFM_SIZE, 0, 400));
    Select(hEdit, 0, 5);
    EXPECT_EQ(SelectionFormat(hEdit).yHeight, 400);
    Select(hEdit, 6, 10);
    EXPECT_EQ(SelectionFormat(hEdit).yHeight, 200);

    SetFormat(hEdit, SCF_ALL, Format(CFM_COLOR, 0, 0, BLUE));
    Select(hEdit, 0, -1);
    const CHARFORMAT cf = SelectionFormat(hEdit);
    EXPECT_TRUE(cf.dwMask & CFM_COLOR);
    EXPECT_EQ(cf.crTextColor, BLUE);
}

// Random edits and format changes against a model that keeps one format per
// character: the runs must split, join and move with the text exactly.
TEST_F(RichEditControlTest, FormatRunsFollowEditsAsPerCharacterFormatsWould)
{
    HWND hEdit = CreateRichEdit();
    std::mt19937 random(15);
    std::string model;             // one letter per character
    std::vector<COLORREF> colours; // one colour per character
    auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int nStep = 0; nStep < 400; ++nStep) {
        const int nLength = static_cast<int>(model.size());
        int cpMin = pick(nLength + 1);
        int cpMax = std::min(nLength, cpMin + pick(6));
        Select(hEdit, cpMin, cpMax);
        if (pick(3) == 0) {
            const std::string strInsert(static_cast<size_t>(pick(4)), static_cast<char>('a' + pick(26)));
            COLORREF crInsert = 0;
            if (cpMin < cpMax)
                crInsert = colours[static_cast<size_t>(cpMin)];
            else if (cpMin > 0)
                crInsert = colours[static_cast<size_t>(cpMin) - 1];
            else if (!colours.empty())
                crInsert = colours[0];
            Replace(hEdit, strInsert.c_str());
            model.replace(static_cast<size_t>(cpMin), static_cast<size_t>(cpMax - cpMin), strInsert);
            colours.erase(colours.begin() + cpMin, colours.begin() + cpMax);
            colours.insert(colours.begin() + cpMin, strInsert.size(), crInsert);
        } else if (cpMin < cpMax) {
            const COLORREF cr = static_cast<COLORREF>(pick(3));
            SetFormat(hEdit, SCF_SELECTION, Format(CFM_COLOR, 0, 0, cr));
            std::fill(colours.begin() + cpMin, colours.begin() + cpMax, cr);
        }
    }
    ASSERT_EQ(Text(hEdit), model);
    for (size_t cp = 0; cp < model.size(); ++cp) {
        Select(hEdit, static_cast<LONG>(cp), static_cast<LONG>(cp) + 1);
        ASSERT_EQ(SelectionFormat(hEdit).crTextColor, colours[cp]) << "at " << cp;
    }
}

TEST_F(RichEditControlTest, ManyPassingFormatsLeaveTheTextsFormatsIntact)
{
    HWND hEdit = CreateRichEdit();
    SetWindowText(hEdit, "first second");
    Select(hEdit, 6, 12);
    SetFormat(hEdit, SCF_SELECTION, Format(CFM_BOLD | CFM_SIZE, CFE_BOLD, 300));
    // Hundreds of colours come and go on the first word; the second keeps its format throughout.
    for (COLORREF cr = 1; cr <= 300; ++cr) {
        Select(hEdit, 0, 5);
        SetFormat(hEdit, SCF_SELECTION, Format(CFM_COLOR, 0, 0, cr));
    }
    SetFormat(hEdit, SCF_DEFAULT, Format(CFM_FACE, 0, 0, 0, "Courier New"));
    Select(hEdit, 0, 5);
    EXPECT_EQ(SelectionFormat(hEdit).crTextColor, 300u);
    Select(hEdit, 6, 12);
    const CHARFORMAT cf = SelectionFormat(hEdit);
    EXPECT_EQ(cf.yHeight, 300);
    EXPECT_EQ(cf.dwEffects & CFE_BOLD, CFE_BOLD);
    EXPECT_STREQ(cf.szFaceName, "Arial");
    UpdateWindow(hEdit);
}

/***** Finding *****/

TEST_F(RichEditControlTest, FindHonoursCaseWholeWordsDirectionAndRange)
{
    HWND hEdit = CreateRichEdit();
    SetWindowText(hEdit,
        "Über cats, über CATS; scatter\n\xC3\x9C"
        "BER");
    EXPECT_EQ(Find(hEdit, FR_DOWN, "über"), 0);
    EXPECT_EQ(Find(hEdit, FR_DOWN | FR_MATCHCASE, "über"), 11);
    EXPECT_EQ(Find(hEdit, FR_DOWN, "ÜBER", 12), 30);
    EXPECT_EQ(Find(hEdit, FR_DOWN | FR_MATCHCASE, "cats", 6), -1);
    EXPECT_EQ(Find(hEdit, FR_DOWN, "cat", 6), 16);
    EXPECT_EQ(Find(hEdit, FR_DOWN | FR_WHOLEWORD, "cat"), -1);
    EXPECT_EQ(Find(hEdit, FR_DOWN | FR_WHOLEWORD, "cats", 6), 16);
    // The match must end within the range.
    EXPECT_EQ(Find(hEdit, FR_DOWN, "cats", 6, 19), -1);
    // Without FR_DOWN the search goes back from cpMin.
    EXPECT_EQ(Find(hEdit, 0, "cats", 29, 0), 16);
    EXPECT_EQ(Find(hEdit, 0, "cats", 19, 0), 5);
    EXPECT_EQ(Find(hEdit, FR_DOWN, "; s\r\n", 0), -1);
    EXPECT_EQ(Find(hEdit, FR_DOWN, "scatter\r\n\xC3\x9C", 0), 22);
    EXPECT_EQ(Find(hEdit, FR_DOWN, ""), -1);

    FINDTEXTEX find { { 0, -1 }, "CATS", { 0, 0 } };
    SendMessage(hEdit, EM_FINDTEXTEX, FR_DOWN | FR_MATCHCASE, reinterpret_cast<LPARAM>(&find));
    EXPECT_EQ(find.chrgText.cpMin, 16);
    EXPECT_EQ(find.chrgText.cpMax, 20);
}

TEST_F(RichEditControlTest, ColouringEveryMatchLeavesTheRestAlone)
{
    HWND hEdit = CreateRichEdit(400, 200);
    std::string strText;
    for (int i = 0; i < 200; ++i)
        strText += i % 3 == 0 ? "word " : "other ";
    SetWindowText(hEdit, strText.c_str());
    int nMatches = 0;
    for (LONG cp = Find(hEdit, FR_DOWN, "word"); cp >= 0; cp = Find(hEdit, FR_DOWN, "word", cp + 1)) {
        Select(hEdit, cp, cp + 4);
        SetFormat(hEdit, SCF_SELECTION, Format(CFM_COLOR, 0, 0, BLUE));
        ++nMatches;
    }
    EXPECT_EQ(nMatches, 67);
    Select(hEdit, 0, 4);
    EXPECT_EQ(SelectionFormat(hEdit).crTextColor, BLUE);
    Select(hEdit, 4, 16);
    EXPECT_NE(SelectionFormat(hEdit).dwEffects & CFE_AUTOCOLOR, 0u);

    // The first line shows blue text and window-text coloured text.
    Select(hEdit, -1, 0);
    UpdateWindow(hEdit);
    bool bBlue = false, bBlack = false;
    for (int x = 2; x < 200; ++x) {
        for (int y = 2; y < 18; ++y) {
            const COLORREF cr = WindowPixel(hEdit, x, y);
            bBlue = bBlue || cr == BLUE;
            bBlack = bBlack || cr == GetSysColor(COLOR_WINDOWTEXT);
        }
    }
    EXPECT_TRUE(bBlue);
    EXPECT_TRUE(bBlack);
}

/***** Copying *****/

TEST_F(RichEditControlTest, CopyAndSelectedTextUseCrLf)
{
    HWND hEdit = CreateRichEdit();
    SetWindowText(hEdit, "one\ntwo\r\nthree");
    Select(hEdit, 2, 9);
    EXPECT_EQ(SelText(hEdit), "e\r\ntwo\r\nt");
    SendMessage(hEdit, WM_COPY, 0, 0);
    EXPECT_EQ(GetEditClipboardText(nullptr), std::optional<std::string>("e\r\ntwo\r\nt"));
}

/***** Layout, scrolling and the user *****/

TEST_F(RichEditControlTest, LongTextWrapsAndScrollsToTheSelection)
{
    HWND hEdit = CreateRichEdit(120, 60, ES_MULTILINE | ES_READONLY | WS_VSCROLL);
    std::string strText;
    for (int i = 0; i < 60; ++i)
        strText += "words ";
    SetWindowText(hEdit, strText.c_str());
    const auto nLines = static_cast<int>(SendMessage(hEdit, EM_GETLINECOUNT, 0, 0));
    EXPECT_GT(nLines, 10);
    EXPECT_EQ(SendMessage(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);

    SendMessage(hEdit, EM_LINESCROLL, 0, 3);
    EXPECT_EQ(SendMessage(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0), 3);
    SCROLLINFO si { sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0 };
    GetScrollInfo(hEdit, SB_VERT, &si);
    EXPECT_EQ(si.nPos, 3);
    EXPECT_EQ(si.nMax, nLines - 1);

    // A hidden selection moves without scrolling; a shown one is brought into view.
    SendMessage(hEdit, EM_HIDESELECTION, TRUE, 0);
    Select(hEdit, 355, 356);
    EXPECT_EQ(SendMessage(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0), 3);
    SendMessage(hEdit, EM_HIDESELECTION, FALSE, 0);
    Select(hEdit, 355, 356);
    EXPECT_GT(SendMessage(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0), nLines / 2);
    Select(hEdit, 0, 0);
    EXPECT_EQ(SendMessage(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(RichEditControlTest, MouseAndKeysSelectButTypingChangesNothing)
{
    HWND hEdit = CreateRichEdit();
    SetWindowText(hEdit, "first line\nsecond line");
    Click(hEdit, 3, 5);
    EXPECT_EQ(GetFocus(), hEdit);
    EXPECT_EQ(Selection(hEdit).cpMin, 0);

    Key(VK_SHIFT, TRUE);
    Key(VK_END, TRUE);
    Key(VK_END, FALSE);
    Key(VK_SHIFT, FALSE);
    EXPECT_EQ(SelText(hEdit), "first line");
    Key(VK_DOWN, TRUE);
    Key(VK_DOWN, FALSE);
    EXPECT_EQ(Selection(hEdit).cpMin, Selection(hEdit).cpMax);
    EXPECT_GT(Selection(hEdit).cpMin, 10);

    Key('X', TRUE);
    SendMessage(hEdit, WM_CHAR, 'x', 0);
    Key('X', FALSE);
    EXPECT_EQ(Text(hEdit), "first line\r\nsecond line");

    // A drag over the first line selects what it passes.
    Mouse(hEdit, EMouseAction::ButtonDown, 3, 5);
    Mouse(hEdit, EMouseAction::Move, 200, 5);
    Mouse(hEdit, EMouseAction::ButtonUp, 200, 5);
    EXPECT_EQ(SelText(hEdit), "first line");
}

} // namespace
