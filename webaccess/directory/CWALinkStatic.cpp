#include "webaccess/directory/CWALinkStatic.h"

#include "resources/ResourceIds.h"

#include "platform/base/ResourceModule.h"
#include "platform/framework/MessageMap.h"

BEGIN_MESSAGE_MAP(CWALinkStatic, CLabelCtrl)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void CWALinkStatic::MakeLink()
{
    SetTextColor(RGB(0, 0, 126))
        .SetFontUnderline(TRUE)
        .SetLinkCursor(LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(IDC_WA_LINK)))
        .SetLink(TRUE);
}

void CWALinkStatic::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_onClick)
        m_onClick();
    CLabelCtrl::OnLButtonDown(nFlags, point);
}
