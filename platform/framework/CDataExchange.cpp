#include "platform/framework/CDataExchange.h"

#include "platform/controls/ButtonControl.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/window/Dialog.h"
#include "platform/window/Focus.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <string>
#include <type_traits>

IMPLEMENT_DYNAMIC(CUserException, CException)

void AfxThrowUserException()
{
    throw new CUserException;
}

namespace {

CString WindowText(HWND hWnd)
{
    CString strText;
    int nLength = ::GetWindowTextLength(hWnd);
    ::GetWindowText(hWnd, strText.GetBuffer(nLength), nLength + 1);
    strText.ReleaseBuffer();
    return strText;
}

[[noreturn]] void FailWith(CDataExchange* pDX, const CString& strPrompt)
{
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION);
    pDX->Fail();
}

// Reads a whole number from the control's text: blanks around it, a sign only
// when bSigned. Fails the exchange with strPrompt when the text is not one or
// does not fit between nMin and nMax.
long long ReadInteger(CDataExchange* pDX, HWND hCtl, bool bSigned, long long nMin, long long nMax, LPCTSTR pszPrompt)
{
    std::string strText(static_cast<LPCTSTR>(WindowText(hCtl)));
    const char* pBegin = strText.c_str();
    while (*pBegin == ' ' || *pBegin == '\t')
        ++pBegin;
    char* pEnd = nullptr;
    errno = 0;
    long long nValue = std::strtoll(pBegin, &pEnd, 10);
    bool bValid = pEnd != pBegin && errno == 0 && (bSigned || *pBegin != '-') && nValue >= nMin && nValue <= nMax;
    while (bValid && (*pEnd == ' ' || *pEnd == '\t'))
        ++pEnd;
    if (!bValid || *pEnd != '\0')
        FailWith(pDX, pszPrompt);
    return nValue;
}

void WriteInteger(HWND hCtl, long long nValue)
{
    ::SetWindowText(hCtl, std::to_string(nValue).c_str());
}

template<typename T> void ExchangeInteger(CDataExchange* pDX, int nIDC, T& value)
{
    constexpr bool bSigned = std::is_signed_v<T>;
    HWND hCtl = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        WriteInteger(hCtl, static_cast<long long>(value));
        return;
    }
    value = static_cast<T>(ReadInteger(pDX, hCtl, bSigned, static_cast<long long>(std::numeric_limits<T>::min()),
        static_cast<long long>(std::numeric_limits<T>::max()),
        bSigned ? "Please enter an integer." : "Please enter a positive integer."));
}

CString SelectedItemText(HWND hCtl, LRESULT nIndex, UINT uLenMsg, UINT uTextMsg)
{
    CString strText;
    if (nIndex == LB_ERR)
        return strText;
    auto nLength = static_cast<int>(::SendMessage(hCtl, uLenMsg, static_cast<WPARAM>(nIndex), 0));
    if (nLength < 0)
        return strText;
    ::SendMessage(hCtl, uTextMsg, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(strText.GetBuffer(nLength)));
    strText.ReleaseBuffer();
    return strText;
}

} // namespace

