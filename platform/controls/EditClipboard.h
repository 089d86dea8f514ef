#pragma once

// The text clipboard the edit controls cut, copy and paste through.
//
// FIXME: a process-wide stand-in; it moves to the system clipboard once the
// window layer offers one.

#include <optional>
#include <string>

void SetEditClipboardText(const std::string& strText);
// The text on the clipboard, or nothing when it holds no text.
std::optional<std::string> GetEditClipboardText();
