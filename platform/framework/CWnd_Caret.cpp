// CWnd's calls for the caret of its thread.

#include "platform/framework/CWnd.h"

#include "platform/window/Caret.h"

void CWnd::CreateCaret(CBitmap* pBitmap)
{
    ::CreateCaret(m_hWnd, pBitmap ? static_cast<HBITMAP>(pBitmap->GetSafeHandle()) : nullptr, 0, 0);
}

void CWnd::CreateSolidCaret(int nWidth, int nHeight)
{
    ::CreateCaret(m_hWnd, nullptr, nWidth, nHeight);
}

void CWnd::CreateGrayCaret(int nWidth, int nHeight)
{
    ::CreateCaret(m_hWnd, reinterpret_cast<HBITMAP>(1), nWidth, nHeight);
}

void CWnd::ShowCaret()
{
    ::ShowCaret(m_hWnd);
}

void CWnd::HideCaret()
{
    ::HideCaret(m_hWnd);
}

POINT CWnd::GetCaretPos()
{
    POINT point {};
    ::GetCaretPos(&point);
    return point;
}

void CWnd::SetCaretPos(POINT point)
{
    ::SetCaretPos(point.x, point.y);
}
