#pragma once

// Where a new document goes in the tree of systems and groups: the placement
// the update engine, the new-document monitor and the cataloguing form share.
//
// The nodes, in this order and each once:
//  1. the folder records: the document's folder, then each parent up to the
//     root; the first that a folder record names gives its nodes (a mail
//     message looks up its store file, whose record is "*" + the store path);
//  2. the keywords: each keyword found, as a whole word and without regard to
//     case, in a text that one of its nodes' search-type bits selects leads to
//     that node (the bits below).
// When neither gives a node, the document goes under the fallback node (the
// update's target, the monitor's default system): it is then not "placed by
// the rules".
//
// Built from the catalog (a reference held while it is used); rebuild it
// after the catalog changed.

#include "catalog/CCatalogFolderMap.h"
#include "catalog/CKeywordTypeMap.h"
#include "catalog/CWordFinder.h"

#include "store/CNodeRec.h"

#include "platform/base/CString.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CCatalog;
class CMailMessage;

/* The search-type bits of a node: where its keywords are looked for. */
// clang-format off
constexpr WORD SEARCH_FILE_NAME        = 0x01; // a file's name
constexpr WORD SEARCH_FILE_FOLDER      = 0x02; // a file's folder path
constexpr WORD SEARCH_FILE_DESCRIPTION = 0x04; // a file's description (the beginning of its text)
constexpr WORD SEARCH_FILE_CONTENT     = 0x08; // a file's whole content
constexpr WORD SEARCH_MAIL_SUBJECT     = 0x10;
constexpr WORD SEARCH_MAIL_SENDER      = 0x20;
constexpr WORD SEARCH_MAIL_RECIPIENTS  = 0x40; // To and Cc
constexpr WORD SEARCH_MAIL_BODY        = 0x80;
// The bits a new node starts with: the file's name, the mail's subject and sender.
constexpr WORD SEARCH_DEFAULT          = 0x31;
// clang-format on

// The texts of a mail message that its keywords are looked for in.
struct CMessageTexts {
    CString strSubject;
    CString strSender;
    CString strRecipients;
    CString strBody;
};
// The texts of a message read from its store.
CMessageTexts ReadMessageTexts(const CMailMessage& message);

class CDocumentPlacement {
public:
    // pFallback (copied; null for none) takes what the rules do not place.
    CDocumentPlacement(CCatalog* pCatalog, const CNodeRec* pFallback);

    // The nodes of the file at pszPath (a program path), whose description
    // (its text's beginning) is pszDescription; TRUE when the rules placed
    // it. The content is read only when a keyword asks for it.
    BOOL PlaceFile(LPCTSTR pszPath, LPCTSTR pszDescription, CNodeRecArray& nodes);
    // The nodes of a mail message of the store file pszStorePath.
    BOOL PlaceMessage(LPCTSTR pszStorePath, const CMessageTexts& texts, CNodeRecArray& nodes);

    CCatalogFolderMap& GetFolderMap() { return m_folderMap; }
    CKeywordMapLowTypes& GetFileKeywords() { return m_fileKeywords; }
    CKeywordMapHighTypes& GetMailKeywords() { return m_mailKeywords; }

private:
    // A keyword and the nodes it leads to, with their search-type bits.
    struct CKeyword {
        CWordFinder finder;
        std::vector<std::pair<const CNodeRec*, WORD>> nodes;
        WORD wBits { 0 }; // every bit of its nodes
    };

    static std::vector<CKeyword> PrepareKeywords(const CKeywordTypeMap& map);
    // Adds the nodes of the folder, or of its nearest parent with a record.
    void AddFolderNodes(const CString& strFolder, CNodeRecArray& nodes);
    // The nodes of the folder or of its nearest parent with a record; null when none has one.
    const CNodeRecArray* FindFolderNodes(CString strFolder);
    // Adds the nodes of a keyword whose bits include one of wFound.
    static void AddKeywordNodes(const CKeyword& keyword, WORD wFound, CNodeRecArray& nodes);
    BOOL Finish(CNodeRecArray& nodes) const;

    CCatalogFolderMap m_folderMap;
    CKeywordMapLowTypes m_fileKeywords;
    CKeywordMapHighTypes m_mailKeywords;
    std::vector<CKeyword> m_fileWords;
    std::vector<CKeyword> m_mailWords;
    std::unique_ptr<CNodeRec> m_pFallback;
    // The last folder looked up, as given, and what it found, while the
    // folder map's record count is unchanged: a walk places the files of one
    // folder one after another.
    struct CFolderLookup {
        CString strFolder;
        const CNodeRecArray* pNodes { nullptr };
        unsigned nRecords { 0 };
        bool bValid { false };
    };
    CFolderLookup m_lastFolder;
    // What FindFolderNodes found for each folder it looked up, while the
    // folder map's record count is m_nFoundRecords: a walk looks up every
    // folder of a tree, each below one looked up before.
    std::map<std::string, const CNodeRecArray*, std::less<>> m_foundNodes;
    unsigned m_nFoundRecords { 0 };
};
