#pragma once

// What the popup tests share: a recording host of the interface kit, a main
// window that counts the registered messages the popups post to it, and a
// fixture over the sample catalog with both installed.

#include "platform/framework/CWinThread.h"
#include "platform/window/WindowClass.h"
#include "tests/ui/UiCatalogTest.h"
#include "ui/CUiHostServices.h"

#include <map>
#include <string>
#include <vector>

// Answers with the catalogs it is given and records every dialog it is asked
// to run ("RunGroupProperties Alpha"); each dialog answers m_nAnswer.
class CRecordingUiHost : public CUiHostServices {
public:
    CCatalog* GetMainCatalog() override { return m_pMain; }
    CCatalog* GetRecycleCatalog() override { return m_pRecycle; }
    CPendingDocs* GetPendingDocs() override { return m_pPending; }
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

    CCatalog* m_pMain { nullptr };
    CCatalog* m_pRecycle { nullptr };
    CPendingDocs* m_pPending { nullptr };
    int m_nAnswer { 0 };
    std::vector<std::string> m_calls;

private:
    int Record(const char* pszCall, CDocumentRec& document);
    int Record(const char* pszCall, CNodeRec& node);
};

// A top-level window, made the thread's main window, that counts the
// registered messages it gets by name and keeps the last one's parameters.
class CRecordingMainWnd : public CWnd {
public:
    BOOL CreateMain();
    int Count(const char* pszMessage) const;

    WPARAM m_lastWParam { 0 };
    LPARAM m_lastLParam { 0 };

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::map<UINT, int> m_counts;
};

// The sample catalog, an empty recycle-bin catalog, the recording host and main window.
class PopupCatalogTest : public UiCatalogTest {
protected:
    void SetUp() override;
    void TearDown() override;

    CTestDriver& Driver() { return m_pUi->m_driver; }

    std::unique_ptr<CCatalog> m_pRecycle;
    CRecordingUiHost m_host;
    CUiHostServices* m_pPreviousHost { nullptr };
    CRecordingMainWnd m_main;
    CWinThread m_thread;
};
