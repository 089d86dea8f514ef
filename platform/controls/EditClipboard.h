#pragma once

// The edit controls' cut, copy and paste: CF_TEXT on the clipboard, opened
// for the edit window.

#include "platform/base/WinTypes.h"

#include <optional>
#include <string>

// Puts the text on the clipboard; FALSE when the clipboard cannot be opened.
BOOL SetEditClipboardText(HWND hEdit, const std::string& strText);
// The text on the clipboard, or nothing when it holds no text.
std::optional<std::string> GetEditClipboardText(HWND hEdit);
