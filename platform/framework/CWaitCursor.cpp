#include "platform/framework/CWaitCursor.h"

#include "platform/framework/CCmdTarget.h"
#include "platform/window/Input.h"

namespace {

// The cursor is one for the program, and so is its wait state; waits are
// begun and ended on the user-interface thread.
int s_nWaitCount = 0;
HCURSOR s_hcurRestore = nullptr; // the cursor from before the first wait

}

void AfxDoWaitCursor(int nCode)
{
    if (nCode > 0) {
        HCURSOR hcurPrevious = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
        if (s_nWaitCount++ == 0)
            s_hcurRestore = hcurPrevious;
    } else if (nCode < 0) {
        if (s_nWaitCount == 0)
            return;
        if (--s_nWaitCount == 0)
            ::SetCursor(s_hcurRestore);
    } else if (s_nWaitCount > 0) {
        ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    }
}

int AfxGetWaitCursorCount()
{
    return s_nWaitCount;
}

CWaitCursor::CWaitCursor()
{
    AfxDoWaitCursor(1);
}

CWaitCursor::~CWaitCursor()
{
    AfxDoWaitCursor(-1);
}

void CWaitCursor::Restore()
{
    AfxDoWaitCursor(0);
}

void CCmdTarget::BeginWaitCursor()
{
    AfxDoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor()
{
    AfxDoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor()
{
    AfxDoWaitCursor(0);
}
