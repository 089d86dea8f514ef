#pragma once

// A script that answers a modal dialog the way a user would. Its steps run in
// order once the dialog is shown (CTestDriver::AnswerNextDialog); controls
// are named by their dialog item ID and must be visible and enabled, as they
// must be for a user; in a property sheet they are looked for in the current page too.
//
// A step that a user could not do (no such control, a hidden or disabled one,
// an item that is not in the list, a dialog that has already ended) stops the
// script: the driver records what went wrong (CTestDriver::ScriptErrors) and
// ends the dialog with IDCANCEL, so that a test never waits for a user who
// does not come. A script that leaves its dialog open is ended the same way.

#include "platform/base/CString.h"
#include "platform/controls/ButtonControl.h"
#include "platform/window/WindowTypes.h"

#include <functional>
#include <vector>

class CTestDriver;

class CDialogScript {
public:
    // Sets the control's text as SetDlgItemText does (an edit control reports EN_CHANGE).
    CDialogScript& SetText(int nId, LPCTSTR lpszText);
    // Clicks a check box or radio button until it shows nCheck (BST_UNCHECKED,
    // BST_CHECKED, BST_INDETERMINATE); a button that never does is an error.
    CDialogScript& Check(int nId, UINT nCheck = BST_CHECKED);
    CDialogScript& Uncheck(int nId) { return Check(nId, BST_UNCHECKED); }
    // Selects item nIndex. In a list box by a click on it, scrolled into view
    // first (in an LBS_MULTIPLESEL list the click adds it, unless it is
    // selected already; in other lists it becomes the only one); in a combo box
    // as a choice from its list (CB_SETCURSEL, then CBN_SELCHANGE to the dialog).
    CDialogScript& Select(int nId, int nIndex);
    // Selects the item whose text is lpszItem, without regard to case.
    CDialogScript& Select(int nId, LPCTSTR lpszItem);
    // Clicks the row of a list view whose first text is lpszText, without regard to case.
    CDialogScript& SelectListRow(int nId, LPCTSTR lpszText);
    // Clicks the label of the tree item at the end of the path of texts, made visible first.
    CDialogScript& SelectTreeItem(int nId, std::vector<CString> path);
    // Clicks a button.
    CDialogScript& Press(int nId);
    // Sets a date-time picker's date, keeping its time of day: chosen from its
    // calendar, or typed into its fields when it has an up-down instead.
    CDialogScript& SetDate(int nId, const SYSTEMTIME& date);
    // Shows page nPage of a property sheet, as its current page allows: by a
    // click on its tab, or in a wizard, which has no tabs, by PSM_SETCURSEL.
    CDialogScript& SelectPage(int nPage);
    // Runs a step of the test's own, such as checking what the dialog shows.
    CDialogScript& Then(std::function<void(HWND hDlg)> step);

    // Runs the steps on hDlg; returns the error that stopped them, empty when
    // all ran. For a test's own answer that picks a script by the dialog shown.
    CString Run(CTestDriver& driver, HWND hDlg) const;

private:
    // A step returns what went wrong, or an empty text.
    using Step = std::function<CString(CTestDriver& driver, HWND hDlg)>;

    std::vector<Step> m_steps;
};
