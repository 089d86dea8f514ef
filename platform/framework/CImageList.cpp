#include "platform/framework/CImageList.h"

#include "platform/base/ResourceModule.h"
#include "platform/framework/CDC.h"
#include "platform/framework/CGdiObject.h"
#include "platform/framework/CWnd.h"
#include "platform/framework/HandleMap.h"
#include "platform/window/DragImages.h"

IMPLEMENT_DYNCREATE(CImageList, CObject)

namespace {

using CImageListMap = CHandleMap<CImageList, HIMAGELIST>;

HBITMAP BitmapOf(const CBitmap* pBitmap)
{
    return pBitmap ? static_cast<HBITMAP>(pBitmap->GetSafeHandle()) : nullptr;
}

}

CImageList::~CImageList()
{
    DeleteImageList();
}

CImageList* CImageList::FromHandle(HIMAGELIST hImageList)
{
    return CImageListMap::Current().FromHandle(hImageList, &CImageList::m_hImageList);
}

void CImageList::DeleteTempMap()
{
    CImageListMap::Current().DeleteTemporaries();
}

BOOL CImageList::Attach(HIMAGELIST hImageList)
{
    if (m_hImageList || !hImageList)
        return FALSE;
    m_hImageList = hImageList;
    CImageListMap::Current().SetPermanent(hImageList, this);
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST hImageList = m_hImageList;
    if (hImageList && CImageListMap::Current().LookupPermanent(hImageList) == this)
        CImageListMap::Current().RemovePermanent(hImageList);
    m_hImageList = nullptr;
    return hImageList;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    return ImageList_Destroy(Detach());
}

/*************************************************************************
 * Making the list
 *************************************************************************/

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    if (m_hImageList)
        return FALSE;
    HIMAGELIST hImageList = ImageList_Create(cx, cy, nFlags, nInitial, nGrow);
    return hImageList ? Attach(hImageList) : FALSE;
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
{
    return Create(MAKEINTRESOURCE(static_cast<WORD>(nBitmapID)), cx, nGrow, crMask);
}

BOOL CImageList::Create(LPCTSTR lpszBitmapID, int cx, int nGrow, COLORREF crMask)
{
    if (m_hImageList)
        return FALSE;
    HIMAGELIST hImageList
        = ImageList_LoadImage(AfxGetResourceHandle(), lpszBitmapID, cx, nGrow, crMask, IMAGE_BITMAP, 0);
    return hImageList ? Attach(hImageList) : FALSE;
}

BOOL CImageList::Create(CImageList& imagelist1, int nImage1, CImageList& imagelist2, int nImage2, int dx, int dy)
{
    if (m_hImageList)
        return FALSE;
    HIMAGELIST hImageList = ImageList_Merge(imagelist1, nImage1, imagelist2, nImage2, dx, dy);
    return hImageList ? Attach(hImageList) : FALSE;
}

/*************************************************************************
 * Images and drawing
 *************************************************************************/

int CImageList::GetImageCount() const
{
    return ImageList_GetImageCount(m_hImageList);
}

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask)
{
    return ImageList_Add(m_hImageList, BitmapOf(pbmImage), BitmapOf(pbmMask));
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask)
{
    return ImageList_AddMasked(m_hImageList, BitmapOf(pbmImage), crMask);
}

int CImageList::Add(HICON hIcon)
{
    return ImageList_AddIcon(m_hImageList, hIcon);
}

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask)
{
    return ImageList_Replace(m_hImageList, nImage, BitmapOf(pbmImage), BitmapOf(pbmMask));
}

int CImageList::Replace(int nImage, HICON hIcon)
{
    return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon);
}
BOOL CImageList::Remove(int nImage)
{
    return ImageList_Remove(m_hImageList, nImage);
}

BOOL CImageList::Copy(int iDst, int iSrc, UINT uFlags)
{
    return ImageList_Copy(m_hImageList, iDst, m_hImageList, iSrc, uFlags);
}

BOOL CImageList::Copy(int iDst, CImageList* pSrc, int iSrc, UINT uFlags)
{
    return ImageList_Copy(m_hImageList, iDst, pSrc ? pSrc->m_hImageList : nullptr, iSrc, uFlags);
}

BOOL CImageList::GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const
{
    return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
}

HICON CImageList::ExtractIcon(int nImage)
{
    return ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL);
}
COLORREF CImageList::SetBkColor(COLORREF cr)
{
    return ImageList_SetBkColor(m_hImageList, cr);
}
COLORREF CImageList::GetBkColor() const
{
    return ImageList_GetBkColor(m_hImageList);
}

BOOL CImageList::SetOverlayImage(int nImage, int nOverlay)
{
    return ImageList_SetOverlayImage(m_hImageList, nImage, nOverlay);
}

BOOL CImageList::Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle)
{
    return ImageList_Draw(m_hImageList, nImage, pDC ? pDC->GetSafeHdc() : nullptr, pt.x, pt.y, nStyle);
}

BOOL CImageList::DrawEx(CDC* pDC, int nImage, POINT pt, SIZE sz, COLORREF clrBk, COLORREF clrFg, UINT nStyle)
{
    return ImageList_DrawEx(
        m_hImageList, nImage, pDC ? pDC->GetSafeHdc() : nullptr, pt.x, pt.y, sz.cx, sz.cy, clrBk, clrFg, nStyle);
}

/*************************************************************************
 * Dragging
 *************************************************************************/

BOOL CImageList::BeginDrag(int nImage, POINT ptHotSpot)
{
    return ImageList_BeginDrag(m_hImageList, nImage, ptHotSpot.x, ptHotSpot.y);
}

BOOL CImageList::SetDragCursorImage(int nDrag, POINT ptHotSpot)
{
    return ImageList_SetDragCursorImage(m_hImageList, nDrag, ptHotSpot.x, ptHotSpot.y);
}

void CImageList::EndDrag()
{
    ImageList_EndDrag();
}

BOOL CImageList::DragEnter(CWnd* pWndLock, POINT point)
{
    return ImageList_DragEnter(pWndLock ? pWndLock->GetSafeHwnd() : nullptr, point.x, point.y);
}

BOOL CImageList::DragLeave(CWnd* pWndLock)
{
    return ImageList_DragLeave(pWndLock ? pWndLock->GetSafeHwnd() : nullptr);
}

BOOL CImageList::DragMove(POINT pt)
{
    return ImageList_DragMove(pt.x, pt.y);
}

BOOL CImageList::DragShowNolock(BOOL bShow)
{
    return ImageList_DragShowNolock(bShow);
}
