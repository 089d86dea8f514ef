#include "ui/CBtnSetaPopup.h"

#include "platform/framework/MessageMap.h"
#include "ui/PopupHitTable.h"

IMPLEMENT_DYNAMIC(CBtnSetaPopup, CBtnSeta)

BEGIN_MESSAGE_MAP(CBtnSetaPopup, CBtnSeta)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

void CBtnSetaPopup::OnDestroy()
{
    RegisterPopupHitWindow(this, FALSE);
    CBtnSeta::OnDestroy();
}
