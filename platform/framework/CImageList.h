#pragma once

// CImageList: the class library's object around an image list. It owns the
// list it made or attached and destroys it with itself; FromHandle gives the
// attached object, else a temporary one that never destroys its list.

#include "platform/base/CObject.h"
#include "platform/gdi/ImageLists.h"

class CBitmap;
class CDC;

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
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const;
    // A new icon of the image; the caller destroys it.
    HICON ExtractIcon(int nImage);
    COLORREF SetBkColor(COLORREF cr);
    COLORREF GetBkColor() const;
    BOOL SetOverlayImage(int nImage, int nOverlay);

    /* Drawing. */

    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
    BOOL DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle);

    HIMAGELIST m_hImageList { nullptr };
};
