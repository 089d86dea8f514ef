#include "platform/framework/CStatusBarCtrl.h"

#include <string>

IMPLEMENT_DYNAMIC(CStatusBarCtrl, CWnd)

BOOL CStatusBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(STATUSCLASSNAME, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CStatusBarCtrl::SetParts(int nParts, int* pWidths)
{
    return static_cast<BOOL>(SendMessage(SB_SETPARTS, static_cast<WPARAM>(nParts), reinterpret_cast<LPARAM>(pWidths)));
}

int CStatusBarCtrl::GetParts(int nParts, int* pParts) const
{
    return static_cast<int>(SendMessage(SB_GETPARTS, static_cast<WPARAM>(nParts), reinterpret_cast<LPARAM>(pParts)));
}

BOOL CStatusBarCtrl::SetText(LPCTSTR lpszText, int nPane, int nType)
{
    return static_cast<BOOL>(
        SendMessage(SB_SETTEXT, static_cast<WPARAM>(nPane | nType), reinterpret_cast<LPARAM>(lpszText)));
}

CString CStatusBarCtrl::GetText(int nPane, int* pType) const
{
    std::string strText(static_cast<size_t>(GetTextLength(nPane)) + 1, '\0');
    const LRESULT lInfo = SendMessage(SB_GETTEXT, static_cast<WPARAM>(nPane), reinterpret_cast<LPARAM>(strText.data()));
    if (pType)
        *pType = HIWORD(lInfo);
    return CString(strText.c_str());
}

int CStatusBarCtrl::GetTextLength(int nPane, int* pType) const
{
    const LRESULT lInfo = SendMessage(SB_GETTEXTLENGTH, static_cast<WPARAM>(nPane));
    if (pType)
        *pType = HIWORD(lInfo);
    return LOWORD(lInfo);
}

BOOL CStatusBarCtrl::GetRect(int nPane, LPRECT lpRect) const
{
    return static_cast<BOOL>(SendMessage(SB_GETRECT, static_cast<WPARAM>(nPane), reinterpret_cast<LPARAM>(lpRect)));
}

void CStatusBarCtrl::SetMinHeight(int nMin)
{
    SendMessage(SB_SETMINHEIGHT, static_cast<WPARAM>(nMin));
}

BOOL CStatusBarCtrl::GetBorders(int& nHorz, int& nVert, int& nSpacing) const
{
    int borders[3] {};
    const auto bDone = static_cast<BOOL>(SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders)));
    nHorz = borders[0];
    nVert = borders[1];
    nSpacing = borders[2];
    return bDone;
}
