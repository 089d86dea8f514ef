#pragma once

// How a preference page refuses OK: it becomes the sheet's current page, its
// message shows with the exclamation icon, and the focus goes to the control
// the message is about.

#include "platform/base/WinTypes.h"

class CPropertyPage;

// Refuses with the string nIDPrompt, the focus on control nIDFocus (0: left
// where it is); FALSE, for the page's OnApply to return.
BOOL RefusePageApply(CPropertyPage& page, UINT nIDPrompt, int nIDFocus);
