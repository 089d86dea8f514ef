#include "frame/CContentView.h"

#include "platform/controls/EditControl.h"
#include "platform/framework/CRect.h"

IMPLEMENT_DYNCREATE(CContentView, CPaneView)

BOOL CContentView::CreateControl()
{
    return m_text.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY, CRect(0, 0, 0, 0), this, TEXT_ID);
}

void CContentView::ShowDocument(LPARAM)
{
    // FIXME: the document's contents show here once the content preview exists.
}
