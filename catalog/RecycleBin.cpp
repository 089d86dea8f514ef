#include "catalog/RecycleBin.h"

#include "mail/MailResult.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CMailStoreRec.h"
#include "store/CNodeRec.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/TextFunctions.h"
#include "platform/base/TrashFolders.h"
#include "platform/base/WinError.h"
#include "platform/shell/FileOperation.h"
#include "platform/shell/RecycleBin.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

namespace {

BOOL s_bRecycleBinFull = FALSE;

// The extension of a path's file name with its dot; empty without one.
std::string_view FileExtension(std::string_view strPath)
{
    const std::string_view strName = strPath.substr(strPath.find_last_of('\\') + 1);
    const size_t nDot = strName.rfind('.');
    return nDot == std::string_view::npos ? std::string_view() : strName.substr(nDot);
}

CString RecycledNameOf(const CDocumentRec& entry)
{
    CDocumentInfo info {};
    if (entry.IsMail() || entry.GetInfo(&info) == nullptr)
        return {};
    return CString(std::string(
        reinterpret_cast<const char*>(info.id), ::strnlen(reinterpret_cast<const char*>(info.id), sizeof(info.id)))
                       .c_str());
}

int RunFileOperation(UINT wFunc, const CString& strFrom, const CString& strTo, FILEOP_FLAGS fFlags)
{
    // The lists end with an extra NUL.
    std::string from(strFrom);
    from.push_back('\0');
    std::string to(strTo);
    to.push_back('\0');
    SHFILEOPSTRUCT op {};
    op.wFunc = wFunc;
    op.pFrom = from.c_str();
    op.pTo = strTo.IsEmpty() ? nullptr : to.c_str();
    op.fFlags = fFlags;
    const int nResult = SHFileOperation(&op);
    return op.fAnyOperationsAborted ? -1 : nResult;
}

} // namespace

/******************************************************************************
 * The system's bin
 ******************************************************************************/

unsigned long long HighestRecycledNumberOf(const std::vector<std::string>& names, char chDrive)
{
    unsigned long long nHighest = 0;
    for (const std::string& strName : names) {
        TCHAR chLetter = 0;
        unsigned long long nNumber = 0;
        // A saturated number is none the bin gave, and one more would wrap.
        if (ParseRecycledName(strName, &chLetter, &nNumber) && nNumber != ~0ULL
            && Utf8ToLower(std::string(1, chLetter))[0] == chDrive)
            nHighest = std::max(nHighest, nNumber);
    }
    return nHighest;
}

int CountRecycleBinItems()
{
    const std::vector<CRecycledEntry> entries = ListRecycleBin();
    return static_cast<int>(std::count_if(entries.begin(), entries.end(), [](const auto& e) { return !e.bFolder; }));
}

int ShellDeleteToBin(LPCTSTR pszPath)
{
    if (pszPath == nullptr || *pszPath == 0)
        return 0;
    return RunFileOperation(FO_DELETE, pszPath, {}, FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI);
}

CString MakeRecycledName(CRecycledNameMap& names, LPCTSTR pszPath)
{
    const std::string_view strPath(pszPath);
    if (strPath.empty())
        return {};
    const char chDrive = Utf8ToLower(std::string(1, strPath[0]))[0];
    unsigned long long nNumber = 0;
    if (auto it = names.find(chDrive); it != names.end()) {
        nNumber = it->second + 1;
    } else {
        // The file just sent is in the bin already: the highest number is its.
        std::vector<std::string> binNames;
        for (const CRecycledEntry& entry : ListRecycleBin()) {
            if (!entry.bFolder)
                binNames.push_back(entry.strName);
        }
        nNumber = HighestRecycledNumberOf(binNames, chDrive);
    }
    names[chDrive] = nNumber;
    const std::string strName
        = "d" + std::string(1, chDrive) + std::to_string(nNumber) + std::string(FileExtension(strPath));
    if (strName.size() > MAX_RECYCLED_NAME)
        return {};
    return CString(strName.c_str());
}

