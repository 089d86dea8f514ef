#pragma once

// The program-wide registered window messages, by which windows ask the main
// frame for program-wide work and the panes of a catalog view tell each other
// what changed. RegisterAppMessages fills them once, before any window exists;
// until then they are 0.

#include "platform/base/WinTypes.h"

/* Handled by the main frame; every one answers 0. */
extern UINT g_nMsgRedo;              // "APPM Refazer": the catalog's content changed; fans out to every window
extern UINT g_nMsgReread;            // "APPM Reler": properties changed; fans out likewise
extern UINT g_nMsgChangeColors;      // "APPM TrocarCores": colour preferences changed; fans out
extern UINT g_nMsgReorganizeMailbox; // "APPM Reorganizar Mailbox": compact the catalogued mail stores
extern UINT g_nMsgStatusSetText;     // "APPM StatusBar SetText": lParam the text for the message pane
extern UINT g_nMsgStatusResetText;   // "APPM StatusBar ResetText": back to the normal panes
extern UINT g_nMsgSelectEntry;       // "APPM Selecionar SisArq": wParam, lParam as the view's select takes them

/* Between the panes of a catalog view and its frame. */
extern UINT g_nMsgSysDoubleClick;     // "ALM SisDblClk": lParam the node double-clicked in the list
extern UINT g_nMsgListCatalogChanged; // "ALM AlterouCatalogo"
extern UINT g_nMsgListPropChanged;    // "ALM AlterouProp"
extern UINT g_nMsgItemChanged;        // "ALM ItemChanged": lParam the list's focused item
extern UINT g_nMsgSelChanged;         // "STM SelChanged": wParam the reason, lParam the node
extern UINT g_nMsgSelDrawn;           // "STM SelDrawn": the tree drew its selection
extern UINT g_nMsgTreeCatalogChanged; // "STM AlterouCatalogo"
extern UINT g_nMsgTreePropChanged;    // "STM AlterouProp"

/* To the application's thread, from any thread: end as the user's session
   does ("APPM SessionEnd"; a termination signal arrived). */
extern UINT g_nMsgSessionEnd;

// Registers every message above by its name.
void RegisterAppMessages();
