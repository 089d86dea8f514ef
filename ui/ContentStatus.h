#pragma once

// The status line that says what reading a document's content found (a
// CONTENT_ code of store/ContentReader.h): a string of the resource module,
// and whether it tells of a failure, which the windows show in ALERT_COLOUR.

#include "platform/base/WinTypes.h"

constexpr COLORREF ALERT_COLOUR = 0x027E0000;

// A picture counts as read: its status is the text's.
UINT ContentStatusText(int nResult);
BOOL IsContentFailure(int nResult);
