#include "platform/framework/CRichEditCtrl.h"

#include <string>

IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

BOOL AfxInitRichEdit()
{
    return RegisterRichEditClass();
}

BOOL CRichEditCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(RICHEDIT_CLASS, nullptr, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

void CRichEditCtrl::SetSel(long nStartChar, long nEndChar)
{
    CHARRANGE cr { static_cast<LONG>(nStartChar), static_cast<LONG>(nEndChar) };
    SetSel(cr);
}

void CRichEditCtrl::SetSel(CHARRANGE& cr)
{
    SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&cr));
}

void CRichEditCtrl::GetSel(long& nStartChar, long& nEndChar) const
{
    CHARRANGE cr {};
    GetSel(cr);
    nStartChar = cr.cpMin;
    nEndChar = cr.cpMax;
}

void CRichEditCtrl::GetSel(CHARRANGE& cr) const
{
    SendMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&cr));
}

void CRichEditCtrl::HideSelection(BOOL bHide, BOOL bPerm)
{
    SendMessage(EM_HIDESELECTION, static_cast<WPARAM>(bHide), static_cast<LPARAM>(bPerm));
}

CString CRichEditCtrl::GetSelText() const
{
    CHARRANGE cr {};
    GetSel(cr);
    // A character takes at most four bytes, a line break two.
    std::string strBuffer(static_cast<size_t>(cr.cpMax - cr.cpMin) * 4 + 1, '\0');
    const auto nBytes = SendMessage(EM_GETSELTEXT, 0, reinterpret_cast<LPARAM>(strBuffer.data()));
    return CString(strBuffer.data(), static_cast<int>(nBytes));
}

void CRichEditCtrl::ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo)
{
    SendMessage(EM_REPLACESEL, static_cast<WPARAM>(bCanUndo), reinterpret_cast<LPARAM>(lpszNewText));
}

void CRichEditCtrl::Copy()
{
    SendMessage(WM_COPY);
}

BOOL CRichEditCtrl::SetDefaultCharFormat(CHARFORMAT& cf)
{
    return static_cast<BOOL>(SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf)));
}

BOOL CRichEditCtrl::SetSelectionCharFormat(CHARFORMAT& cf)
{
    return static_cast<BOOL>(SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf)));
}

DWORD CRichEditCtrl::GetSelectionCharFormat(CHARFORMAT& cf) const
{
    cf.cbSize = sizeof(CHARFORMAT);
    return static_cast<DWORD>(SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf)));
}

DWORD CRichEditCtrl::GetDefaultCharFormat(CHARFORMAT& cf) const
{
    cf.cbSize = sizeof(CHARFORMAT);
    return static_cast<DWORD>(SendMessage(EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf)));
}

long CRichEditCtrl::FindText(DWORD dwFlags, FINDTEXTEX* pFindText) const
{
    return static_cast<long>(SendMessage(EM_FINDTEXTEX, dwFlags, reinterpret_cast<LPARAM>(pFindText)));
}

long CRichEditCtrl::GetTextLength() const
{
    return static_cast<long>(SendMessage(WM_GETTEXTLENGTH));
}

BOOL CRichEditCtrl::SetReadOnly(BOOL bReadOnly)
{
    return static_cast<BOOL>(SendMessage(EM_SETREADONLY, static_cast<WPARAM>(bReadOnly)));
}

void CRichEditCtrl::LimitText(long nChars)
{
    SendMessage(EM_EXLIMITTEXT, 0, nChars);
}

BOOL CRichEditCtrl::LineScroll(int nLines, int nChars)
{
    return static_cast<BOOL>(SendMessage(EM_LINESCROLL, static_cast<WPARAM>(nChars), nLines));
}

int CRichEditCtrl::GetFirstVisibleLine() const
{
    return static_cast<int>(SendMessage(EM_GETFIRSTVISIBLELINE));
}

int CRichEditCtrl::GetLineCount() const
{
    return static_cast<int>(SendMessage(EM_GETLINECOUNT));
}
