#include "ui/CImageButton.h"

#include "platform/framework/CImageList.h"
#include "ui/AppPalette.h"

#include <memory>

CImageButton::~CImageButton()
{
    DeleteOwnedList();
}

void CImageButton::DeleteOwnedList()
{
    if (m_bOwnsList)
        delete m_pImageList;
    m_pImageList = nullptr;
    m_bOwnsList = FALSE;
}

void CImageButton::SetImages(CImageList* pImageList, int nImage, COLORREF crBackground)
{
    DeleteOwnedList();
    m_pImageList = pImageList;
    m_nImage = nImage;
    m_crBackground = crBackground;
}

BOOL CImageButton::CreateImageList(UINT nBitmapID, int nImageWidth, int nGrow, COLORREF crMask, COLORREF crBackground)
{
    auto pList = std::make_unique<CImageList>();
    if (!pList->Create(nBitmapID, nImageWidth, nGrow, crMask))
        return FALSE;
    DeleteOwnedList();
    m_pImageList = pList.release();
    m_bOwnsList = TRUE;
    m_nImage = 0;
    m_crBackground = crBackground;
    return TRUE;
}

void CImageButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    RealizeAppPalette(pDC);
    const RECT& rect = lpDrawItemStruct->rcItem;
    pDC->FillSolidRect(&rect, m_crBackground);
    IMAGEINFO info {};
    if (!m_pImageList || !m_pImageList->GetImageInfo(m_nImage, &info))
        return;
    const int cx = info.rcImage.right - info.rcImage.left;
    const int cy = info.rcImage.bottom - info.rcImage.top;
    const POINT at { rect.left + (rect.right - rect.left - cx) / 2, rect.top + (rect.bottom - rect.top - cy) / 2 };
    m_pImageList->Draw(pDC, m_nImage, at, ILD_TRANSPARENT);
}
