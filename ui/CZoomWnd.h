#pragma once

// A child window that shows one picture (a bitmap file or resource, an icon,
// a cursor, a packed DIB or any file the picture decoder reads) at a chosen
// zoom or fitted to the window, with scroll bars whose positions are percents.
// It also renders the picture at any size into a packed 32-bit DIB.
//
// Zoom: 2 or more is a percent of the picture's size; below 2 fits the picture
// to the window keeping its proportions (never enlarging it). Positions (0 to
// 100, per direction) say which part of a picture larger than the window is
// shown: 2 and below show its start, 98 and above its end. The area around the
// picture is filled with the background colour.

#include "platform/framework/CWnd.h"
#include "platform/gdi/GdiTypes.h"

#include <vector>

class CDC;

class CZoomWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    /* Picture types. */
    static constexpr int TYPE_BITMAP_FILE = 0;
    static constexpr int TYPE_ICON = 1;
    static constexpr int TYPE_CURSOR = 2;
    static constexpr int TYPE_METAFILE = 3; // no reader: never a picture
    static constexpr int TYPE_BITMAP_RESOURCE = 32;
    static constexpr int TYPE_PACKED_DIB = 64; // SetPackedDib's

    // Zooms below this fit the picture to the window.
    static constexpr int MIN_ZOOM = 2;

    CZoomWnd();
    ~CZoomWnd() override;

    /* What to show. */

    // The owner's pointer to this window, cleared when the window goes while
    // it still points here.
    void SetOwnerSlot(CZoomWnd** ppSlot) { m_ppOwnerSlot = ppSlot; }
    // The picture file and its type (TYPE_*); SetImage loads it.
    void SetPicturePath(LPCTSTR pszPath, int nType);
    // A bitmap of the current resource module instead of a file.
    void SetBitmapResource(UINT nID);
    // A packed DIB (header, colour table, pixels) that the caller keeps alive
    // while it is shown.
    void SetPackedDib(const BITMAPINFOHEADER* pDib);
    // Loads the picture as its type says; TRUE when there is one.
    BOOL SetImage();
    void FreePicture();
    SIZE GetPictureSize() const { return m_picture; }

    /* How to show it. */

    void SetBackgroundColor(COLORREF cr) { m_crBackground = cr; }
    // The requested zoom (below MIN_ZOOM: fit); GetZoom gives the zoom in effect.
    void SetZoom(int nPercent) { m_nRequestedZoom = nPercent; }
    int GetZoom() const { return m_nZoom; }
    void SetPositions(int nHorizontal, int nVertical);
    int GetHorizontalPosition() const { return m_nPosX; }
    int GetVerticalPosition() const { return m_nPosY; }

    // Creates the window as a static child of pParent at the stored client
    // rectangle (SetClientRect), if it does not exist yet.
    BOOL Create(CWnd* pParent);
    void SetClientRect(const RECT& rect) { m_client = rect; }
    // Lays the picture out for a client rectangle.
    void RecalcLayout(const RECT& client);

    // The picture rendered fitted into cx x cy pixels as a packed DIB: a
    // 40-byte header (1 plane, 32 bits) and the pixels, bottom row first.
    // Neither the clipboard nor the window's own layout changes. Empty when
    // there is no picture or the size is empty.
    std::vector<BYTE> CopyToClipboard(int cx, int cy);

protected:
    void OnPaint();
    void OnSize(UINT nType, int cx, int cy);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnDestroy();

private:
    // Where the picture goes for one client rectangle.
    struct CLayout {
        int nZoom { 100 };  // in effect
        POINT source {};    // offset in the picture
        SIZE sourceSize {}; // the part of the picture shown
        POINT dest {};      // in the client
        SIZE destSize {};   // what that part becomes
        RECT client {};     // the rectangle laid out
        BOOL bNeedsHorizontalBar { FALSE };
        BOOL bNeedsVerticalBar { FALSE };
    };

    // The layout for a client rectangle; bHasHorizontalBar and
    // bHasVerticalBar say which bars the rectangle already excludes.
    CLayout Layout(const RECT& client, BOOL bHasHorizontalBar, BOOL bHasVerticalBar) const;
    // Loads the file or resource as its type says.
    BOOL LoadPictureResource();
    // Loads the file through the picture decoder.
    BOOL LoadDecodedPicture();
    void UpdateScrollBars(const CLayout& layout);
    // The margins in the background colour, then the picture.
    void Draw(CDC& dc, const CLayout& layout) const;
    // A new position after a scroll request, in percent.
    int ScrollPosition(int nPosition, UINT nSBCode, UINT nThumb, int nPicture, int nSource) const;

    CZoomWnd** m_ppOwnerSlot { nullptr };
    COLORREF m_crBackground { RGB(255, 255, 255) };
    CString m_strPath;
    DWORD m_dwKind; // SS_BITMAP, SS_ICON or SS_ENHMETAFILE: also the window's style
    int m_nType { TYPE_BITMAP_FILE };
    UINT m_nResourceID { 0 };
    int m_nZoom { 100 };        // in effect
    int m_nRequestedZoom { 0 }; // below MIN_ZOOM: fit
    int m_nPosX { 0 };          // percent
    int m_nPosY { 0 };
    CLayout m_layout;  // the last one of the window itself
    SIZE m_picture {}; // 0 x 0 without a picture (and for icons)
    int m_cxVScroll;   // the bars' sizes, read at construction
    int m_cyHScroll;
    RECT m_client {};                           // where Create puts the window
    HANDLE m_hPicture { nullptr };              // bitmap, icon or cursor; owned
    UINT m_nHandleType { 0 };                   // IMAGE_BITMAP, IMAGE_ICON or IMAGE_CURSOR: how to free it
    const BITMAPINFOHEADER* m_pDib { nullptr }; // not owned
};
