#include "frame/RecycleCommandWords.h"

#include "resources/ResourceIds.h"
#include "store/ResString.h"

#include "platform/framework/CCmdUI.h"
#include "platform/framework/CMenu.h"

namespace {

// The words for a selection holding messages; 0 for one without any.
UINT MessageWordsFor(int nMessages, int nOthers)
{
    if (nMessages == 0)
        return 0;
    if (nOthers > 0)
        return IDS_RECYCLE_COMMAND_MIXED;
    return nMessages == 1 ? IDS_RECYCLE_COMMAND_MESSAGE : IDS_RECYCLE_COMMAND_MESSAGES;
}

BOOL IsMessageWords(const CString& strWords)
{
    for (UINT nWords : { IDS_RECYCLE_COMMAND_MESSAGE, IDS_RECYCLE_COMMAND_MESSAGES, IDS_RECYCLE_COMMAND_MIXED }) {
        if (strWords == GetResString(nWords))
            return TRUE;
    }
    return FALSE;
}

} // namespace

void ShowRecycleCommandWords(CCmdUI* pCmdUI, int nMessages, int nOthers)
{
    UINT nWords = MessageWordsFor(nMessages, nOthers);
    if (pCmdUI->m_pOther)
        return; // a control keeps its own text
    if (!pCmdUI->m_pMenu) {
        pCmdUI->SetText(nWords ? GetResString(nWords) : "");
        return;
    }
    CString strText;
    pCmdUI->m_pMenu->GetMenuString(pCmdUI->m_nIndex, strText, MF_BYPOSITION);
    const int nTab = strText.Find('\t');
    const CString strShortcut = nTab < 0 ? CString() : strText.Mid(nTab);
    if (nWords == 0) {
        if (!IsMessageWords(nTab < 0 ? strText : strText.Left(nTab)))
            return;
        nWords = IDS_RECYCLE_COMMAND;
    }
    pCmdUI->SetText(CString(GetResString(nWords)) + strShortcut);
}
