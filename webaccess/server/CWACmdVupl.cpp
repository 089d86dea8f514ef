#include "webaccess/server/CWACmdVupl.h"

#include "platform/base/CFile.h"
#include "platform/base/FileFunctions.h"
#include "platform/base/FolderListing.h"
#include "store/PathHelpers.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/pages/UploadsPage.h"
#include "webaccess/profiles/CWAProfiles.h"
#include "webaccess/server/CWASession.h"
#include "webaccess/server/CatalogPageData.h"
#include "webaccess/server/TextWidth.h"

BOOL CWACmdVupl::Prepare(CWASession& session)
{
    m_paths.clear();
    const CWAProfiles* pProfile = session.GetProfile();
    if (pProfile == nullptr || pProfile->GetUploadFolder().IsEmpty())
        return TRUE;
    const CString strFolder = AddBackslash(pProfile->GetUploadFolder());
    std::vector<CFolderEntry> entries;
    if (!ListFolderEntries(strFolder, entries))
        return TRUE;
    // Devices, pipes and sockets are not files the browser could fetch.
    constexpr DWORD NOT_A_FILE = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM;
    for (const CFolderEntry& entry : entries) {
        if ((entry.dwAttributes & NOT_A_FILE) != 0 || entry.strName.empty() || entry.strName[0] == '.')
            continue;
        m_paths.push_back(strFolder + entry.strName.c_str());
    }
    return TRUE;
}

BOOL CWACmdVupl::Execute(CWAOutputFile& reply, CWASession& session, int)
{
    CWAUploadsPage page;
    page.rights = ReadPageRights(session);
    const CWASessionPlace& place = session.GetPlace();
    page.strFolder = place.m_strFolder;
    page.nBlock = place.m_nBlock;
    page.nSlot = place.m_nSlot;
    const CTextCutter cutter;
    for (const CString& strPath : m_paths) {
        CWAUploadedFile file;
        file.strPath = strPath;
        file.strName = cutter.Cut(strPath.Mid(strPath.ReverseFind('\\') + 1), NAME_WIDTH);
        CFileStatus status {};
        if (CFile::GetStatus(strPath, status)) {
            file.facts.nSize = static_cast<long long>(status.m_size);
            file.facts.bHasDate = true;
            file.facts.tDate = status.m_mtime.GetTime();
        }
        page.files.push_back(file);
    }
    WriteUploadsPage(reply, page);
    return CheckReplyWritten(reply);
}

CString CWACmdVupl::GetLogText() const
{
    return "View Uploaded";
}
