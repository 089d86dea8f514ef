#include "catalog/CRecycleRun.h"

#include "catalog/CCatalogPrompts.h"
#include "catalog/CRunProgress.h"

#include "mail/CMailClientSet.h"
#include "mail/CNetscapeMailer.h"
#include "mail/COE4Mailer.h"
#include "mail/COE5Mailer.h"
#include "mail/MailResult.h"
#include "mail/MailStoreFunctions.h"
#include "resources/ResourceIds.h"
#include "store/AmbiguousPaths.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CMailStoreRec.h"
#include "store/CNodeRec.h"

#include "platform/base/FileFunctions.h"
#include "platform/base/TextFunctions.h"
#include "platform/framework/AfxMessageBox.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char RECYCLE_TITLE[] = "Recycle bin";

CString DocumentPath(const CDocumentRec& document)
{
    CString strName;
    document.GetFullPath(strName);
    return document.GetDirectoryPath(FALSE) + strName;
}

// The user name of the client profile that owns a store of the kind.
CString MailStoreUserName(int nStoreKind, LPCTSTR pszStorePath)
{
    std::unique_ptr<CMailer> pMailer;
    if (nStoreKind == MAIL_STORE_NETSCAPE)
        pMailer = std::make_unique<CNetscapeMailer>();
    else if (nStoreKind == MAIL_STORE_OE4)
        pMailer = std::make_unique<COE4Mailer>();
    else if (nStoreKind == MAIL_STORE_OE5)
        pMailer = std::make_unique<COE5Mailer>();
    return pMailer ? pMailer->GetStoreUserName(pszStorePath) : CString();
}

} // namespace

CRecycleRun::CRecycleRun(CCatalog* pMain, CCatalog* pBin, CRunProgress* pProgress)
    : m_pMain(pMain)
    , m_pBin(pBin)
    , m_pProgress(pProgress)
{
    m_pMain->Acquire();
    m_pBin->Acquire();
    m_nBinCount = CountRecycleBinItems();
}

CRecycleRun::~CRecycleRun()
{
    m_pBin->Release();
    m_pMain->Release();
}

bool CRecycleRun::CheckStop()
{
    if (!m_bStopped && m_pProgress != nullptr && (m_pProgress->PumpAndTestCancel() || m_pProgress->IsCancelled()))
        m_bStopped = true;
    return m_bStopped;
}

int CRecycleRun::DeleteFromStore(const CDocumentRec& document)
{
    const CMailDocumentRef ref = document.GetMailRef();
    const CString strStore = document.GetDirectoryString();
    const CString strUser = MailStoreUserName(ref.nStoreKind, strStore);
    int nResult = MAIL_ERR_FORMAT;
    if (ref.nStoreKind == MAIL_STORE_NETSCAPE)
        nResult = DeleteNetscapeStoreMessage(strUser, strStore, ref.dwOffset, ref.dwLength);
    else if (ref.nStoreKind == MAIL_STORE_OE4)
        nResult = DeleteOE4StoreMessage(strUser, strStore, ref.dwOffset, ref.dwLength);
    else if (ref.nStoreKind == MAIL_STORE_OE5)
        nResult = DeleteOE5StoreMessage(strUser, strStore, ref.dwOffset, ref.dwLength);
    return nResult;
}

BOOL CRecycleRun::RecordRecycledName(CDocumentRec& entry, const CString& strPath)
{
    CString strName;
    const int nCount = CountRecycleBinItems();
    if (nCount != m_nBinCount) {
        strName = MakeRecycledName(m_names, strPath);
        m_nBinCount = nCount;
    }
    CDocumentInfo info {};
    if (entry.GetInfo(&info) == nullptr)
        return FALSE;
    std::memset(info.id, 0, sizeof(info.id));
    std::memcpy(info.id, static_cast<LPCTSTR>(strName), static_cast<size_t>(strName.GetLength()));
    return entry.UpdateInfo(info);
}

int CRecycleRun::RecycleDocument(CDocumentRec& document)
{
    const int nState = document.GetExpiryState(TRUE);
    if (nState == EXPIRY_NOT_FOUND || nState == EXPIRY_UNREACHABLE)
        return 1;
    if (document.IsMail()) {
        if (nState != EXPIRY_MAIL_DELETED) {
            if (const int nResult = DeleteFromStore(document); nResult != MAIL_OK) {
                m_bLeftWithoutStatus |= nResult == MAIL_ERR_NO_STATUS;
                return 1;
            }
        }
        return document.ForEachLinkedNode(-1, -1, FALSE) ? 0 : 1;
    }
    const CString strPath = DocumentPath(document);
    if (!CheckPathUnambiguous(strPath, RECYCLE_TITLE))
        return 1;
    // The entry goes into the bin's catalog first, so that a file in the bin
    // always has its entry; an entry of the same path there is kept as it was
    // should the file not move.
    CDocumentInfo previous {};
    std::unique_ptr<CDocumentRec> pBefore(m_pBin->FindPath(strPath));
    const bool bHadEntry = pBefore && pBefore->GetInfo(&previous) != nullptr;
    std::unique_ptr<CDocumentRec> pCopy(document.CopyToCatalog(m_pBin));
    if (!pCopy)
        return 1;
    if (GetFileAttributes(strPath) != INVALID_FILE_ATTRIBUTES && ShellDeleteToBin(strPath) != 0) {
        if (bHadEntry)
            pCopy->UpdateInfo(previous);
        else
            pCopy->ForEachLinkedNode(-1, -1, FALSE);
        return 1;
    }
    if (!RecordRecycledName(*pCopy, strPath))
        return 1;
    return document.ForEachLinkedNode(-1, -1, FALSE) ? 0 : 1;
}

