#include "ui/CBrushDialogBar.h"

#include "platform/framework/CDC.h"
#include "platform/framework/MessageMap.h"
#include "ui/AppPalette.h"

BEGIN_MESSAGE_MAP(CBrushDialogBar, CDialogBar)
    ON_WM_CREATE()
    ON_MESSAGE(WM_INITBAR, &CBrushDialogBar::OnInitBar)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CBrushDialogBar::CBrushDialogBar()
{
    m_brush.CreateSolidBrush(BAR_COLOR);
}

int CBrushDialogBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CDialogBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    PostMessage(WM_INITBAR, 0, 0);
    return 0;
}

LRESULT CBrushDialogBar::OnInitBar(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    UpdateData(FALSE);
    InitBar();
    return 0;
}

HBRUSH CBrushDialogBar::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    RealizeAppPalette(pDC);
    if (nCtlColor == CTLCOLOR_DLG)
        return m_brush;
    if (nCtlColor == CTLCOLOR_STATIC) {
        pDC->SetBkMode(TRANSPARENT);
        return m_brush;
    }
    return CDialogBar::OnCtlColor(pDC, pWnd, nCtlColor);
}
