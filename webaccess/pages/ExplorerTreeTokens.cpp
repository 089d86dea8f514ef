#include "webaccess/pages/ExplorerTreeTokens.h"

#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/pages/WebText.h"

void WriteExplorerTreeTokens(CWAOutputFile& reply, const std::vector<CWAExplorerEntry>& entries)
{
    CString strText;
    strText.Format("\r\n<#TRSZ |%d|#>\r\n", static_cast<int>(entries.size()));
    reply.WriteText(strText);
    for (const CWAExplorerEntry& entry : entries) {
        strText.Format("<#TRIT |%d| |%d| |%d| |%s| |%s|#>\r\n", entry.nLevel, entry.nParent, entry.nFirstChild,
            static_cast<LPCTSTR>(TokenFieldHtml(entry.strDisplayName)),
            static_cast<LPCTSTR>(TokenFieldHtml(entry.strNamePart)));
        reply.WriteText(strText);
    }
}
