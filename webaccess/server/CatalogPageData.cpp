#include "webaccess/server/CatalogPageData.h"

#include "platform/base/CFile.h"
#include "store/CDocumentRec.h"
#include "webaccess/profiles/CWAProfiles.h"
#include "webaccess/profiles/WebCommandIds.h"
#include "webaccess/server/CWASession.h"

namespace {

WADocumentState PageState(int nExpiryState)
{
    switch (nExpiryState) {
    case EXPIRY_NEW:
        return WADocumentState::New;
    case EXPIRY_PASSED:
        return WADocumentState::Passed;
    case EXPIRY_MAIL_DELETED:
        return WADocumentState::MailDeleted;
    case EXPIRY_NOT_FOUND:
        return WADocumentState::NotFound;
    case EXPIRY_UNREACHABLE:
        return WADocumentState::Unreachable;
    case EXPIRY_NONE:
        return WADocumentState::None;
    default:
        return WADocumentState::Other;
    }
}

} // namespace

CWAPageRights ReadPageRights(CWASession& session)
{
    const CWAProfiles& profile = *session.GetProfile();
    CWAPageRights rights;
    rights.bUpload = profile.IsCommandAllowed(WA_CMD_UPL) != FALSE;
    rights.bDownload = profile.IsCommandAllowed(WA_CMD_DOWN2) != FALSE;
    rights.bExplorer = profile.IsCommandAllowed(WA_CMD_ETREE) != FALSE;
    rights.bNetscape = session.IsNetscape() != FALSE;
    return rights;
}

CWADocumentRow ReadDocumentRow(const CDocumentRec& document)
{
    CWADocumentRow row;
    row.nBlock = static_cast<LONG>(document.GetBlock());
    row.nSlot = document.GetSlot();
    row.eState = PageState(document.GetExpiryState(FALSE));
    const CDocumentState& state = document.LoadState();
    row.nSize = state.nSize;
    row.bHasDate = state.tModified != 0;
    row.tDate = static_cast<std::time_t>(state.tModified);
    document.GetFullPath(row.strName);
    document.GetNameWithLocation(row.strText);
    row.bProtected = document.IsProtected() != FALSE;
    row.bMail = document.IsMail() != FALSE;
    return row;
}

CWADocumentRow ReadFileRow(LPCTSTR pszPath)
{
    CWADocumentRow row;
    CFileStatus status {};
    if (CFile::GetStatus(pszPath, status)) {
        row.nSize = static_cast<long long>(status.m_size);
        row.bHasDate = true;
        row.tDate = status.m_mtime.GetTime();
    }
    return row;
}
