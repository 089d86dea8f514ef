#include "tests/ui/TestDragSource.h"

BEGIN_MESSAGE_MAP(CTestDragSource, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_SYSKEYDOWN()
END_MESSAGE_MAP()
