#include "catalog/CDocumentPlacement.h"

#include "catalog/ContentScan.h"

#include "mail/CMailMessage.h"
#include "mail/MailResult.h"

#include "store/CCatalog.h"
#include "store/PathHelpers.h"

#include <string_view>

namespace {

bool HasNode(const CNodeRecArray& nodes, CRecordRef ref)
{
    for (const std::unique_ptr<CNodeRec>& pNode : nodes) {
        if (pNode->GetRef() == ref)
            return true;
    }
    return false;
}

void AddNode(const CNodeRec& node, CNodeRecArray& nodes)
{
    if (HasNode(nodes, node.GetRef()))
        return;
    if (std::unique_ptr<CNodeRec> pClone(node.Clone()); pClone)
        nodes.push_back(std::move(pClone));
}

// The parent of a folder without its trailing backslash; empty at the root
// ("c:", "\\server\share").
CString ParentFolder(const CString& strFolder)
{
    const int nSlash = strFolder.ReverseFind('\\');
    if (nSlash <= 0 || GetPathRoot(strFolder).GetLength() >= strFolder.GetLength())
        return CString();
    const CString strParent = strFolder.Left(nSlash);
    return strParent.GetLength() < 2 || strParent.Right(1) == "\\" ? CString() : strParent;
}

} // namespace

CMessageTexts ReadMessageTexts(const CMailMessage& message)
{
    char szSender[MAIL_MAX_PATH] = {};
    char szTo[MAIL_MAX_PATH] = {};
    char szCc[MAIL_MAX_PATH] = {};
    message.GetExtraField(szSender);
    message.GetAddressList2(szTo, sizeof(szTo));
    message.GetCcList(szCc, sizeof(szCc));
    CMessageTexts texts;
    texts.strSubject = message.GetSubject();
    texts.strSender = szSender;
    texts.strRecipients = CString(szTo) + " " + szCc;
    texts.strBody = message.GetText();
    return texts;
}

CDocumentPlacement::CDocumentPlacement(CCatalog* pCatalog, const CNodeRec* pFallback)
    : m_folderMap(pCatalog)
    , m_fileKeywords(pCatalog)
    , m_mailKeywords(pCatalog)
    , m_fileWords(PrepareKeywords(m_fileKeywords))
    , m_mailWords(PrepareKeywords(m_mailKeywords))
    , m_pFallback(pFallback != nullptr ? pFallback->Clone() : nullptr)
{
}

std::vector<CDocumentPlacement::CKeyword> CDocumentPlacement::PrepareKeywords(const CKeywordTypeMap& map)
{
    std::vector<CKeyword> keywords;
    POSITION pos = map.GetStartPosition();
    while (pos != nullptr) {
        CString strKey;
        void* pValue = nullptr;
        map.GetNextAssoc(pos, strKey, pValue);
        CKeyword keyword { CWordFinder(std::string_view(strKey), TRUE, FALSE), {}, 0 };
        for (const std::unique_ptr<CNodeRec>& pNode : *static_cast<const CNodeRecArray*>(pValue)) {
            const WORD wBits = pNode->GetInfoWord() & map.GetMask();
            keyword.nodes.emplace_back(pNode.get(), wBits);
            keyword.wBits |= wBits;
        }
        keywords.push_back(std::move(keyword));
    }
    return keywords;
}

BOOL CDocumentPlacement::PlaceFile(LPCTSTR pszPath, LPCTSTR pszDescription, CNodeRecArray& nodes)
{
    nodes.clear();
    CString strFolder;
    CString strName;
    SplitPath(pszPath, strFolder, strName);
    AddFolderNodes(strFolder, nodes);

    std::vector<WORD> found(m_fileWords.size(), 0);
    std::vector<CWordFinder> contentWords;
    std::vector<std::size_t> contentIndexes;
    for (std::size_t i = 0; i < m_fileWords.size(); ++i) {
        const CKeyword& keyword = m_fileWords[i];
        if ((keyword.wBits & SEARCH_FILE_NAME) != 0 && keyword.finder.Find(std::string_view(strName)))
            found[i] |= SEARCH_FILE_NAME;
        if ((keyword.wBits & SEARCH_FILE_FOLDER) != 0 && keyword.finder.Find(std::string_view(strFolder)))
            found[i] |= SEARCH_FILE_FOLDER;
        if ((keyword.wBits & SEARCH_FILE_DESCRIPTION) != 0 && keyword.finder.Find(std::string_view(pszDescription)))
            found[i] |= SEARCH_FILE_DESCRIPTION;
        if ((keyword.wBits & SEARCH_FILE_CONTENT) != 0) {
            contentWords.push_back(keyword.finder);
            contentIndexes.push_back(i);
        }
    }
    if (!contentWords.empty()) {
        std::vector<bool> inContent;
        // An unreadable file has no words in its content.
        ScanFileContent(pszPath, contentWords, false, inContent);
        for (std::size_t i = 0; i < inContent.size(); ++i) {
            if (inContent[i])
                found[contentIndexes[i]] |= SEARCH_FILE_CONTENT;
        }
    }
    for (std::size_t i = 0; i < m_fileWords.size(); ++i)
        AddKeywordNodes(m_fileWords[i], found[i], nodes);
    return Finish(nodes);
}

