// The preview's pictures: the content reader's held picture or a bitmap
// resource, in a zoom window over the text's place.

#include "frame/CContentView.h"

#include "store/ContentReader.h"
#include "ui/CZoomWnd.h"

#include "platform/framework/CRect.h"

#include <memory>

BOOL CContentView::ShowImage(int nPicture)
{
    if (!m_text.GetSafeHwnd())
        return FALSE;
    const CRect rc = GetTextRect();
    m_text.ShowWindow(SW_HIDE);
    if (!m_pZoomWnd) {
        m_pZoomWnd = new CZoomWnd;
        m_pZoomWnd->SetOwnerSlot(&m_pZoomWnd);
    }
    if (nPicture == HELD_PICTURE) {
        CString strPath;
        CString strFormat;
        if (!GetContentPicture(strPath, strFormat)) {
            FreeImage();
            return FALSE;
        }
        m_pZoomWnd->SetPicturePath(strPath, CZoomWnd::TYPE_BITMAP_FILE);
    } else {
        m_pZoomWnd->SetBitmapResource(static_cast<UINT>(nPicture));
    }
    if (!m_pZoomWnd->SetImage()) {
        FreeImage();
        return FALSE;
    }
    m_pZoomWnd->SetBackgroundColor(RGB(255, 255, 255));
    m_pZoomWnd->SetPositions(50, 50);
    m_pZoomWnd->SetClientRect(rc);
    if (!m_pZoomWnd->Create(this)) {
        FreeImage();
        return FALSE;
    }
    m_nZoomPercent = nPicture == HELD_PICTURE ? 0 : 100;
    m_pZoomWnd->SetZoom(m_nZoomPercent);
    m_pZoomWnd->MoveWindow(&rc);
    CRect rcClient;
    m_pZoomWnd->GetClientRect(&rcClient);
    m_pZoomWnd->RecalcLayout(rcClient);
    InvalidateRect(&rc);
    return TRUE;
}

void CContentView::FreeImage()
{
    // The window clears the slot when it goes; the object is this view's to delete.
    std::unique_ptr<CZoomWnd> pZoomWnd(m_pZoomWnd);
    m_pZoomWnd = nullptr;
    if (pZoomWnd)
        pZoomWnd->FreePicture();
    m_nZoomPercent = 0;
}

void CContentView::SetZoomPercent(int nPercent)
{
    if (!m_pZoomWnd)
        return;
    if (nPercent != m_nZoomPercent) {
        m_nZoomPercent = nPercent;
        m_pZoomWnd->SetZoom(nPercent);
        CRect rcClient;
        m_pZoomWnd->GetClientRect(&rcClient);
        m_pZoomWnd->RecalcLayout(rcClient);
    }
    m_pZoomWnd->Invalidate();
}

int CContentView::GetZoomPercent() const
{
    if (m_pZoomWnd && m_nZoomPercent < CZoomWnd::MIN_ZOOM)
        return m_pZoomWnd->GetZoom(); // fitted: the percent in effect
    return m_nZoomPercent;
}
