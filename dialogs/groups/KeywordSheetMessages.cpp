#include "dialogs/groups/KeywordSheetMessages.h"

#include "platform/window/WindowClass.h"

UINT g_nMsgKeywordRemoved = 0;
UINT g_nMsgKeywordAdded = 0;
UINT g_nMsgSystemRemoved = 0;
UINT g_nMsgSystemAdded = 0;

void RegisterKeywordSheetMessages()
{
    g_nMsgKeywordRemoved = RegisterWindowMessage("PCVHM PalavraRemovida");
    g_nMsgKeywordAdded = RegisterWindowMessage("PCVHM PalavraInserida");
    g_nMsgSystemRemoved = RegisterWindowMessage("PCVHM SistemaRemovido");
    g_nMsgSystemAdded = RegisterWindowMessage("PCVHM SistemaInserido");
}