int CRecycleRun::RecycleNode(CNodeRec& node)
{
    int nResult = 0;
    for (const auto& pChild : node.GetChildren()) {
        if (CheckStop())
            return 1;
        nResult = RecycleNode(*pChild);
    }
    for (const auto& pDocument : node.GetDocuments()) {
        if (CheckStop())
            return 1;
        if (!CanRecycle(*pDocument))
            continue;
        if (m_pProgress != nullptr)
            m_pProgress->SetText(DocumentPath(*pDocument));
        nResult = RecycleDocument(*pDocument);
    }
    node.Load();
    if (!node.GetChildren().empty() || node.HasDocuments(nullptr))
        return 1;
    return node.DeleteSubtree(TRUE) ? nResult : 1;
}

int CRecycleRun::RecycleShellFile(LPCTSTR pszPath, BOOL bSkipCatalog)
{
    if (GetFileAttributes(pszPath) != INVALID_FILE_ATTRIBUTES && ShellDeleteToBin(pszPath) != 0)
        return 1;
    if (bSkipCatalog)
        return 0;
    const CString strPath(Utf8ToLower(pszPath).c_str());
    if (std::unique_ptr<CDocumentRec> pDocument(m_pMain->FindPath(strPath)); pDocument) {
        std::unique_ptr<CDocumentRec> pCopy(pDocument->CopyToCatalog(m_pBin));
        if (!pCopy || !RecordRecycledName(*pCopy, strPath))
            return 1;
        pDocument->ForEachLinkedNode(-1, -1, FALSE);
        return 0;
    }
    const int nSlash = strPath.ReverseFind('\\');
    const CString strFolder = strPath.Left(nSlash + 1);
    const CString strName = m_pBin->MakeUniqueName(strFolder, strPath.Mid(nSlash + 1));
    CDocumentInfo info {};
    info.wType = DOCUMENT_FILE;
    Utf8CopyToField(info.szName, sizeof(info.szName), strName, FieldEnd::NulTerminated);
    std::unique_ptr<CDocumentRec> pEntry(m_pBin->FindOrAddDocument(strFolder, strName, &info));
    std::unique_ptr<CNodeRec> pSystems(CNodeRec::NewTopNodeRec3(m_pBin));
    if (!pEntry || !pSystems || !pSystems->AddDocument(pEntry.get()))
        return 1;
    return RecordRecycledName(*pEntry, strPath) ? 0 : 1;
}

/******************************************************************************
 * The confirmed run
 ******************************************************************************/

namespace {

// A message's subject as written (its title) and its mail folder as the user knows it.
CString MessageSubject(const CDocumentRec& document)
{
    CString strSubject;
    document.GetFullPath(strSubject);
    return strSubject;
}

CString MessageFolder(const CDocumentRec& document)
{
    return DescribeMailbox(document.GetDirectoryString(), document.GetStoreKind());
}

CString EntryText(const CCatalogRecord* pEntry)
{
    if (const auto* pDocument = dynamic_cast<const CDocumentRec*>(pEntry)) {
        if (pDocument->IsMail())
            return "\"" + MessageSubject(*pDocument) + "\" (" + MessageFolder(*pDocument) + ")";
        return CString(Utf8ToLower(LPCTSTR(DocumentPath(*pDocument))).c_str());
    }
    if (const auto* pNode = dynamic_cast<const CNodeRec*>(pEntry))
        return pNode->GetName();
    return {};
}

bool HasNetworkEntry(const std::vector<std::unique_ptr<CCatalogRecord>>& entries)
{
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (const auto* pDocument = dynamic_cast<const CDocumentRec*>(it->get()); pDocument) {
            if (IsNetworkDocument(*pDocument))
                return true;
        } else if (const auto* pNode = dynamic_cast<const CNodeRec*>(it->get()); pNode) {
            if (NodeHasNetworkDocuments(*pNode))
                return true;
        }
    }
    return false;
}

