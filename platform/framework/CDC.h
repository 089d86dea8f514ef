#pragma once

// CDC: the class library's object around a device context, with a member for
// each drawing-layer call; and the DCs of windows (CPaintDC, CClientDC,
// CWindowDC), which get their context in the constructor and give it back in
// the destructor.
//
// Handle map: Attach makes an object permanent for its HDC; FromHandle gives
// the permanent object, else a temporary one (HandleMap.h). A CDC made with
// CreateCompatibleDC owns its context and deletes it when destroyed; an
// attached one leaves it to whoever made it.
//
// SelectObject with an object returns the object that was selected before, as
// a pointer from FromHandle: a temporary object unless the program attached
// one, so it is valid until the thread's idle time. CSelectGuard (SelectGuard.h)
// puts it back.

#include "platform/base/CObject.h"
#include "platform/base/CString.h"
#include "platform/framework/CGdiObject.h"
#include "platform/gdi/Blt.h"
#include "platform/gdi/DrawText.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/SelectGuard.h"
#include "platform/window/Paint.h"

class CWnd;

class CDC : public CObject {
    DECLARE_DYNCREATE(CDC)

public:
    CDC() = default;
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    /* The handle map and the context. */

    // The permanent object attached to hDC, else a temporary one; nullptr for NULL.
    static CDC* FromHandle(HDC hDC);
    // Frees the calling thread's temporary objects.
    static void DeleteTempMap();

    // Fails when the object already has a context or hDC is NULL.
    BOOL Attach(HDC hDC);
    HDC Detach();
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    // Makes a memory DC compatible with pDC (the screen for NULL), owned by this object.
    BOOL CreateCompatibleDC(CDC* pDC);
    // Deletes the context made by CreateCompatibleDC; FALSE when there is none.
    BOOL DeleteDC();

    /* Selected objects. Each returns the object selected before, nullptr on failure. */

    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CGdiObject* SelectObject(CGdiObject* pObject);
    // Makes a copy of the region the clip area; returns its complexity, ERROR on failure.
    int SelectObject(CRgn* pRgn);
    HGDIOBJ SelectObject(HGDIOBJ hObject);
    // Selects the stock object `nIndex` (WHITE_BRUSH ... DEFAULT_GUI_FONT).
    CGdiObject* SelectStockObject(int nIndex);
    CPen* GetCurrentPen() const;
    CBrush* GetCurrentBrush() const;
    CFont* GetCurrentFont() const;
    CBitmap* GetCurrentBitmap() const;
    CPalette* GetCurrentPalette() const;
    CPalette* SelectPalette(CPalette* pPalette, BOOL bForceBackground);
    UINT RealizePalette();
    void UpdateColors();

    /* Saving the whole state. */

    int SaveDC();
    BOOL RestoreDC(int nSavedDC);

    /* Colours and modes; each setter returns the previous value. */

    COLORREF SetTextColor(COLORREF crColor);
    COLORREF GetTextColor() const;
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF GetBkColor() const;
    int SetBkMode(int nBkMode);
    int GetBkMode() const;
    UINT SetTextAlign(UINT nFlags);
    UINT GetTextAlign() const;
    int SetROP2(int nDrawMode);
    int GetROP2() const;
    int SetStretchBltMode(int nStretchMode);
    int GetStretchBltMode() const;
    int SetPolyFillMode(int nPolyFillMode);
    int GetPolyFillMode() const;
    int SetMapMode(int nMapMode);
    int GetMapMode() const;
    int GetDeviceCaps(int nIndex) const;

    /* Origins and coordinates; each setter returns the previous origin. */

