#include "platform/testing/DialogScript.h"

#include "platform/base/TextFunctions.h"
#include "platform/controls/ButtonControl.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/DateTimePicker.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/controls/PropertySheet.h"
#include "platform/controls/TabControl.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/Dialog.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/Window.h"

#include <utility>

namespace {

// The control nId of the dialog, or of a visible control parent in it (the
// current page of a property sheet, a sheet inside the dialog).
HWND FindControl(HWND hDlg, int nId)
{
    if (HWND hControl = GetDlgItem(hDlg, nId))
        return hControl;
    for (HWND hChild = GetWindow(hDlg, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        if (!(GetWindowLongPtr(hChild, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) || !IsWindowVisible(hChild))
            continue;
        if (HWND hControl = FindControl(hChild, nId))
            return hControl;
    }
    return nullptr;
}

// A control a user can reach: it exists, is visible and enabled. Sets
// strError and returns NULL otherwise.
HWND UsableControl(HWND hDlg, int nId, CString& strError)
{
    HWND hControl = FindControl(hDlg, nId);
    if (!hControl)
        strError.Format("no control %d", nId);
    else if (!IsWindowVisible(hControl))
        strError.Format("control %d is hidden", nId);
    else if (!IsWindowEnabled(hControl))
        strError.Format("control %d is disabled", nId);
    else
        return hControl;
    return nullptr;
}

BOOL ClickCentre(CTestDriver& driver, HWND hWnd)
{
    RECT rc {};
    GetClientRect(hWnd, &rc);
    return driver.Click(hWnd, rc.right / 2, rc.bottom / 2);
}

CString SelectListItem(CTestDriver& driver, HWND hList, int nIndex)
{
    const auto dwStyle = static_cast<DWORD>(GetWindowLongPtr(hList, GWL_STYLE));
    if ((dwStyle & LBS_MULTIPLESEL) && SendMessage(hList, LB_GETSEL, static_cast<WPARAM>(nIndex), 0) > 0)
        return {};
    RECT rcClient {};
    RECT rcItem {};
    GetClientRect(hList, &rcClient);
    SendMessage(hList, LB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&rcItem));
    if (rcItem.top < 0 || rcItem.bottom > rcClient.bottom) {
        // Scrolled into view as the user would with the scroll bar.
        SendMessage(hList, LB_SETTOPINDEX, static_cast<WPARAM>(nIndex), 0);
        SendMessage(hList, LB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&rcItem));
    }
    if (!driver.Click(hList, rcItem.left + 2, (rcItem.top + rcItem.bottom) / 2))
        return "the click on the list reached no window";
    return {};
}

CString SelectItem(CTestDriver& driver, HWND hControl, int nId, int nIndex)
{
    CString strError;
    if (nIndex < 0 || nIndex >= static_cast<int>(CTestDriver::Items(hControl).size())) {
        strError.Format("control %d has no item %d", nId, nIndex);
        return strError;
    }
    if (!CTestDriver::IsComboBox(hControl))
        return SelectListItem(driver, hControl, nIndex);
    SendMessage(hControl, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
    SendMessage(GetParent(hControl), WM_COMMAND, MAKEWPARAM(static_cast<WORD>(nId), CBN_SELCHANGE),
        reinterpret_cast<LPARAM>(hControl));
    driver.Pump();
    return strError;
}

} // namespace

CDialogScript& CDialogScript::SetText(int nId, LPCTSTR lpszText)
{
    m_steps.push_back([nId, strText = CString(lpszText)](CTestDriver& driver, HWND hDlg) {
        CString strError;
        if (HWND hControl = UsableControl(hDlg, nId, strError)) {
            SetWindowText(hControl, strText);
            driver.Pump();
        }
        return strError;
    });
    return *this;
}

CDialogScript& CDialogScript::Check(int nId, UINT nCheck)
{
    m_steps.push_back([nId, nCheck](CTestDriver& driver, HWND hDlg) {
        CString strError;
        HWND hButton = UsableControl(hDlg, nId, strError);
        // Three clicks take a three-state box through all its states.
        for (int nClick = 0; hButton && nClick < 3; ++nClick) {
            if (static_cast<UINT>(SendMessage(hButton, BM_GETCHECK, 0, 0)) == nCheck)
                return strError;
            ClickCentre(driver, hButton);
            if (!IsWindow(hButton))
                break;
        }
        if (hButton)
            strError.Format("control %d does not take check state %u", nId, nCheck);
        return strError;
    });
    return *this;
}

CDialogScript& CDialogScript::Select(int nId, int nIndex)
{
    m_steps.push_back([nId, nIndex](CTestDriver& driver, HWND hDlg) {
        CString strError;
        HWND hControl = UsableControl(hDlg, nId, strError);
        return hControl ? SelectItem(driver, hControl, nId, nIndex) : strError;
    });
    return *this;
}

CDialogScript& CDialogScript::Select(int nId, LPCTSTR lpszItem)
{
    m_steps.push_back([nId, strItem = CString(lpszItem)](CTestDriver& driver, HWND hDlg) {
        CString strError;
        HWND hControl = UsableControl(hDlg, nId, strError);
        if (!hControl)
            return strError;
        std::vector<CString> items = CTestDriver::Items(hControl);
        for (size_t i = 0; i < items.size(); ++i) {
            if (lstrcmpi(items[i], strItem) == 0)
                return SelectItem(driver, hControl, nId, static_cast<int>(i));
        }
        strError.Format("control %d has no item \"%s\"", nId, static_cast<LPCTSTR>(strItem));
        return strError;
    });
    return *this;
}

CDialogScript& CDialogScript::SelectListRow(int nId, LPCTSTR lpszText)
{
    m_steps.push_back([nId, strText = CString(lpszText)](CTestDriver& driver, HWND hDlg) {
        CString strError;
        HWND hList = UsableControl(hDlg, nId, strError);
        if (!hList)
            return strError;
        const std::vector<std::vector<CString>> rows = CTestDriver::ListRows(hList);
        for (size_t i = 0; i < rows.size(); ++i) {
            if (!rows[i].empty() && lstrcmpi(rows[i][0], strText) == 0) {
                if (!driver.ClickListRow(hList, static_cast<int>(i)))
                    strError.Format("the click on row %d of control %d reached no window", static_cast<int>(i), nId);
                return strError;
            }
        }
        strError.Format("control %d has no row \"%s\"", nId, static_cast<LPCTSTR>(strText));
        return strError;
    });
    return *this;
}

CDialogScript& CDialogScript::SelectTreeItem(int nId, std::vector<CString> path)
{
    m_steps.push_back([nId, path = std::move(path)](CTestDriver& driver, HWND hDlg) {
        CString strError;
        HWND hTree = UsableControl(hDlg, nId, strError);
        if (!hTree)
            return strError;
        const HTREEITEM hItem = CTestDriver::TreeItem(hTree, path);
        if (!hItem)
            strError.Format(
                "control %d has no item \"%s\"", nId, static_cast<LPCTSTR>(path.empty() ? CString() : path.back()));
        else if (!driver.ClickTreeItem(hTree, hItem))
            strError.Format("the click on an item of control %d reached no window", nId);
        return strError;
    });
    return *this;
}

CDialogScript& CDialogScript::Press(int nId)
{
    m_steps.push_back([nId](CTestDriver& driver, HWND hDlg) {
        CString strError;
        if (HWND hButton = UsableControl(hDlg, nId, strError); hButton && !ClickCentre(driver, hButton))
            strError.Format("the click on control %d reached no window", nId);
        return strError;
    });
    return *this;
}

CDialogScript& CDialogScript::SetDate(int nId, const SYSTEMTIME& date)
{
    m_steps.push_back([nId, date](CTestDriver& driver, HWND hDlg) {
        CString strError;
        HWND hPicker = UsableControl(hDlg, nId, strError);
        if (!hPicker)
            return strError;
        const BOOL bSet = (GetWindowLongPtr(hPicker, GWL_STYLE) & DTS_UPDOWN) ? driver.TypeDate(hPicker, date)
                                                                              : driver.PickDate(hPicker, date);
        if (!bSet)
            strError.Format("control %d does not take %04d-%02d-%02d", nId, date.wYear, date.wMonth, date.wDay);
        return strError;
    });
    return *this;
}

CDialogScript& CDialogScript::SelectPage(int nPage)
{
    m_steps.push_back([nPage](CTestDriver& driver, HWND hDlg) {
        CString strError;
        auto hTab = reinterpret_cast<HWND>(SendMessage(hDlg, PSM_GETTABCONTROL, 0, 0));
        const BOOL bShown = hTab ? driver.ClickTab(hTab, nPage) && SendMessage(hTab, TCM_GETCURSEL, 0, 0) == nPage
                                 : static_cast<BOOL>(SendMessage(hDlg, PSM_SETCURSEL, static_cast<WPARAM>(nPage), 0));
        if (!bShown)
            strError.Format("page %d could not be shown", nPage);
        driver.Pump();
        return strError;
    });
    return *this;
}

CDialogScript& CDialogScript::Then(std::function<void(HWND hDlg)> step)
{
    m_steps.push_back([step = std::move(step)](CTestDriver& driver, HWND hDlg) {
        step(hDlg);
        driver.Pump();
        return CString();
    });
    return *this;
}

// EndDialog hides a dialog at once, so a hidden dialog has ended.
CString CDialogScript::Run(CTestDriver& driver, HWND hDlg) const
{
    for (size_t nStep = 0; nStep < m_steps.size(); ++nStep) {
        CString strError;
        if (!IsWindow(hDlg) || !IsWindowVisible(hDlg))
            strError = "the dialog has already ended";
        else
            strError = m_steps[nStep](driver, hDlg);
        if (!strError.IsEmpty()) {
            CString strStep;
            strStep.Format("step %d: %s", static_cast<int>(nStep + 1), static_cast<LPCTSTR>(strError));
            return strStep;
        }
    }
    if (IsWindow(hDlg) && IsWindowVisible(hDlg))
        return "the script left the dialog open";
    return {};
}
