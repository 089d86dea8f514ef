// The preview's pictures: the content reader's held picture or a bitmap
// resource, in a zoom window over the text's place.

#include "frame/CContentView.h"

#include "platform/framework/CRect.h"

BOOL CContentView::ShowImage(int nPicture)
{
    if (!m_text.GetSafeHwnd())
        return FALSE;
    const CRect rc = GetTextRect();
    m_text.ShowWindow(SW_HIDE);
    return ShowZoomImage(*this, m_zoom, nPicture, rc);
}
