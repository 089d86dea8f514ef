#pragma once

// CImageList: the class library's object around an image list. It owns the
// list it made or attached and destroys it with itself; FromHandle gives the
// attached object, else a temporary one that never destroys its list.

#include "platform/base/CObject.h"
#include "platform/gdi/ImageLists.h"

class CBitmap;
class CDC;
class CWnd;

class CImageList : public CObject {
    DECLARE_DYNCREATE(CImageList)

public:
    CImageList() = default;
    ~CImageList() override;
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    /* The handle map. */

    static CImageList* FromHandle(HIMAGELIST hImageList);
    // Frees the calling thread's temporary objects.
    static void DeleteTempMap();
    // Fails when the object already has a list or hImageList is NULL.
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }
    operator HIMAGELIST() const { return m_hImageList; }
    BOOL DeleteImageList();

    /* Making the list. Each fails when the object already has one. */

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // The images of a bitmap resource of the current resource module, `cx`
    // wide, with pixels of `crMask` transparent (CLR_NONE: none).
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);
    BOOL Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask);
    // One image: image `nImage2` of the second list over `nImage1` of the first, moved by (dx, dy).
    BOOL Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx, int dy);

    /* Images. */

    int GetImageCount() const;
    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HICON hIcon);
    BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
    int Replace(int nImage, HICON hIcon);
    BOOL Remove(int nImage);
    // Copies image iSrc over image iDst (ILCF_MOVE) or swaps the two (ILCF_SWAP).
    BOOL Copy(int iDst, int iSrc, UINT uFlags = ILCF_MOVE);
    // Likewise with an image of another list of the same image size.
    BOOL Copy(int iDst, CImageList* pSrc, int iSrc, UINT uFlags = ILCF_MOVE);
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const;
    // A new icon of the image; the caller destroys it.
    HICON ExtractIcon(int nImage);
    COLORREF SetBkColor(COLORREF cr);
    COLORREF GetBkColor() const;
    BOOL SetOverlayImage(int nImage, int nOverlay);

    /* Drawing. */

    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
    BOOL DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle);

    /* Dragging an image over a window: one drag at a time for the whole
       program (DragImages.h). Points are relative to the lock window's
       top-left corner, frame included; a NULL window is the desktop. */

    // Starts dragging a copy of image nImage with its hot spot at ptHotSpot in the image.
    BOOL BeginDrag(int nImage, POINT ptHotSpot);
    // Puts image nDrag of this list (typically a cursor) over the drag image,
    // its hot spot ptHotSpot on the drag image's hot spot.
    BOOL SetDragCursorImage(int nDrag, POINT ptHotSpot);
    static void EndDrag();
    static BOOL DragEnter(CWnd* pWndLock, POINT point);
    static BOOL DragLeave(CWnd* pWndLock);
    static BOOL DragMove(POINT pt);
    static BOOL DragShowNolock(BOOL bShow);

    HIMAGELIST m_hImageList { nullptr };
};
