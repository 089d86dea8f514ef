#include "frame/AppMessages.h"

#include "platform/window/WindowClass.h"

UINT g_nMsgRedo = 0;
UINT g_nMsgReread = 0;
UINT g_nMsgChangeColors = 0;
UINT g_nMsgReorganizeMailbox = 0;
UINT g_nMsgStatusSetText = 0;
UINT g_nMsgStatusResetText = 0;
UINT g_nMsgSelectEntry = 0;
UINT g_nMsgSysDoubleClick = 0;
UINT g_nMsgListCatalogChanged = 0;
UINT g_nMsgListPropChanged = 0;
UINT g_nMsgItemChanged = 0;
UINT g_nMsgSelChanged = 0;
UINT g_nMsgSelDrawn = 0;
UINT g_nMsgTreeCatalogChanged = 0;
UINT g_nMsgTreePropChanged = 0;
UINT g_nMsgSessionEnd = 0;

void RegisterAppMessages()
{
    static constexpr struct {
        UINT* pnMessage;
        const char* pszName;
    } MESSAGES[] = {
        { &g_nMsgRedo, "APPM Refazer" },
        { &g_nMsgReread, "APPM Reler" },
        { &g_nMsgChangeColors, "APPM TrocarCores" },
        { &g_nMsgReorganizeMailbox, "APPM Reorganizar Mailbox" },
        { &g_nMsgStatusSetText, "APPM StatusBar SetText" },
        { &g_nMsgStatusResetText, "APPM StatusBar ResetText" },
        { &g_nMsgSelectEntry, "APPM Selecionar SisArq" },
        { &g_nMsgSysDoubleClick, "ALM SisDblClk" },
        { &g_nMsgListCatalogChanged, "ALM AlterouCatalogo" },
        { &g_nMsgListPropChanged, "ALM AlterouProp" },
        { &g_nMsgItemChanged, "ALM ItemChanged" },
        { &g_nMsgSelChanged, "STM SelChanged" },
        { &g_nMsgSelDrawn, "STM SelDrawn" },
        { &g_nMsgTreeCatalogChanged, "STM AlterouCatalogo" },
        { &g_nMsgTreePropChanged, "STM AlterouProp" },
        { &g_nMsgSessionEnd, "APPM SessionEnd" },
    };
    for (const auto& message : MESSAGES)
        *message.pnMessage = RegisterWindowMessage(message.pszName);
}