// Asks the user; FALSE when the run is not to go on.
BOOL ConfirmRecycling(const std::vector<std::unique_ptr<CCatalogRecord>>& entries)
{
    CString strFormat;
    CString strText;
    int nKind = CCatalogPrompts::SELECTION_ITEMS;
    BOOL bNetwork = FALSE;
    if (entries.size() == 1) {
        if (const auto* pDocument = dynamic_cast<const CDocumentRec*>(entries[0].get()); pDocument) {
            if (!CanRecycle(*pDocument)) {
                AfxMessageBox(IDS_RECYCLE_NOT_POSSIBLE, MB_OK);
                return FALSE;
            }
            if (pDocument->IsMail()) {
                // Gone for good: the bin keeps no message.
                strFormat.LoadString(IDS_RECYCLE_ASK_MESSAGE);
                strText.Format(strFormat, static_cast<LPCTSTR>(MessageSubject(*pDocument)),
                    static_cast<LPCTSTR>(MessageFolder(*pDocument)));
                return GetCatalogPrompts().ConfirmSelectionAction(
                           CCatalogPrompts::SELECTION_REMOVABLE_ITEM, strText, FALSE, nullptr)
                        == IDOK
                    ? TRUE
                    : FALSE;
            }
            strFormat.LoadString(IDS_RECYCLE_ASK_ITEM);
            nKind = CCatalogPrompts::SELECTION_ITEM;
            bNetwork = IsNetworkDocument(*pDocument);
        } else {
            strFormat.LoadString(IDS_RECYCLE_ASK_NODE);
            nKind = CCatalogPrompts::SELECTION_NODE;
            const auto* pNode = dynamic_cast<const CNodeRec*>(entries[0].get());
            bNetwork = pNode != nullptr && NodeHasNetworkDocuments(*pNode);
        }
        strText.Format(strFormat, static_cast<LPCTSTR>(EntryText(entries[0].get())));
    } else {
        const bool bMail = std::any_of(entries.begin(), entries.end(), [](const auto& pEntry) {
            const auto* pDocument = dynamic_cast<const CDocumentRec*>(pEntry.get());
            return pDocument != nullptr && pDocument->IsMail();
        });
        strFormat.LoadString(bMail ? IDS_RECYCLE_ASK_ITEMS_MAIL : IDS_RECYCLE_ASK_ITEMS);
        strText.Format(strFormat, static_cast<int>(entries.size()));
        bNetwork = HasNetworkEntry(entries) ? TRUE : FALSE;
    }
    return GetCatalogPrompts().ConfirmSelectionAction(nKind, strText, bNetwork, nullptr) == IDOK ? TRUE : FALSE;
}

} // namespace

BOOL MoveToRecycleBin(
    CCatalog* pMain, CCatalog* pBin, std::vector<std::unique_ptr<CCatalogRecord>>& entries, BOOL bNoConfirm)
{
    if (entries.empty())
        return FALSE;
    if (!bNoConfirm && !ConfirmRecycling(entries))
        return FALSE;
    int nMoved = 0;
    bool bLeftWithoutStatus = false;
    {
        std::unique_ptr<CRunProgress> pProgress = CreateRunProgress(ERunProgressKind::Operation);
        pProgress->SetRange(CRunProgress::BAR_A, 0, static_cast<int>(entries.size()) + 1);
        pProgress->SetStep(CRunProgress::BAR_A, 1);
        if (bNoConfirm) {
            CString strTitle;
            strTitle.LoadString(IDS_RECYCLE_TITLE);
            pProgress->SetTitle(strTitle);
        }
        CRecycleRun run(pMain, pBin, pProgress.get());
        for (auto& pEntry : entries) {
            if (run.IsStopped() || pProgress->IsCancelled())
                break;
            pProgress->SetText(EntryText(pEntry.get()));
            int nResult = 1;
            if (auto* pDocument = dynamic_cast<CDocumentRec*>(pEntry.get()))
                nResult = CanRecycle(*pDocument) ? run.RecycleDocument(*pDocument) : 1;
            else if (auto* pNode = dynamic_cast<CNodeRec*>(pEntry.get()))
                nResult = run.RecycleNode(*pNode);
            if (nResult == 0) {
                pEntry.reset();
                ++nMoved;
            }
            pProgress->StepIt(CRunProgress::BAR_A);
        }
        bLeftWithoutStatus = run.LeftMessageWithoutStatus() != FALSE;
    }
    if (!bNoConfirm && nMoved < static_cast<int>(entries.size())) {
        if (entries.size() == 1) {
            CString strFormat;
            CString strText;
            const auto* pDocument = dynamic_cast<const CDocumentRec*>(entries[0].get());
            if (bLeftWithoutStatus && pDocument != nullptr) {
                strFormat.LoadString(IDS_RECYCLE_MESSAGE_NO_STATUS);
                strText.Format(strFormat, static_cast<LPCTSTR>(MessageSubject(*pDocument)),
                    static_cast<LPCTSTR>(MessageFolder(*pDocument)));
            } else {
                strFormat.LoadString(IDS_RECYCLE_STAYED_ONE);
                strText.Format(strFormat, static_cast<LPCTSTR>(EntryText(entries[0].get())));
            }
            AfxMessageBox(strText, MB_OK);
        } else {
            AfxMessageBox(bLeftWithoutStatus ? IDS_RECYCLE_STAYED_NO_STATUS : IDS_RECYCLE_STAYED_SOME, MB_OK);
        }
    }
    UpdateRecycleBinState(pBin);
    return nMoved > 0 ? TRUE : FALSE;
}
