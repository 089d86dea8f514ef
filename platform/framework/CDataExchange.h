#pragma once

// Dialog data exchange: the DDX_ functions move values between a window's
// members and its controls (both ways, as CDataExchange::m_bSaveAndValidate
// says), and the DDV_ functions check the values read. A value that cannot be
// read or fails a check is reported in a message box; then Fail puts the focus
// back on the control at fault and throws CUserException, which UpdateData
// catches and turns into FALSE.

#include "platform/base/CException.h"
#include "platform/base/CString.h"
#include "platform/framework/CWnd.h"

// The user was told of a problem already; the handler only unwinds.
class CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)

public:
    CUserException() = default;
};
[[noreturn]] void AfxThrowUserException();

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    // The control nIDC, remembered as the last one exchanged. A missing control
    // is a fault in the program: it is reported and fails the exchange.
    HWND PrepareCtrl(int nIDC);
    // The same for an edit control, whose text Fail selects.
    HWND PrepareEditCtrl(int nIDC);
    // Puts the focus back on the last control (selecting an edit's text) and throws CUserException.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate; // TRUE: controls to members, with checks
    CWnd* m_pDlgWnd;
    HWND m_idLastControl { nullptr };
    BOOL m_bEditLastControl { FALSE };
};

/* Exchange. */

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value); // DWORD is UINT here
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
// BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// nIDC is the first radio button of a group; value is the index of the checked one, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// The selected item's index (-1: none) or text of a list box or combo box.
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
// Subclasses control nIDC with rControl, once.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

/* Validation. */

// Saving: fails for longer text; loading: limits the last edit control to nChars.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal);
