#include "webaccess/pages/CatalogDocumentRow.h"

#include "webaccess/pages/CatalogPageFrame.h"

#include <string>

namespace {

// A document whose file or store is missing or out of reach: its size and
// date cannot be read and show "?".
bool IsUnreadable(WADocumentState eState)
{
    return eState == WADocumentState::NotFound || eState == WADocumentState::Unreachable;
}

} // namespace

LPCTSTR DocumentStateIcon(const CWADocumentRow& row)
{
    switch (row.eState) {
    case WADocumentState::New:
        return row.bProtected ? "img/stnewp.gif" : "img/stnew.gif";
    case WADocumentState::Passed:
        return row.bProtected ? "img/stexpp.gif" : "img/stexp.gif";
    case WADocumentState::MailDeleted:
        return "img/stexcl.gif";
    case WADocumentState::NotFound:
        return "img/stnocnx.gif";
    case WADocumentState::Unreachable:
        return "img/stpend.gif";
    case WADocumentState::None:
        return row.bProtected ? "img/stp.gif" : nullptr;
    default:
        return nullptr;
    }
}

LPCTSTR DocumentIcon(const CWADocumentRow& row)
{
    return row.bMail ? "img/email.gif" : "img/file.gif";
}

CString FormatDocumentSize(const CWADocumentRow& row)
{
    CString strSize;
    if (row.nSize < 1 && IsUnreadable(row.eState))
        return "?";
    if (row.nSize < 0)
        return strSize;
    const long long nKB = (row.nSize + 1023) / 1024;
    if (nKB < 1000)
        strSize.Format("%d KB", static_cast<int>(nKB));
    else
        strSize.Format("%d,%.3d KB", static_cast<int>(nKB / 1000), static_cast<int>(nKB % 1000));
    return strSize;
}

CString FormatDocumentDate(const CWADocumentRow& row)
{
    if (!row.bHasDate)
        return IsUnreadable(row.eState) ? "?" : "";
    std::tm local {};
    char szDate[64];
    if (localtime_r(&row.tDate, &local) == nullptr
        || std::strftime(szDate, sizeof(szDate), "%b %d, %Y  %H:%M", &local) == 0)
        return "?";
    return szDate;
}

CString DocumentMenuLink(const CWADocumentRow& row, bool bNetscape)
{
    if (row.eState == WADocumentState::MailDeleted || row.eState == WADocumentState::NotFound)
        return CString();
    const std::string strLink = std::string("href='javascript:parent.applet.ShowMenuArch(&quot;")
        + (bNetscape ? "MN" : "MIE") + "&quot;,&quot;" + std::to_string(static_cast<int>(row.nBlock)) + "&quot;,&quot;"
        + std::to_string(static_cast<int>(row.nSlot)) + "&quot;);' " + NO_STATUS_LINK;
    return CString(strLink.c_str(), static_cast<int>(strLink.size()));
}
