#pragma once

// Drives the program's windows headless, the way a user at the keyboard and
// mouse would, for tests.
//
// A CTestDriver installs a manual clock for its lifetime (time stands still
// unless the test advances it) and works on the calling thread, which must be
// the thread of the windows it drives. Every action injects its input through
// the window layer's injection calls and then pumps the thread's queue until
// it is idle, so when a call returns, everything the input caused has run.
// The steps of one mouse gesture (move, press, move, release) go one at a
// time; when a step starts a loop that waits for input (dragging a scroll
// bar's thumb, drag detection), that loop is given the gesture's next steps
// as it waits. Points are client coordinates of the window named.

#include "platform/base/CString.h"
#include "platform/base/Clock.h"
#include "platform/base/WinTypes.h"
#include "platform/controls/RichEditControl.h"
#include "platform/controls/TreeViewControl.h"
#include "platform/display/TrayHost.h"
#include "platform/testing/DialogScript.h"
#include "platform/window/Dialog.h"
#include "platform/window/Input.h"
#include "platform/window/Menu.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WindowTypes.h"

#include <deque>
#include <functional>
#include <vector>

class CTestDriver {
public:
    /* Modifier flags for PressKey. */
    static constexpr UINT SHIFT = 0x1;
    static constexpr UINT CONTROL = 0x2;
    static constexpr UINT ALT = 0x4;

    // The clock starts at 2020-01-01 00:00 UTC with a tick count well away from 0.
    CTestDriver();
    ~CTestDriver();
    CTestDriver(const CTestDriver&) = delete;
    CTestDriver& operator=(const CTestDriver&) = delete;

    /* Time. */

    // Moves the clock forward one millisecond at a time, pumping after each
    // step, so timers fire in the order they fall due and each at its time.
    void Advance(UINT nMilliseconds);
    // Runs what waits in the queue without moving the clock, as the program's
    // loop would (a dialog takes its keys: Tab, Enter, Escape); returns how
    // many messages were taken.
    int Pump();
    // Pumps, and between pumps waits for messages (socket notifications,
    // messages from other threads), until condition() holds or
    // nMilliseconds of real time have passed; the clock does not move.
    // TRUE when the condition held. For work that peers in other threads do.
    BOOL PumpUntil(const std::function<bool()>& condition, DWORD nMilliseconds = 10000);

    /* Mouse. Each returns FALSE when no window received the input. */

    // nModifiers (SHIFT, CONTROL, ALT) are held down around the click.
    BOOL Click(HWND hWnd, int x, int y, UINT nModifiers = 0);
    // Two presses with no time between them, which the window layer reports as
    // a double click to windows that ask for them.
    BOOL DoubleClick(HWND hWnd, int x, int y);
    BOOL RightClick(HWND hWnd, int x, int y);
    // Presses the left button at `from`, moves to `to` and releases it there.
    BOOL Drag(HWND hWnd, POINT from, POINT to);
    // Moves the mouse there without a button, as when hovering for a tip.
    BOOL Hover(HWND hWnd, int x, int y);

    /* Mouse steps, one event each, for gestures with keys or clock steps
       between them (a drag that rests, a held button that repeats). A press
       moves the cursor to its point first. */

    // eButton: EMouseButton::Left, Right or Middle.
    BOOL Press(HWND hWnd, int x, int y, EMouseButton eButton = EMouseButton::Left);
    // Moves the cursor, with whatever buttons are down.
    BOOL MoveTo(HWND hWnd, int x, int y);
    BOOL Release(HWND hWnd, int x, int y, EMouseButton eButton = EMouseButton::Left);
    // Presses the left button at the first point and moves through the
    // others as one gesture, so that a loop the press starts (drag detection)
    // takes the moves it waits for and the rest reach the drag it began. The
    // button stays down for a later Release.
    BOOL PressAndMove(HWND hWnd, const std::vector<POINT>& points);
    // The cursor the program showed last (SetCursor).
    static HCURSOR Cursor();

    /* Keyboard. Keys go to the window with the focus. */

