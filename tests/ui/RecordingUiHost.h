#pragma once

// The interface kit's host for tests: installed for its lifetime, it answers
// from what the test puts in its fields and records the calls that ask the
// application to act, in order, one line each ("ReplaceMenuItem",
// "RunGroupProperties Alpha"); the dialogs it stands for answer m_nAnswer.

#include "store/PreferenceSheets.h"
#include "ui/CUiHostServices.h"

#include <string>
#include <vector>

class CRecordingUiHost : public CUiHostServices {
public:
    CRecordingUiHost() { m_pPrevious = InstallUiHostServices(this); }
    ~CRecordingUiHost() override { InstallUiHostServices(m_pPrevious); }
    CRecordingUiHost(const CRecordingUiHost&) = delete;
    CRecordingUiHost& operator=(const CRecordingUiHost&) = delete;

    CCatalog* GetMainCatalog() override { return m_pMainCatalog; }
    CCatalog* GetRecycleCatalog() override { return m_pRecycleCatalog; }
    CPendingDocs* GetPendingDocs() override { return m_pPendingDocs; }
    void GetNewDocumentLists(CNewDocumentLists* pLists) override
    {
        pLists->first.Copy(m_newDocuments.first);
        pLists->second.Copy(m_newDocuments.second);
        pLists->entryPaths.Copy(m_newDocuments.entryPaths);
    }
    void ReplaceMenuItem(CMenu* /*pMenu*/) override { m_calls.emplace_back("ReplaceMenuItem"); }
    void BuildDynamicMenu() override { m_calls.emplace_back("BuildDynamicMenu"); }
    BOOL GetListColumns(CListColumnChoices* pChoices, BOOL* pbListExtension) override
    {
        *pChoices = m_listColumns;
        *pbListExtension = m_bListExtension;
        return m_bHasListColumns;
    }
    void ApplyListColumns(const CListColumnChoices& choices, BOOL bListExtension) override
    {
        m_calls.emplace_back("ApplyListColumns");
        m_listColumns = choices;
        m_bListExtension = bListExtension;
    }
    BOOL OpenItem(CDocumentRec& document, LPCTSTR pszProgram) override;
    void MinimizeAfterOpen() override { m_calls.emplace_back("MinimizeAfterOpen"); }
    int RunDocumentProperties(CDocumentRec& document) override { return Record("RunDocumentProperties", document); }
    int RunProcessDocuments(CDocumentRec& document) override { return Record("RunProcessDocuments", document); }
    int RunImagePreview(CDocumentRec& document) override { return Record("RunImagePreview", document); }
    int RunPassword(CDocumentRec& document, int /*nMode*/) override { return Record("RunPassword", document); }
    int RunGroupProperties(CNodeRec& node) override { return Record("RunGroupProperties", node); }
    int RunNewGroup(CNodeRec& node) override { return Record("RunNewGroup", node); }
    int RunKeywordProperties(CNodeRec& node) override { return Record("RunKeywordProperties", node); }
    int RunNewFolder(LPCTSTR pszParentPath) override;

    /* Answers. */
    CCatalog* m_pMainCatalog { nullptr };
    CCatalog* m_pRecycleCatalog { nullptr };
    CPendingDocs* m_pPendingDocs { nullptr };
    CNewDocumentLists m_newDocuments;
    BOOL m_bHasListColumns { FALSE }; // a catalog view is open
    CListColumnChoices m_listColumns {};
    BOOL m_bListExtension { FALSE };
    int m_nAnswer { 0 };

    std::vector<std::string> m_calls;

private:
    int Record(const char* pszCall, CDocumentRec& document);
    int Record(const char* pszCall, CNodeRec& node);

    CUiHostServices* m_pPrevious { nullptr };
};
