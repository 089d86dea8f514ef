#pragma once

// A fixture that runs the program's start-up in the test's own program folder:
// the build's resource module, a fresh registry and catalog, the test driver's
// clock, scripted prompts and the program's messages registered. Start makes
// the application and runs InitInstance with the given arguments; Stop (or the
// fixture's end) closes what is left and tears the application down.

#include "frame/CArchivoraApp.h"
#include "frame/CMainFrame.h"
#include "frame/CSplitterFrame.h"
#include "tests/frame/ScriptedFramePrompts.h"

#include "platform/testing/TestDriver.h"
#include "store/CatalogTypes.h"
#include "tests/support/TempFolder.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CCatalog;
class CNodeRec;

class CArqListViewCtrl;

class AppTest : public ProgramFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;

    /* The run. */

    // The result of InitInstance; the application stays until Stop.
    BOOL Start(std::vector<CString> arguments = {});
    // Destroys a main window that is left, ends the run and destroys the application.
    void Stop();

    CArchivoraApp& App() { return *m_pApp; }
    CMainFrame* MainFrame() const { return m_pApp ? m_pApp->GetMainFrame() : nullptr; }
    CSplitterFrame* ActiveView() const;
    // The catalog views in window order (the active one first).
    std::vector<CSplitterFrame*> Views() const;
    // Sends the main window a command and runs what it caused.
    void Command(UINT nID);
    // The active view's document list.
    CArqListViewCtrl& List();
    // A top-level system of the main catalog, read fresh; none when missing.
    std::unique_ptr<CNodeRec> System(const char* pszName);
    // The program path of a file of the home's "docs" folder.
    std::string DocPath(const char* pszName) const;

    /* What is there before a start. */

    // Writes a set-up catalog (and an empty recycle bin) into the program
    // folder; fill adds to it while it is open.
    void WriteCatalog(const std::function<void(CCatalog&, CNodeRec& root)>& fill = {});
    // The child of parent named pszName, made; and a document of the path linked under the node.
    static std::unique_ptr<CNodeRec> AddSystem(CNodeRec& parent, const char* pszName);
    static CRecordRef AddDocument(CCatalog& catalog, CNodeRec& node, const char* pszPath);

    /* The registry below the product key. */

    // A DWORD value of HKCU\SOFTWARE\KD\Archivora Plus\<pszKey>; none when missing.
    static std::optional<DWORD> ProductValue(LPCTSTR pszKey, LPCTSTR pszName);
    static void SetProductValue(LPCTSTR pszKey, LPCTSTR pszName, DWORD dwValue);

    // The program path of a file of the program folder.
    CString ProgramPath(const char* pszName) const;

    // Makes the last search (also the program's find criteria) the phrase
    // pszText in the documents' names, with scope nScope, for the recycle bin when bRecycle.
    void SetLastFind(const char* pszText, int nScope = 0, BOOL bRecycle = FALSE);
    // Makes the find criteria the phrase pszText in field nField
    // (CTextSearch::FIELD_*), with the results listed in their window.
    void ChooseFindIntoResultsWindow(const char* pszText, int nField);
    // Find from the Catalog menu, answered with those criteria.
    void FindIntoResultsWindow(const char* pszText, int nField);

    // Answers the next message box with OK, keeping its caption and text in *pShown.
    struct CShownMessage {
        CString strCaption;
        CString strText;
    };
    void ReadNextMessageBox(CShownMessage* pShown);

    CTestDriver m_driver;
    CScriptedFramePrompts m_prompts;
    std::unique_ptr<CArchivoraApp> m_pApp;

private:
    std::unique_ptr<TempFolder> m_runtime;
};