/******************************************************************************
 * One entry
 ******************************************************************************/

BOOL CanRecycle(const CDocumentRec& document)
{
    const int nState = document.GetExpiryState(FALSE);
    if (nState == EXPIRY_MAIL_DELETED || nState == EXPIRY_NOT_FOUND || nState == EXPIRY_UNREACHABLE)
        return FALSE;
    return document.IsMail() && document.GetMailRef().nStoreKind == MAIL_STORE_OE5 ? FALSE : TRUE;
}

BOOL IsNetworkDocument(const CDocumentRec& document)
{
    const CString strFolder = document.GetDirectoryPath(FALSE);
    return !strFolder.IsEmpty() && strFolder[0] == '\\' ? TRUE : FALSE;
}

BOOL NodeHasNetworkDocuments(const CNodeRec& node)
{
    for (const auto& pDocument : node.GetDocuments()) {
        if (IsNetworkDocument(*pDocument))
            return TRUE;
    }
    for (const auto& pChild : node.GetChildren()) {
        if (NodeHasNetworkDocuments(*pChild))
            return TRUE;
    }
    return FALSE;
}

CString GetRecycleBinLocation(const CDocumentRec& entry)
{
    const CString strName = RecycledNameOf(entry);
    const CString strFolder = entry.GetDirectoryPath(FALSE);
    if (strName.IsEmpty() || strFolder.GetLength() < 3 || strFolder[1] != ':')
        return {};
    CString strBinFolder;
    strBinFolder.LoadString(IDS_RECYCLE_FOLDER_NAME);
    return strFolder.Left(3) + strBinFolder + "\\" + strName;
}

int LixeiraProcessEntry(const CDocumentRec& entry, int nMode)
{
    if (RecycledNameOf(entry).IsEmpty())
        return 0;
    CString strName;
    entry.GetFullPath(strName);
    const CString strPath = entry.GetDirectoryPath(FALSE) + strName;
    switch (nMode) {
    case RECYCLE_SEND:
        return RunFileOperation(
            FO_DELETE, strPath, {}, FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI);
    case RECYCLE_DELETE: {
        const CString strLocation = GetRecycleBinLocation(entry);
        if (strLocation.IsEmpty())
            return 0;
        return RunFileOperation(FO_DELETE, strLocation, {}, FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI);
    }
    case RECYCLE_RESTORE: {
        const CString strLocation = GetRecycleBinLocation(entry);
        if (strLocation.IsEmpty() || GetFileAttributes(strLocation) == INVALID_FILE_ATTRIBUTES)
            return 0;
        // A file made at the original place since is never replaced.
        if (GetFileAttributes(strPath) != INVALID_FILE_ATTRIBUTES)
            return static_cast<int>(ERROR_ALREADY_EXISTS);
        return RunFileOperation(FO_MOVE, strLocation, strPath, FOF_SILENT);
    }
    default:
        return 0;
    }
}

void UpdateRecycleBinState(CCatalog* pBinCatalog)
{
    if (pBinCatalog == nullptr || !pBinCatalog->Acquire()) {
        s_bRecycleBinFull = FALSE;
        return;
    }
    BOOL bFull = FALSE;
    if (std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(pBinCatalog)); pRoot)
        bFull = !pRoot->GetChildren().empty() || !pRoot->GetDocuments(1).empty();
    for (auto* pfnTop : { &CNodeRec::NewTopNodeRec3, &CNodeRec::NewTopNodeRec4 }) {
        if (bFull)
            break;
        if (std::unique_ptr<CNodeRec> pTop(pfnTop(pBinCatalog)); pTop)
            bFull = !pTop->GetDocuments(1).empty();
    }
    s_bRecycleBinFull = bFull;
    pBinCatalog->Release();
}

BOOL IsRecycleBinFull()
{
    return s_bRecycleBinFull;
}

int GetRecycleBinImage()
{
    return s_bRecycleBinFull ? 2 : 3;
}
