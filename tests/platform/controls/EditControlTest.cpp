#include "platform/controls/EditControl.h"

#include "platform/base/Wait.h"
#include "platform/controls/ButtonControl.h"
#include "platform/controls/EditClipboard.h"
#include "platform/gdi/SysColors.h"
#include "platform/gdi/Text.h"
#include "platform/window/Caret.h"
#include "platform/window/Focus.h"
#include "platform/window/ScrollBars.h"
#include "tests/platform/controls/ControlTestSupport.h"

#include <string>

namespace {

class EditControlTest : public ControlTest {
protected:
    HWND CreateEdit(DWORD dwStyle, LPCSTR lpszText = "", int cx = 200, int cy = 20)
    {
        HWND hEdit = CreateControl("Edit", lpszText, dwStyle, 10, 10, cx, cy, 300);
        PumpUntilIdle();
        MessageLog::Instance().Take();
        return hEdit;
    }
    static void Type(HWND hEdit, const std::string& strText)
    {
        for (char ch : strText)
            SendMessage(hEdit, WM_CHAR, static_cast<unsigned char>(ch), 0);
    }
    static std::string Text(HWND hEdit)
    {
        std::string text(static_cast<size_t>(GetWindowTextLength(hEdit)) + 1, '\0');
        text.resize(static_cast<size_t>(GetWindowText(hEdit, text.data(), static_cast<int>(text.size()))));
        return text;
    }
    static std::pair<DWORD, DWORD> Sel(HWND hEdit)
    {
        DWORD nStart = 0;
        DWORD nEnd = 0;
        SendMessage(hEdit, EM_GETSEL, reinterpret_cast<WPARAM>(&nStart), reinterpret_cast<LPARAM>(&nEnd));
        return { nStart, nEnd };
    }
    std::vector<WORD> TakeCodes()
    {
        std::vector<WORD> codes;
        for (const CommandSent& command : TakeCommands())
            codes.push_back(command.nCode);
        return codes;
    }
};

/***** Typing and notifications *****/

TEST_F(EditControlTest, TypingReplacesTheSelectionAndNotifiesEachChange)
{
    HWND hEdit = CreateEdit(ES_AUTOHSCROLL, "hello world");
    SendMessage(hEdit, EM_SETSEL, 0, 5);
    Type(hEdit, "Hi");
    EXPECT_EQ(Text(hEdit), "Hi world");
    EXPECT_EQ(Sel(hEdit), (std::pair<DWORD, DWORD> { 2, 2 }));
    EXPECT_EQ(TakeCodes(), (std::vector<WORD> { EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE }));
    EXPECT_TRUE(SendMessage(hEdit, EM_GETMODIFY, 0, 0));
    SendMessage(hEdit, WM_CHAR, '\b', 0);
    EXPECT_EQ(Text(hEdit), "H world");
}

TEST_F(EditControlTest, KeysTypedThroughTheQueueArriveAsCharacters)
{
    HWND hEdit = CreateEdit(ES_AUTOHSCROLL);
    SetFocus(hEdit);
    for (UINT nKey : { UINT { 'A' }, UINT { 'B' }, UINT { '1' } }) {
        Key(nKey, TRUE);
        Key(nKey, FALSE);
    }
    EXPECT_EQ(Text(hEdit), "ab1");
}

TEST_F(EditControlTest, LimitCutsWhatTheUserEntersAndReportsMaxText)
{
    HWND hEdit = CreateEdit(ES_AUTOHSCROLL);
    SendMessage(hEdit, EM_LIMITTEXT, 4, 0);
    Type(hEdit, "abc");
    TakeCodes();
    SetEditClipboardText(nullptr, "xyz");
    SendMessage(hEdit, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(hEdit), "abcx");
    EXPECT_EQ(TakeCodes(), (std::vector<WORD> { EN_UPDATE, EN_CHANGE, EN_MAXTEXT }));
    Type(hEdit, "d");
    EXPECT_EQ(Text(hEdit), "abcx");
    EXPECT_EQ(TakeCodes(), (std::vector<WORD> { EN_MAXTEXT }));
    // WM_SETTEXT is not limited.
    SetWindowText(hEdit, "longer than four");
    EXPECT_EQ(Text(hEdit), "longer than four");
}

TEST_F(EditControlTest, StylesFilterWhatTheUserEnters)
{
    HWND hNumber = CreateEdit(ES_NUMBER);
    Type(hNumber, "1a2");
    EXPECT_EQ(Text(hNumber), "12");
    HWND hUpper = CreateEdit(ES_UPPERCASE);
    Type(hUpper, "MiXed");
    EXPECT_EQ(Text(hUpper), "MIXED");
    HWND hLower = CreateEdit(ES_LOWERCASE);
    Type(hLower, "MiXed");
    EXPECT_EQ(Text(hLower), "mixed");
    HWND hReadOnly = CreateEdit(ES_READONLY, "fixed");
    SendMessage(hReadOnly, EM_SETSEL, 0, -1);
    Type(hReadOnly, "x");
    SendMessage(hReadOnly, WM_CLEAR, 0, 0);
    EXPECT_EQ(Text(hReadOnly), "fixed");
    HWND hSingle = CreateEdit(ES_AUTOHSCROLL);
    SetEditClipboardText(nullptr, "one\r\ntwo");
    SendMessage(hSingle, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(hSingle), "one");
}

TEST_F(EditControlTest, FocusChangesAreReported)
{
    HWND hEdit = CreateEdit(ES_AUTOHSCROLL);
    HWND hOther = CreateEdit(ES_AUTOHSCROLL);
    SetFocus(hEdit);
    SetFocus(hOther);
    std::vector<CommandSent> commands = TakeCommands();
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(commands[0], (CommandSent { 300, EN_SETFOCUS, hEdit }));
    EXPECT_EQ(commands[1], (CommandSent { 300, EN_KILLFOCUS, hEdit }));
}

/***** Selection *****/

TEST_F(EditControlTest, ShiftArrowsExtendTheSelectionFromTheAnchor)
{
    HWND hEdit = CreateEdit(ES_AUTOHSCROLL, "abcdef");
    SetFocus(hEdit);
    SendMessage(hEdit, EM_SETSEL, 2, 2);
    Key(VK_SHIFT, TRUE);
    Key(VK_RIGHT, TRUE);
    Key(VK_RIGHT, TRUE);
    Key(VK_SHIFT, FALSE);
    EXPECT_EQ(Sel(hEdit), (std::pair<DWORD, DWORD> { 2, 4 }));
    Key(VK_SHIFT, TRUE);
    Key(VK_HOME, TRUE);
    Key(VK_SHIFT, FALSE);
    EXPECT_EQ(Sel(hEdit), (std::pair<DWORD, DWORD> { 0, 2 }));
    Key(VK_END, TRUE);
    EXPECT_EQ(Sel(hEdit), (std::pair<DWORD, DWORD> { 6, 6 }));
}

TEST_F(EditControlTest, DraggingTheMouseSelects)
{
    HWND hEdit = CreateEdit(ES_AUTOHSCROLL, "abcdefghij");
    Mouse(hEdit, EMouseAction::ButtonDown, 1, 5);
    Mouse(hEdit, EMouseAction::Move, 199, 5);
    Mouse(hEdit, EMouseAction::ButtonUp, 199, 5);
    EXPECT_EQ(GetFocus(), hEdit);
    EXPECT_EQ(Sel(hEdit), (std::pair<DWORD, DWORD> { 0, 10 }));
}

TEST_F(EditControlTest, SetSelTakesMinusOneAsTheEndAndPositionsStayOnCharacters)
{
    HWND hEdit = CreateEdit(ES_AUTOHSCROLL, "a\xC3\xA9z"); // "aéz"
    SendMessage(hEdit, EM_SETSEL, 0, -1);
    EXPECT_EQ(Sel(hEdit), (std::pair<DWORD, DWORD> { 0, 4 }));
    SendMessage(hEdit, EM_SETSEL, 2, 2); // inside the two bytes of é
    EXPECT_EQ(Sel(hEdit), (std::pair<DWORD, DWORD> { 1, 1 }));
    SendMessage(hEdit, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(Sel(hEdit), (std::pair<DWORD, DWORD> { 3, 3 }));
}

/***** Undo and the clipboard *****/

TEST_F(EditControlTest, UndoTakesBackARunOfTypingAndUndoingAgainRedoes)
{
    HWND hEdit = CreateEdit(ES_AUTOHSCROLL, "start");
    EXPECT_FALSE(SendMessage(hEdit, EM_CANUNDO, 0, 0));
    SendMessage(hEdit, EM_SETSEL, 5, 5);
    Type(hEdit, " more");
    ASSERT_TRUE(SendMessage(hEdit, EM_CANUNDO, 0, 0));
    EXPECT_TRUE(SendMessage(hEdit, EM_UNDO, 0, 0));
    EXPECT_EQ(Text(hEdit), "start");
    SendMessage(hEdit, WM_UNDO, 0, 0);
    EXPECT_EQ(Text(hEdit), "start more");
}

TEST_F(EditControlTest, CutCopyAndPasteGoThroughTheClipboard)
{
    HWND hEdit = CreateEdit(ES_AUTOHSCROLL, "copy paste");
    SendMessage(hEdit, EM_SETSEL, 0, 4);
    SendMessage(hEdit, WM_CUT, 0, 0);
    EXPECT_EQ(GetEditClipboardText(nullptr), std::optional<std::string>("copy"));
    EXPECT_EQ(Text(hEdit), " paste");
    SendMessage(hEdit, EM_SETSEL, 6, 6);
    SendMessage(hEdit, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(hEdit), " pastecopy");

    HWND hPassword = CreateEdit(ES_PASSWORD, "secret");
    SendMessage(hPassword, EM_SETSEL, 0, -1);
    SendMessage(hPassword, WM_COPY, 0, 0);
    EXPECT_EQ(GetEditClipboardText(nullptr), std::optional<std::string>("copy"));
    EXPECT_EQ(SendMessage(hPassword, EM_GETPASSWORDCHAR, 0, 0), '*');
}

/***** Multi-line *****/

TEST_F(EditControlTest, MultiLineWrapsWordsAndCountsLines)
{
    HWND hEdit = CreateEdit(ES_MULTILINE, "one two three four five six seven\r\nlast", 80, 100);
    const LRESULT nLines = SendMessage(hEdit, EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(nLines, 2);
    EXPECT_EQ(SendMessage(hEdit, EM_LINEINDEX, static_cast<WPARAM>(nLines - 1), 0), 35);
    EXPECT_EQ(SendMessage(hEdit, EM_LINEFROMCHAR, 35, 0), nLines - 1);
    EXPECT_EQ(SendMessage(hEdit, EM_LINELENGTH, 35, 0), 4);
    // Every wrapped line but the paragraph's last fits the width and ends after a space.
    for (LRESULT nLine = 0; nLine + 2 < nLines; ++nLine) {
        char buffer[64] {};
        *reinterpret_cast<WORD*>(buffer) = sizeof(buffer) - 1;
        LRESULT nCopied = SendMessage(hEdit, EM_GETLINE, static_cast<WPARAM>(nLine), reinterpret_cast<LPARAM>(buffer));
        ASSERT_GT(nCopied, 0);
        EXPECT_EQ(buffer[nCopied - 1], ' ');
    }
}

TEST_F(EditControlTest, EnterBreaksLinesOnlyInMultiLineControls)
{
    HWND hMulti = CreateEdit(ES_MULTILINE | ES_AUTOHSCROLL, "", 200, 100);
    Type(hMulti, "a\rb");
    EXPECT_EQ(Text(hMulti), "a\r\nb");
    EXPECT_EQ(SendMessage(hMulti, EM_GETLINECOUNT, 0, 0), 2);
    SendMessage(hMulti, WM_CHAR, '\b', 0);
    SendMessage(hMulti, WM_CHAR, '\b', 0);
    EXPECT_EQ(Text(hMulti), "a");
    HWND hSingle = CreateEdit(ES_AUTOHSCROLL);
    Type(hSingle, "a\rb");
    EXPECT_EQ(Text(hSingle), "ab");
}

TEST_F(EditControlTest, VerticalScrollBarFollowsTheLinesAndScrollsThem)
{
    HWND hEdit = CreateEdit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, "", 150, 50);
    Type(hEdit, "1\r2\r3\r4\r5\r6\r7\r8");
    SCROLLINFO si { sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0 };
    ASSERT_TRUE(GetScrollInfo(hEdit, SB_VERT, &si));
    EXPECT_EQ(si.nMax, 7);
    EXPECT_GT(si.nPos, 0); // the caret on the last line is in view
    EXPECT_EQ(si.nPos, SendMessage(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0));
    SendMessage(hEdit, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(SendMessage(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    SendMessage(hEdit, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(SendMessage(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0), 1);
    GetScrollInfo(hEdit, SB_VERT, &si);
    EXPECT_EQ(si.nPos, 1);
}

TEST_F(EditControlTest, AnswersDialogCodes)
{
    HWND hSingle = CreateEdit(ES_AUTOHSCROLL);
    HWND hMulti = CreateEdit(ES_MULTILINE);
    EXPECT_EQ(SendMessage(hSingle, WM_GETDLGCODE, 0, 0),
        static_cast<LRESULT>(DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS));
    EXPECT_TRUE(SendMessage(hMulti, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
}

/***** Painting *****/

TEST_F(EditControlTest, PaintsTextOnTheWindowColourAndTheSelectionHighlighted)
{
    HWND hEdit = CreateEdit(ES_AUTOHSCROLL | ES_NOHIDESEL, "MMMMMMMM", 200, 20);
    SendMessage(hEdit, EM_SETSEL, 0, 4);
    PumpUntilIdle();
    CCapturedImage image(CaptureWindowImage(m_hParent));
    EXPECT_EQ(image.At(10 + 150, 15), GetSysColor(COLOR_WINDOW));
    bool bHighlight = false;
    for (int x = 12; x < 30; ++x)
        bHighlight = bHighlight || image.At(x, 12) == GetSysColor(COLOR_HIGHLIGHT);
    EXPECT_TRUE(bHighlight);
    HWND hReadOnly = CreateControl("Edit", "x", ES_READONLY, 10, 50, 100, 20, 301);
    PumpUntilIdle();
    CCapturedImage after(CaptureWindowImage(m_hParent));
    EXPECT_EQ(after.At(10 + 80, 60), GetSysColor(COLOR_BTNFACE));
    ASSERT_NE(hReadOnly, nullptr);
}

} // namespace

/***** Margins and scrolling by message *****/

TEST_F(EditControlTest, MarginsMoveTheTextAndNarrowTheWrapping)
{
    HWND hEdit = CreateEdit(ES_MULTILINE, "alpha beta gamma delta", 200, 100);
    const LRESULT nLinesBefore = SendMessage(hEdit, EM_GETLINECOUNT, 0, 0);
    EXPECT_EQ(SendMessage(hEdit, EM_GETMARGINS, 0, 0), MAKELONG(1, 1));

    SendMessage(hEdit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(30, 90));
    RECT rc {};
    SendMessage(hEdit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rc));
    EXPECT_EQ(rc.left, 30);
    EXPECT_EQ(rc.right, 200 - 90);
    EXPECT_EQ(LOWORD(SendMessage(hEdit, EM_POSFROMCHAR, 0, 0)), 30);
    // Eighty pixels of room no longer hold the words of one line.
    EXPECT_GT(SendMessage(hEdit, EM_GETLINECOUNT, 0, 0), nLinesBefore);

    // One side at a time; the font's margin is some pixels but not the old ones.
    SendMessage(hEdit, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELONG(0, EC_USEFONTINFO));
    const auto dwMargins = static_cast<DWORD>(SendMessage(hEdit, EM_GETMARGINS, 0, 0));
    EXPECT_EQ(LOWORD(dwMargins), 30);
    EXPECT_GT(HIWORD(dwMargins), 0);
    EXPECT_LT(HIWORD(dwMargins), 20);
}

TEST_F(EditControlTest, LineScrollMovesMultiLineControlsOnly)
{
    std::string strText;
    for (int i = 0; i < 12; ++i)
        strText += "line " + std::to_string(i) + "\r\n";
    HWND hEdit = CreateEdit(ES_MULTILINE | ES_AUTOHSCROLL, strText.c_str(), 200, 60);

    EXPECT_EQ(SendMessage(hEdit, EM_LINESCROLL, 0, 4), TRUE);
    EXPECT_EQ(SendMessage(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0), 4);
    EXPECT_EQ(HIWORD(SendMessage(hEdit, EM_CHARFROMPOS, 0, MAKELONG(5, 2))), 4);
    SendMessage(hEdit, EM_LINESCROLL, 0, -10);
    EXPECT_EQ(SendMessage(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    // Past the end the last line comes to the top.
    SendMessage(hEdit, EM_LINESCROLL, 0, 100);
    EXPECT_EQ(SendMessage(hEdit, EM_GETFIRSTVISIBLELINE, 0, 0), 12);

    // Sideways by characters, never left of the start.
    SendMessage(hEdit, EM_LINESCROLL, 0, -100);
    const auto xBefore = static_cast<short>(LOWORD(SendMessage(hEdit, EM_POSFROMCHAR, 0, 0)));
    SendMessage(hEdit, EM_LINESCROLL, 3, 0);
    EXPECT_LT(static_cast<short>(LOWORD(SendMessage(hEdit, EM_POSFROMCHAR, 0, 0))), xBefore - 6);
    SendMessage(hEdit, EM_LINESCROLL, static_cast<WPARAM>(-50), 0);
    EXPECT_EQ(static_cast<short>(LOWORD(SendMessage(hEdit, EM_POSFROMCHAR, 0, 0))), xBefore);

    // A wrapping control does not scroll sideways; a single-line one not at all.
    HWND hWrapping = CreateEdit(ES_MULTILINE, "some words", 200, 60);
    SendMessage(hWrapping, EM_LINESCROLL, 3, 0);
    EXPECT_EQ(LOWORD(SendMessage(hWrapping, EM_POSFROMCHAR, 0, 0)), 1);
    HWND hSingle = CreateEdit(ES_AUTOHSCROLL, "single");
    EXPECT_EQ(SendMessage(hSingle, EM_LINESCROLL, 3, 1), FALSE);
    EXPECT_EQ(LOWORD(SendMessage(hSingle, EM_POSFROMCHAR, 0, 0)), 1);
}

/***** The caret *****/

namespace {

// The client point of a position, as the control reports it.
std::pair<int, int> PosFromChar(HWND hEdit, WPARAM nPos)
{
    const auto dwPoint = static_cast<DWORD>(SendMessage(hEdit, EM_POSFROMCHAR, nPos, 0));
    return { static_cast<short>(LOWORD(dwPoint)), static_cast<short>(HIWORD(dwPoint)) };
}

// Where the thread's caret is; (-1, -1) when there is none.
std::pair<int, int> CaretAt()
{
    POINT pt { -1, -1 };
    if (!GetCaretPos(&pt))
        return { -1, -1 };
    return { pt.x, pt.y };
}

COLORREF Inverse(COLORREF cr)
{
    return RGB(255 - GetRValue(cr), 255 - GetGValue(cr), 255 - GetBValue(cr));
}

class EditCaretTest : public EditControlTest {
protected:
    // The pixel of the edit (no border: window and client agree) a few rows into the caret's column at x.
    static COLORREF CaretColumn(HWND hEdit, int x) { return WindowPixel(hEdit, x, 3); }
    void Advance(UINT nMilliseconds)
    {
        m_clock.Advance(nMilliseconds);
        PumpUntilIdle();
    }
};

} // namespace

TEST_F(EditCaretTest, CaretFollowsTypingSelectionMarginsAndScrolling)
{
    HWND hEdit = CreateEdit(ES_AUTOHSCROLL, "", 100, 20);
    SetFocus(hEdit);
    EXPECT_EQ(CaretAt(), PosFromChar(hEdit, 0));
    Type(hEdit, "abc");
    EXPECT_EQ(CaretAt(), PosFromChar(hEdit, 3));
    EXPECT_GT(CaretAt().first, PosFromChar(hEdit, 0).first);
    // The caret is the moving end of the selection.
    SendMessage(hEdit, EM_SETSEL, 3, 1);
    EXPECT_EQ(CaretAt(), PosFromChar(hEdit, 1));
    Key(VK_END, TRUE);
    EXPECT_EQ(CaretAt(), PosFromChar(hEdit, 3));
    SendMessage(hEdit, EM_SETMARGINS, EC_LEFTMARGIN, MAKELONG(30, 0));
    EXPECT_EQ(CaretAt(), PosFromChar(hEdit, 3));
    EXPECT_GT(CaretAt().first, 30);
    // Typing past the right edge scrolls; the caret stays inside the control at the end of the text.
    Type(hEdit, "defghijklmnopqrstuvwxyz");
    EXPECT_EQ(CaretAt(), PosFromChar(hEdit, 26));
    EXPECT_LT(CaretAt().first, 100);

    HWND hMulti = CreateEdit(ES_MULTILINE | ES_AUTOHSCROLL | WS_VSCROLL, "", 150, 100);
    SetFocus(hMulti);
    Type(hMulti, "1\r2\r3");
    const auto [x, y] = CaretAt();
    EXPECT_EQ(std::make_pair(x, y), PosFromChar(hMulti, 7));
    EXPECT_GT(y, 0);
    SendMessage(hMulti, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(CaretAt(), PosFromChar(hMulti, 7));
    EXPECT_LT(CaretAt().second, y);
    SendMessage(hMulti, EM_LINESCROLL, 0, -1);
    EXPECT_EQ(CaretAt().second, y);
}

TEST_F(EditCaretTest, CaretBlinksOnTheClockAndRepaintingLeavesOneCaret)
{
    const UINT nBlink = GetCaretBlinkTime();
    ASSERT_NE(nBlink, INFINITE);
    const COLORREF crWindow = GetSysColor(COLOR_WINDOW);
    HWND hEdit = CreateEdit(ES_AUTOHSCROLL, "", 100, 20);
    SetFocus(hEdit);
    PumpUntilIdle();
    const int x = CaretAt().first;
    EXPECT_EQ(CaretColumn(hEdit, x), Inverse(crWindow));
    EXPECT_EQ(CaretColumn(hEdit, x + 1), crWindow); // a pixel wide
    Advance(nBlink);
    EXPECT_EQ(CaretColumn(hEdit, x), crWindow);
    Advance(nBlink);
    EXPECT_EQ(CaretColumn(hEdit, x), Inverse(crWindow));

    // A repaint shows the caret once, not twice (which would cancel it) or left behind.
    InvalidateRect(hEdit, nullptr, TRUE);
    UpdateWindow(hEdit);
    EXPECT_EQ(CaretColumn(hEdit, x), Inverse(crWindow));
    Advance(nBlink);
    EXPECT_EQ(CaretColumn(hEdit, x), crWindow);
}

TEST_F(EditCaretTest, CaretGoesWithTheFocus)
{
    const COLORREF crWindow = GetSysColor(COLOR_WINDOW);
    HWND hEdit = CreateEdit(ES_AUTOHSCROLL, "", 100, 20);
    HWND hOther = CreateEdit(ES_AUTOHSCROLL, "", 100, 20);
    SetWindowPos(hOther, nullptr, 10, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND hButton = CreateControl("Button", "OK", BS_PUSHBUTTON, 10, 100, 80, 24, 302);
    SendMessage(hOther, EM_SETMARGINS, EC_LEFTMARGIN, MAKELONG(20, 0));
    PumpUntilIdle();

    SetFocus(hEdit);
    PumpUntilIdle();
    const int x = CaretAt().first;
    ASSERT_EQ(CaretColumn(hEdit, x), Inverse(crWindow));
    SetFocus(hOther);
    PumpUntilIdle();
    EXPECT_EQ(CaretAt(), PosFromChar(hOther, 0));
    EXPECT_EQ(CaretColumn(hEdit, x), crWindow);
    EXPECT_EQ(CaretColumn(hOther, CaretAt().first), Inverse(crWindow));

    const int xOther = CaretAt().first;
    SetFocus(hButton);
    PumpUntilIdle();
    EXPECT_EQ(CaretAt(), std::make_pair(-1, -1));
    EXPECT_EQ(CaretColumn(hOther, xOther), crWindow);

    SetFocus(hEdit);
    DestroyWindow(hEdit);
    EXPECT_EQ(CaretAt(), std::make_pair(-1, -1));
    m_clock.Advance(5000);
    PumpUntilIdle();

    // A caret another window made meanwhile is not the edit's to destroy.
    SetFocus(hOther);
    ASSERT_TRUE(CreateCaret(m_hParent, nullptr, 2, 10));
    SetCaretPos(5, 5);
    SetFocus(hButton);
    EXPECT_EQ(CaretAt(), std::make_pair(5, 5));
    DestroyCaret();
}

TEST_F(EditCaretTest, CaretIsALineOfTheFontHigh)
{
    const COLORREF crWindow = GetSysColor(COLOR_WINDOW);
    HWND hEdit = CreateEdit(ES_AUTOHSCROLL, "", 100, 60);
    SetFocus(hEdit);
    PumpUntilIdle();
    const int x = CaretAt().first;
    EXPECT_EQ(WindowPixel(hEdit, x, 40), crWindow);
    HFONT hFont = CreateFont(-48, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Sans");
    ASSERT_NE(hFont, nullptr);
    SendMessage(hEdit, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), TRUE);
    PumpUntilIdle();
    EXPECT_EQ(WindowPixel(hEdit, x, 40), Inverse(crWindow));
    DestroyWindow(hEdit);
    DeleteObject(hFont);
}

// Selecting all of a long multi-line text leaves it where it is, as a dialog
// does when the focus comes; EM_SCROLLCARET then shows the caret.
TEST_F(EditControlTest, SelectingAllOfAMultiLineTextKeepsItsStartInSight)
{
    std::string strText;
    for (int i = 0; i < 40; ++i)
        strText += "line " + std::to_string(i) + "\r\n";
    HWND hMulti = CreateEdit(ES_MULTILINE | WS_VSCROLL, strText.c_str(), 200, 60);
    SendMessage(hMulti, EM_SETSEL, 0, -1);
    EXPECT_EQ(SendMessage(hMulti, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    SendMessage(hMulti, EM_SCROLLCARET, 0, 0);
    EXPECT_GT(SendMessage(hMulti, EM_GETFIRSTVISIBLELINE, 0, 0), 30);
}