/***** CDataExchange *****/

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate)
    , m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hCtl = ::GetDlgItem(m_pDlgWnd->GetSafeHwnd(), nIDC);
    if (!hCtl) {
        CString strPrompt;
        strPrompt.Format("The dialog has no control %d.", nIDC);
        AfxMessageBox(strPrompt, MB_ICONSTOP);
        AfxThrowUserException();
    }
    m_idLastControl = hCtl;
    m_bEditLastControl = FALSE;
    return hCtl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hCtl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hCtl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_idLastControl && ::IsWindow(m_idLastControl)) {
        ::SetFocus(m_idLastControl);
        if (m_bEditLastControl)
            ::SendMessage(m_idLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

/***** Exchange *****/

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hCtl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = WindowText(hCtl);
    else
        ::SetWindowText(hCtl, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    ExchangeInteger(pDX, nIDC, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    ExchangeInteger(pDX, nIDC, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    // long is 64 bits here; the exchange keeps the 32-bit range the class library's long has.
    int nValue = static_cast<int>(value);
    ExchangeInteger(pDX, nIDC, nValue);
    value = nValue;
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    HWND hCtl = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        CString strValue;
        strValue.Format("%.15g", value);
        ::SetWindowText(hCtl, strValue);
        return;
    }
    std::string strText(static_cast<LPCTSTR>(WindowText(hCtl)));
    const char* pBegin = strText.c_str();
    char* pEnd = nullptr;
    errno = 0;
    double dValue = std::strtod(pBegin, &pEnd);
    bool bValid = pEnd != pBegin && errno == 0;
    while (bValid && (*pEnd == ' ' || *pEnd == '\t'))
        ++pEnd;
    if (!bValid || *pEnd != '\0')
        FailWith(pDX, "Please enter a number.");
    value = dValue;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessage(hCtl, BM_GETCHECK, 0, 0));
    else
        ::SendMessage(hCtl, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int nIndex = 0;
    // The group runs from nIDC to the next control with WS_GROUP.
    do {
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessage(hCtl, BM_GETCHECK, 0, 0) == BST_CHECKED && value == -1)
                value = nIndex;
        } else {
            ::SendMessage(hCtl, BM_SETCHECK, nIndex == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++nIndex;
        hCtl = ::GetWindow(hCtl, GW_HWNDNEXT);
    } while (hCtl && !(::GetWindowLongPtr(hCtl, GWL_STYLE) & WS_GROUP));
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessage(hCtl, LB_GETCURSEL, 0, 0));
    else
        ::SendMessage(hCtl, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = SelectedItemText(hCtl, ::SendMessage(hCtl, LB_GETCURSEL, 0, 0), LB_GETTEXTLEN, LB_GETTEXT);
    } else if (::SendMessage(hCtl, LB_SELECTSTRING, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value)))
        == LB_ERR) {
        ::SendMessage(hCtl, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessage(hCtl, CB_GETCURSEL, 0, 0));
    else
        ::SendMessage(hCtl, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        // A combo box with an edit field gives what was typed; the text of the selection otherwise.
        value = WindowText(hCtl);
        if (value.IsEmpty())
            value = SelectedItemText(hCtl, ::SendMessage(hCtl, CB_GETCURSEL, 0, 0), CB_GETLBTEXTLEN, CB_GETLBTEXT);
    } else if (::SendMessage(hCtl, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(value)))
        == LB_ERR) {
        ::SetWindowText(hCtl, value);
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.GetSafeHwnd())
        return;
    HWND hCtl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hCtl))
        AfxThrowUserException();
}

/***** Validation *****/

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (!pDX->m_bSaveAndValidate) {
        if (pDX->m_idLastControl && pDX->m_bEditLastControl)
            ::SendMessage(pDX->m_idLastControl, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
        return;
    }
    if (value.GetLength() > nChars) {
        CString strPrompt;
        strPrompt.Format("Please enter no more than %d characters.", nChars);
        FailWith(pDX, strPrompt);
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    DDV_MinMaxLong(pDX, value, minVal, maxVal);
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) {
        CString strPrompt;
        strPrompt.Format("Please enter an integer between %u and %u.", minVal, maxVal);
        FailWith(pDX, strPrompt);
    }
}

void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) {
        CString strPrompt;
        strPrompt.Format("Please enter an integer between %ld and %ld.", minVal, maxVal);
        FailWith(pDX, strPrompt);
    }
}

void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal)
{
    if (pDX->m_bSaveAndValidate && (value < minVal || value > maxVal)) {
        CString strPrompt;
        strPrompt.Format("Please enter a number between %g and %g.", minVal, maxVal);
        FailWith(pDX, strPrompt);
    }
}

/***** CWnd's data exchange *****/

void CWnd::DoDataExchange(CDataExchange*) { }

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
        return TRUE;
    } catch (CUserException* pException) {
        // The user has been told already.
        pException->Delete();
    } catch (CException* pException) {
        char szMessage[256] {};
        if (pException->GetErrorMessage(szMessage, sizeof(szMessage)))
            AfxMessageBox(szMessage, MB_ICONSTOP);
        pException->Delete();
    }
    return FALSE;
}
