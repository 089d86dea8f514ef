#include "ui/CWAColorEdit.h"

#include "platform/framework/MessageMap.h"

BEGIN_MESSAGE_MAP(CWAColorEdit, CEdit)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CWAColorEdit::~CWAColorEdit() = default;

void CWAColorEdit::SetBrush(COLORREF crColor)
{
    m_brush.DeleteObject();
    m_brush.CreateSolidBrush(crColor);
    if (GetSafeHwnd())
        Invalidate(TRUE);
}

HBRUSH CWAColorEdit::CtlColor(CDC* /*pDC*/, UINT /*nCtlColor*/)
{
    return static_cast<HBRUSH>(m_brush.GetSafeHandle());
}
