#include "platform/framework/CAnimateCtrl.h"

#include "platform/base/ResourceModule.h"

IMPLEMENT_DYNAMIC(CAnimateCtrl, CWnd)

BOOL CAnimateCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(ANIMATE_CLASS, nullptr, dwStyle, rect, pParentWnd, nID);
}

BOOL CAnimateCtrl::Open(UINT nID)
{
    return Open(MAKEINTRESOURCE(static_cast<WORD>(nID)));
}

BOOL CAnimateCtrl::Open(LPCTSTR lpszFileName)
{
    return static_cast<BOOL>(SendMessage(
        ACM_OPEN, reinterpret_cast<WPARAM>(AfxGetResourceHandle()), reinterpret_cast<LPARAM>(lpszFileName)));
}

BOOL CAnimateCtrl::Play(UINT nFrom, UINT nTo, UINT nRep)
{
    return static_cast<BOOL>(SendMessage(ACM_PLAY, nRep, MAKELONG(static_cast<WORD>(nFrom), static_cast<WORD>(nTo))));
}

BOOL CAnimateCtrl::Stop()
{
    return static_cast<BOOL>(SendMessage(ACM_STOP));
}

BOOL CAnimateCtrl::Close()
{
    return Open(static_cast<LPCTSTR>(nullptr));
}

BOOL CAnimateCtrl::IsPlaying() const
{
    return static_cast<BOOL>(SendMessage(ACM_ISPLAYING));
}
