#pragma once

// The messages the two pages of the keywords and systems sheet send to the
// sheet (their parent) when the relation changed on their side, so that the
// sheet applies the change to the other page's copy. Each is registered by
// its name; the sheet answers 0.

#include "platform/window/WindowTypes.h"

// "PCVHM PalavraRemovida" and "PCVHM PalavraInserida": a keyword left or
// joined a system on the keywords-of-a-system page. wParam: the keyword
// (LPCTSTR); lParam: the system (const CNodeRec*).
extern UINT g_nMsgKeywordRemoved;
extern UINT g_nMsgKeywordAdded;
// "PCVHM SistemaRemovido" and "PCVHM SistemaInserido": a system left or
// joined a keyword on the systems-of-a-keyword page. wParam: the system
// (const CNodeRec*); lParam: the keyword (LPCTSTR).
extern UINT g_nMsgSystemRemoved;
extern UINT g_nMsgSystemAdded;

// Registers the four; the sheet calls it before it is shown.
void RegisterKeywordSheetMessages();
