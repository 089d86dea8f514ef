#include "webaccess/server/CWACmdEdir.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/FolderListing.h"
#include "platform/shell/ShellParsingName.h"
#include "store/PathHelpers.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/pages/ExplorerPage.h"
#include "webaccess/server/CWASession.h"
#include "webaccess/server/CatalogPageData.h"
#include "webaccess/server/ExplorerFolders.h"
#include "webaccess/server/TextWidth.h"
#include "webaccess/server/TokenFields.h"

namespace {

// The folder above a path: the part before its last '\', kept no shorter
// than the root; empty for a root.
CString ParentFolderOf(const CString& strPath)
{
    const CString strRoot = GetPathRoot(strPath);
    CString strTrimmed = strPath;
    while (strTrimmed.GetLength() > strRoot.GetLength() && strTrimmed[strTrimmed.GetLength() - 1] == '\\')
        strTrimmed = strTrimmed.Left(strTrimmed.GetLength() - 1);
    if (strRoot.IsEmpty() || strTrimmed.GetLength() <= strRoot.GetLength())
        return CString();
    const CString strParent = strTrimmed.Left(strTrimmed.ReverseFind('\\'));
    return strParent.GetLength() < strRoot.GetLength() ? strRoot : strParent;
}

} // namespace

void CWACmdEdir::ParseArgs(LPCTSTR pszText)
{
    CTokenFieldReader reader(pszText, *this);
    std::string_view folder;
    if (!reader.ReadField(folder))
        return;
    if (folder.size() >= MAX_PATH) {
        reader.Fail();
        return;
    }
    m_strFolder = CString(folder.data(), static_cast<int>(folder.size()));
    m_strFolder.Replace('/', '\\');
    if (!IsAcceptedWebPath(m_strFolder)) {
        reader.Fail();
        return;
    }
    if (!reader.AtEnd()) {
        std::string_view view;
        if (!reader.ReadField(view))
            return;
        if (view == "A-")
            m_bView = FALSE;
        else if (!view.empty() && view != "A") {
            reader.Fail();
            return;
        }
    }
    reader.Finish();
}

BOOL CWACmdEdir::Prepare(CWASession&)
{
    m_siblings.clear();
    m_items.clear();
    if (IsOutsideExplorer(m_strFolder)) {
        m_nStatus = WA_STATUS_MISSING;
        return FALSE;
    }
    const CString strParent = ParentFolderOf(m_strFolder);
    for (const CWAExplorerFolder& folder : strParent.IsEmpty() ? ListFixedDrives() : ListVisibleSubFolders(strParent))
        m_siblings.push_back({ folder.strPath, folder.strName, true });
    const CString strBase = AddBackslash(m_strFolder);
    std::vector<CFolderEntry> entries;
    if (!ListFolderEntries(strBase, entries))
        entries.clear();
    for (const CFolderEntry& entry : entries) {
        if (IsOutsideExplorer(strBase + entry.strName.c_str()))
            continue;
        m_items.push_back({ strBase + entry.strName.c_str(), entry.strName.c_str(),
            (entry.dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 });
    }
    return TRUE;
}

BOOL CWACmdEdir::Execute(CWAOutputFile& reply, CWASession& session, int)
{
    CWAExplorerPage page;
    page.rights = ReadPageRights(session);
    page.strFolder = m_strFolder;
    page.nBlock = session.GetPlace().m_nBlock;
    page.nSlot = session.GetPlace().m_nSlot;
    page.strParent = ParentFolderOf(m_strFolder);

    // The path bar: the root, then every level below it.
    const CString strPath = AddBackslash(m_strFolder);
    const CString strRoot = GetPathRoot(strPath);
    page.levels.push_back({ strRoot.Left(strRoot.GetLength() - 1), strRoot });
    for (int nAt = strRoot.GetLength(); nAt < strPath.GetLength();) {
        const int nEnd = strPath.Find('\\', nAt);
        page.levels.push_back({ strPath.Mid(nAt, nEnd - nAt), strPath.Left(nEnd) });
        nAt = nEnd + 1;
    }

    const CTextCutter cutter;
    for (int i = static_cast<int>(m_siblings.size()) - 1; i >= 0 && page.nCurrent < 0; --i)
        if (m_siblings[i].strPath == m_strFolder)
            page.nCurrent = i;
    for (const Entry& sibling : m_siblings)
        page.siblings.push_back({ cutter.Cut(sibling.strName, SIBLING_WIDTH), sibling.strPath });
    for (const Entry& entry : m_items) {
        CWAExplorerItem item;
        item.strName = cutter.Cut(entry.strName, NAME_WIDTH);
        item.strPath = entry.strPath;
        item.bFolder = entry.bFolder;
        if (!entry.bFolder)
            item.facts = ReadFileRow(entry.strPath);
        page.items.push_back(item);
    }
    WriteExplorerPage(reply, page);
    return CheckReplyWritten(reply);
}

void CWACmdEdir::SetContext(CWASessionPlace& place)
{
    place.m_strFolder = m_strFolder;
}

CString CWACmdEdir::GetLogText() const
{
    return "Get Explorer DIR - " + GetShellParsingName(m_strFolder);
}