    // Types each character with the key (and Shift) that makes it. FALSE with
    // ERROR_INVALID_PARAMETER, before typing anything, when a character has no
    // key (letters, digits, ASCII punctuation, space, tab and newline do).
    BOOL TypeText(LPCTSTR lpszText);
    // Presses and releases a key (VK_*) with the modifiers held down around it.
    BOOL PressKey(UINT nVirtualKey, UINT nModifiers = 0);
    // A key's press and release as separate steps (a modifier held while the mouse rests).
    BOOL KeyDown(UINT nVirtualKey) { return Key(nVirtualKey, true); }
    BOOL KeyUp(UINT nVirtualKey) { return Key(nVirtualKey, false); }

    /* Looking at windows. */

    static CString Text(HWND hWnd);
    // Whether a check box or radio button is checked (BST_CHECKED).
    static BOOL IsChecked(HWND hWnd);
    static BOOL IsEnabled(HWND hWnd);
    static BOOL IsVisible(HWND hWnd);
    // The child with that id, direct children first, then their descendants;
    // NULL when there is none.
    static HWND FindChild(HWND hParent, int nId);
    // Writes the window's pixels, frame included, as a PNG file (a program path).
    static BOOL Screenshot(HWND hWnd, LPCTSTR lpszPath);
    // The window with the keyboard focus on this thread; NULL for none.
    static HWND Focus();
    // Whether the window is a combo box (else list calls treat it as a list box).
    static BOOL IsComboBox(HWND hWnd);
    // The texts of the items of a list box or combo box, in their order.
    static std::vector<CString> Items(HWND hWnd);
    // The selected item of a single-selection list box or a combo box; -1 for none.
    static int Selection(HWND hWnd);
    // The selected items of a multiple-selection list box, in order.
    static std::vector<int> SelectedItems(HWND hList);

    /* List views and trees (TestDriver_CommonControls.cpp). Texts are read
       through the control, so callback texts are asked of their owners. A
       label editor opened by a click or F2 has the focus: TypeText types into it. */

    // Each row's texts, one per column (sub-items 0 .. columns - 1).
    static std::vector<std::vector<CString>> ListRows(HWND hList);
    // The selected rows in order, and the focused row (-1 for none).
    static std::vector<int> ListSelection(HWND hList);
    static int ListFocus(HWND hList);
    // The column indexes from left to right, and the widths by column index.
    static std::vector<int> ListColumnOrder(HWND hList);
    static std::vector<int> ListColumnWidths(HWND hList);
    // Clicks a row's cell of sub-item nSubItem, scrolled into sight first,
    // with the modifiers held down around the click.
    BOOL ClickListRow(HWND hList, int nRow, int nSubItem = 0, UINT nModifiers = 0);
    // Clicks item nIndex of a list's header (or of a header control itself).
    BOOL ClickHeaderItem(HWND hListOrHeader, int nIndex);
    // Drags the divider right of item nIndex by dx pixels.
    BOOL DragHeaderDivider(HWND hListOrHeader, int nIndex, int dx);
    // Drags item nIndex to order position nToPosition (a header with HDS_DRAGDROP).
    BOOL DragHeaderItem(HWND hListOrHeader, int nIndex, int nToPosition);

    // The tree item at the end of a path of texts from the top ({"a", "b"}:
    // child "b" of top-level "a"); NULL when a step has no such item.
    static HTREEITEM TreeItem(HWND hTree, const std::vector<CString>& path);
    // The texts of an item's children (NULL or TVI_ROOT: the top level).
    static std::vector<CString> TreeChildren(HWND hTree, HTREEITEM hParent);
    static BOOL IsTreeExpanded(HWND hTree, HTREEITEM hItem);
    // The item's state image index (bits 12-15 of its state), 0 for none.
    static UINT TreeStateImage(HWND hTree, HTREEITEM hItem);
    // Clicks the item's label, or its state icon, made visible first.
    BOOL ClickTreeItem(HWND hTree, HTREEITEM hItem);
    BOOL ClickTreeStateIcon(HWND hTree, HTREEITEM hItem);
    // Where that click goes (client coordinates), for input that comes from
    // elsewhere (a real X server's); FALSE when the item shows no state icon.
    BOOL TreeStateIconPoint(HWND hTree, HTREEITEM hItem, POINT* pPoint);