    POINT SetViewportOrg(int x, int y);
    POINT SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }
    POINT OffsetViewportOrg(int nWidth, int nHeight);
    POINT GetViewportOrg() const;
    POINT SetWindowOrg(int x, int y);
    POINT SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }
    POINT OffsetWindowOrg(int nWidth, int nHeight);
    POINT GetWindowOrg() const;
    void LPtoDP(LPPOINT lpPoints, int nCount = 1) const;
    void LPtoDP(LPRECT lpRect) const;
    void DPtoLP(LPPOINT lpPoints, int nCount = 1) const;
    void DPtoLP(LPRECT lpRect) const;

    /* Clipping; each returns the new clip area's complexity. */

    // NULL removes clipping.
    int SelectClipRgn(CRgn* pRgn);
    int SelectClipRgn(CRgn* pRgn, int nMode);
    int IntersectClipRect(int x1, int y1, int x2, int y2);
    int IntersectClipRect(const RECT* lpRect);
    int ExcludeClipRect(int x1, int y1, int x2, int y2);
    int ExcludeClipRect(const RECT* lpRect);
    int OffsetClipRgn(int x, int y);
    int GetClipBox(LPRECT lpRect) const;
    BOOL PtVisible(int x, int y) const;
    BOOL RectVisible(const RECT* lpRect) const;

    /* Lines and shapes. */

    POINT MoveTo(int x, int y);
    POINT MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
    POINT GetCurrentPosition() const;
    BOOL Polyline(const POINT* lpPoints, int nCount);
    BOOL Polygon(const POINT* lpPoints, int nCount);
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(const RECT* lpRect);
    BOOL Ellipse(int x1, int y1, int x2, int y2);
    BOOL Ellipse(const RECT* lpRect);
    BOOL RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    BOOL RoundRect(const RECT* lpRect, POINT point);

    /* Areas. */

    void FillRect(const RECT* lpRect, CBrush* pBrush);
    void FrameRect(const RECT* lpRect, CBrush* pBrush);
    void InvertRect(const RECT* lpRect);
    // Fills with a solid colour; the background colour is left set to it.
    void FillSolidRect(const RECT* lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    // A one-pixel frame: top and left in one colour, bottom and right in the other.
    void Draw3dRect(const RECT* lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);
    BOOL FillRgn(CRgn* pRgn, CBrush* pBrush);
    BOOL FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight);
    BOOL PaintRgn(CRgn* pRgn);
    BOOL InvertRgn(CRgn* pRgn);
    BOOL FloodFill(int x, int y, COLORREF crColor);
    BOOL ExtFloodFill(int x, int y, COLORREF crColor, UINT nFillType);
    BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags);
    void DrawFocusRect(const RECT* lpRect);
    BOOL DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState);
    BOOL DrawIcon(int x, int y, HICON hIcon);
    BOOL DrawIcon(POINT point, HICON hIcon) { return DrawIcon(point.x, point.y, hIcon); }

    /* Pixels and transfers. */

    COLORREF SetPixel(int x, int y, COLORREF crColor);
    COLORREF SetPixel(POINT point, COLORREF crColor) { return SetPixel(point.x, point.y, crColor); }
    BOOL SetPixelV(int x, int y, COLORREF crColor);
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(POINT point) const { return GetPixel(point.x, point.y); }
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
        int nSrcHeight, DWORD dwRop);
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop);
    BOOL MaskBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, CBitmap& maskBitmap, int xMask,
        int yMask, DWORD dwRop);
    BOOL TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC, int xSrc, int ySrc,
        int nSrcWidth, int nSrcHeight, UINT clrTransparent);

    /* Text. */

    BOOL TextOut(int x, int y, LPCTSTR lpszString, int nCount);
    BOOL TextOut(int x, int y, const CString& str);
    BOOL ExtTextOut(int x, int y, UINT nOptions, const RECT* lpRect, LPCTSTR lpszString, UINT nCount, LPINT lpDxWidths);
    BOOL ExtTextOut(int x, int y, UINT nOptions, const RECT* lpRect, const CString& str, LPINT lpDxWidths);
    int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat);
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat);
    SIZE GetTextExtent(LPCTSTR lpszString, int nCount) const;
    SIZE GetTextExtent(const CString& str) const;
    SIZE GetOutputTextExtent(const CString& str) const { return GetTextExtent(str); }
    SIZE GetTabbedTextExtent(LPCTSTR lpszString, int nCount, int nTabPositions, LPINT lpnTabStopPositions) const;
    SIZE GetTabbedTextExtent(const CString& str, int nTabPositions, LPINT lpnTabStopPositions) const;
    BOOL GetTextExtentExPoint(
        LPCTSTR lpszString, int nCount, int nMaxExtent, LPINT lpnFit, LPINT alpDx, LPSIZE lpSize) const;
    BOOL GetTextMetrics(LPTEXTMETRIC lpMetrics) const;
    int GetTextFace(int nCount, LPTSTR lpszFacename) const;
    int GetTextFace(CString& rString) const;

    HDC m_hDC { nullptr };

private:
    bool m_bOwned { false }; // made by CreateCompatibleDC: deleted with the object
};

// Saves the whole state of a DC for the guard's lifetime, then restores it.
class CSaveDCGuard {
public:
    explicit CSaveDCGuard(CDC& dc)
        : m_dc(dc)
        , m_nSaved(dc.SaveDC())
    {
    }
    ~CSaveDCGuard()
    {
        if (m_nSaved)
            m_dc.RestoreDC(m_nSaved);
    }
    CSaveDCGuard(const CSaveDCGuard&) = delete;
    CSaveDCGuard& operator=(const CSaveDCGuard&) = delete;

private:
    CDC& m_dc;
    int m_nSaved;
};

/* The DCs of windows. Each constructor throws CResourceException when it gets no context. */

// The painting DC of a WM_PAINT handler: BeginPaint in the constructor,
// EndPaint (which validates the painted area) in the destructor.
class CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)

public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps {};

protected:
    HWND m_hWnd { nullptr };
};

// The client area's DC (GetDC), released in the destructor.
class CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)

public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd { nullptr };
};

// The whole window's DC (GetWindowDC), released in the destructor.
class CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)

public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd { nullptr };
};
