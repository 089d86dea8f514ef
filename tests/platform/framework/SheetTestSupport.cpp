#include "tests/platform/framework/SheetTestSupport.h"

BEGIN_MESSAGE_MAP(CScriptedSheet, CPropertySheet)
    ON_MESSAGE(WM_KICKIDLE, &CScriptedSheet::OnKickIdle)
END_MESSAGE_MAP()
