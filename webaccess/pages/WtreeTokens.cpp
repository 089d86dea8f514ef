#include "webaccess/pages/WtreeTokens.h"

#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/pages/WebText.h"

void WriteWtreeTokens(CWAOutputFile& reply, const std::vector<CWATreeItem>& items)
{
    CString strText;
    strText.Format("\r\n<#TRSZ |%d|#>\r\n", static_cast<int>(items.size()));
    reply.WriteText(strText);
    for (const CWATreeItem& item : items) {
        strText.Format("<#TRIT |%d| |%d| |%d| |%s| |%d| |%d|#>\r\n", item.nLevel, item.nParent, item.nFirstChild,
            static_cast<LPCTSTR>(TokenFieldHtml(item.strName)), static_cast<int>(item.nBlock),
            static_cast<int>(item.nSlot));
        reply.WriteText(strText);
    }
}