    /* Check lists (CCheckListBox; TestDriver_CommonControls.cpp). Both
       readers answer empty for a window that is no check list. */

    // Each item's check state (0, 1 or 2), in item order.
    static std::vector<int> CheckListStates(HWND hList);
    // Whether each item is enabled, in item order.
    static std::vector<BOOL> CheckListEnabled(HWND hList);
    // Clicks the middle of item nIndex's box, scrolled into sight first;
    // FALSE when the list has no such item.
    BOOL ClickCheckListBox(HWND hList, int nIndex);
    // Where that click goes (client coordinates), scrolled into sight first.
    BOOL CheckListBoxPoint(HWND hList, int nIndex, POINT* pPoint);

    /* Bars (TestDriver_CommonControls.cpp). */

    // The state (TBSTATE_*) of the toolbar button with that command; -1 when there is none.
    static int ToolbarButtonState(HWND hToolbar, UINT nCommand);
    // The text a status bar pane shows.
    static CString StatusPaneText(HWND hStatusBar, int nPane);
    // The text of the tip shown on this thread; "" when none shows.
    static CString ShownTipText();

    /* Date pickers and tabs (TestDriver_DatesAndTabs.cpp). */

    // The picker's value.
    static SYSTEMTIME PickerDate(HWND hPicker);
    // Picks the date from the picker's calendar as a user would: its button
    // opens it, the title's buttons page to the month, a click chooses the
    // day. The time of day stays. FALSE when the picker has no calendar or the
    // day cannot be chosen (outside the range); the calendar is then left with Esc.
    BOOL PickDate(HWND hPicker, const SYSTEMTIME& date);
    // Types the date into the picker's fields from the first one, twice, since
    // each field is checked against the others as it is typed. FALSE when the
    // picker does not show the date afterwards.
    BOOL TypeDate(HWND hPicker, const SYSTEMTIME& date);
    // Clicks tab nIndex of a tab control; FALSE when there is no such tab.
    BOOL ClickTab(HWND hTab, int nIndex);

    /* Rich edits and HTML views (TestDriver_Documents.cpp). */

    // A rich edit's whole text, line breaks as "\r\n".
    static CString RichEditText(HWND hRichEdit);
    // Its selection in characters.
    static CHARRANGE RichEditSelection(HWND hRichEdit);
    // Its format runs in text order.
    static std::vector<RICHEDITRUN> RichEditRuns(HWND hRichEdit);
    // Clicks the middle of the first link of an HTML view (CHtmlView) whose
    // text is lpszText; FALSE when the view shows no such link.
    BOOL ClickHtmlLink(HWND hHtmlView, LPCTSTR lpszText);

    /* Modal dialogs and message boxes. */

    /* Modal dialogs. Answers are queued: each modal dialog or message box
       shown on this thread takes the next one as soon as it is shown, before
       its loop waits for a user; one shown with no answer queued waits as it
       would for a user. */

    // Ends the next message box as if its button nResult (IDYES, IDOK, ...) was pressed.
    void AnswerNextMessageBox(int nResult);
    // Runs callback on the next modal dialog; the callback ends it (EndDialog,
    // or a click on one of its buttons).
    void OnNextDialog(std::function<void(HWND hDlg)> callback);
    // Answers the next modal dialog with the script (see CDialogScript).
    void AnswerNextDialog(CDialogScript script);
    // What went wrong in the scripts run so far, one line each ("step 2: no control 1005").
    const std::vector<CString>& ScriptErrors() const { return m_scriptErrors; }

    /* Popup menus. Answers are queued apart from those of dialogs: each menu
       tracked on this thread (TrackPopupMenu, a menu bar's menu) takes the next
       one as soon as it has opened; one tracked with no answer queued waits as
       it would for a user. */

    // Chooses command nCommand in the next menu, as a user would (opening the
    // submenus that lead to it). A command that no enabled item carries
    // dismisses the menu instead, as a click on a disabled item does.
    void ChooseNextMenuCommand(UINT nCommand);
    // Dismisses the next menu without a command, as a click outside it does.
    void DismissNextMenu();
    // Runs callback on the next menu once its owner has updated it; the
    // command it returns is chosen as with ChooseNextMenuCommand (0 dismisses).
    void OnNextMenu(std::function<UINT(HMENU hMenu)> callback);