BOOL CDocumentPlacement::PlaceMessage(LPCTSTR pszStorePath, const CMessageTexts& texts, CNodeRecArray& nodes)
{
    nodes.clear();
    AddFolderNodes(pszStorePath, nodes);
    const std::pair<WORD, const CString*> fields[] = {
        { SEARCH_MAIL_SUBJECT, &texts.strSubject },
        { SEARCH_MAIL_SENDER, &texts.strSender },
        { SEARCH_MAIL_RECIPIENTS, &texts.strRecipients },
        { SEARCH_MAIL_BODY, &texts.strBody },
    };
    for (const CKeyword& keyword : m_mailWords) {
        WORD wFound = 0;
        for (const auto& [wBit, pText] : fields) {
            if ((keyword.wBits & wBit) != 0 && keyword.finder.Find(std::string_view(*pText)))
                wFound |= wBit;
        }
        AddKeywordNodes(keyword, wFound, nodes);
    }
    return Finish(nodes);
}

void CDocumentPlacement::AddFolderNodes(const CString& strFolder, CNodeRecArray& nodes)
{
    const unsigned nRecords = m_folderMap.GetRecordCount();
    if (!m_lastFolder.bValid || m_lastFolder.nRecords != nRecords || m_lastFolder.strFolder != strFolder)
        m_lastFolder = { strFolder, FindFolderNodes(strFolder), nRecords, true };
    if (m_lastFolder.pNodes == nullptr)
        return;
    for (const std::unique_ptr<CNodeRec>& pNode : *m_lastFolder.pNodes)
        AddNode(*pNode, nodes);
}

const CNodeRecArray* CDocumentPlacement::FindFolderNodes(CString strFolder)
{
    if (const unsigned nRecords = m_folderMap.GetRecordCount(); nRecords != m_nFoundRecords) {
        m_foundNodes.clear();
        m_nFoundRecords = nRecords;
    }
    strFolder = CCatalogFolderMap::MakeKey(strFolder);
    // The folders looked up on the way up share what the first with a record
    // (or a folder looked up before) found.
    std::vector<std::string> lookedUp;
    const CNodeRecArray* pFound = nullptr;
    while (!strFolder.IsEmpty()) {
        if (const auto it = m_foundNodes.find(std::string_view(strFolder)); it != m_foundNodes.end()) {
            pFound = it->second;
            break;
        }
        const CNodeRecArray* pNodes = m_folderMap.LookupFolder(strFolder);
        lookedUp.emplace_back(strFolder);
        if (pNodes != nullptr && !pNodes->empty()) {
            pFound = pNodes;
            break;
        }
        strFolder = ParentFolder(strFolder);
    }
    for (std::string& strLookedUp : lookedUp)
        m_foundNodes.emplace(std::move(strLookedUp), pFound);
    return pFound;
}

void CDocumentPlacement::AddKeywordNodes(const CKeyword& keyword, WORD wFound, CNodeRecArray& nodes)
{
    if (wFound == 0)
        return;
    for (const auto& [pNode, wBits] : keyword.nodes) {
        if ((wBits & wFound) != 0)
            AddNode(*pNode, nodes);
    }
}

BOOL CDocumentPlacement::Finish(CNodeRecArray& nodes) const
{
    if (!nodes.empty())
        return TRUE;
    if (m_pFallback)
        AddNode(*m_pFallback, nodes);
    return FALSE;
}
