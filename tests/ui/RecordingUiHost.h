#pragma once

// The interface kit's host for tests: installed for its lifetime, it answers
// from what the test puts in its fields and records the calls that ask the
// application to act, in order, one line each ("ReplaceMenuItem").

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

    /* Answers. */
    CCatalog* m_pMainCatalog { nullptr };
    CCatalog* m_pRecycleCatalog { nullptr };
    CPendingDocs* m_pPendingDocs { nullptr };
    CNewDocumentLists m_newDocuments;

    std::vector<std::string> m_calls;

private:
    CUiHostServices* m_pPrevious { nullptr };
};