    /* Acting inside a modal loop that the test's own call started (a popup
       chain's TrackPopup, a dialog's DoModal). Steps are queued; each runs
       when a loop of this thread next waits for input, after the rest of a
       running mouse gesture, and may move, click, type and advance the clock:
       what its actions cause runs before they return, messages passing the
       loop's own filter first (CModalLoopFilter). After a step the loop looks
       at its state again. A loop that waits with no step left waits as it
       would for a user. */

    void OnNextWait(std::function<void()> step);

    /* Popup chains (TestDriver_Popups.cpp): top-level windows that hold a
       popup list, a list box of ID 101, with its arrow buttons 102 (up) and
       103 (down). */

    // The open popup windows, the first opened (the root) first.
    static std::vector<HWND> PopupWindows();
    // The popup window's list; NULL when it has none.
    static HWND PopupList(HWND hPopup);
    // Whether the up and the down arrow button show.
    static BOOL IsPopupUpArrowVisible(HWND hPopup);
    static BOOL IsPopupDownArrowVisible(HWND hPopup);
    // Moves the cursor onto the middle of a row (scrolled into sight first),
    // as hovering does; FALSE when the popup has no such row.
    BOOL HoverPopupRow(HWND hPopup, int nRow);
    // Clicks the middle of a row, with the right button when bRight.
    BOOL ClickPopupRow(HWND hPopup, int nRow, BOOL bRight = FALSE);

    /* The tray (TestDriver_Tray.cpp): the headless display's recording tray.
       The driver switches it back on when it goes. */

    // The icons shown now, the oldest first.
    static std::vector<CTrayIcon> TrayIcons();
    // Acts on an icon with a mouse message (WM_RBUTTONUP, WM_LBUTTONDBLCLK, ...)
    // at the icon's place, then pumps; FALSE for an icon that is not shown.
    BOOL ClickTrayIcon(HWND hWnd, UINT uID, UINT nMouseMessage);
    // Brings the pointer onto an icon (bOver) or takes it off, then pumps;
    // FALSE for an icon that is not shown.
    BOOL HoverTrayIcon(HWND hWnd, UINT uID, BOOL bOver);
    // Switches the tray on or off, as a desktop with and without one; switching
    // it off drops the icons shown.
    static void SetTrayEnabled(BOOL bEnabled);

private:
    BOOL MouseButton(HWND hWnd, int x, int y, bool bRight, int nClicks);
    BOOL Key(UINT nVirtualKey, bool bDown);
    // Presses (bDown) or releases the modifier keys of nModifiers.
    BOOL Modifiers(UINT nModifiers, bool bDown);
    static BOOL PreTranslate(MSG* pMsg);
    // Injects each mouse event, pumping after each; TRUE when every one reached a window.
    BOOL RunMouseGesture(std::deque<CMouseInput> events);

    static void AnswerModalDialog(HWND hDlg);
    static BOOL AnswerMenu(HMENU hMenu, UINT* pnCommand);
    // Gives the next event of the gesture, else the next step, to a loop that waits for input.
    static void FeedWaitingLoop();
    // The row's middle in the list's client coordinates, scrolled into sight; FALSE for no such row.
    static BOOL PopupRowPoint(HWND hPopup, int nRow, HWND* phList, POINT* pPoint);

    CManualClock m_clock;
    CClockOverride m_override { m_clock };
    std::deque<std::function<void(HWND)>> m_modalAnswers;
    std::deque<CMouseInput> m_gesture; // events of the running gesture not yet injected
    BOOL m_bGestureReceived { TRUE };
    CTestDriver* m_pPreviousDriver;
    MODALDIALOGHOOK m_pfnPreviousHook;
    THREADWAITHOOK m_pfnPreviousWaitHook;
    std::deque<std::function<UINT(HMENU)>> m_menuAnswers; // each gives the command; 0 dismisses
    std::deque<std::function<void()>> m_loopSteps;
    std::vector<CString> m_scriptErrors;
    MENUTRACKHOOK m_pfnPreviousMenuHook;
};
