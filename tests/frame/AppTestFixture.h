#pragma once

// A fixture that runs the program's start-up in the test's own program folder:
// the build's resource module, a fresh registry and catalog, the test driver's
// clock, and the program's messages registered. Start makes the application
// and runs InitInstance with the given arguments; Stop (or the fixture's end)
// closes what is left and tears the application down.

#include "frame/CArchivoraApp.h"
#include "frame/CMainFrame.h"
#include "frame/CSplitterFrame.h"

#include "platform/testing/TestDriver.h"
#include "tests/support/TempFolder.h"

#include <memory>
#include <vector>

class AppTest : public ProgramFolderTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The result of InitInstance; the application stays until Stop.
    BOOL Start(std::vector<CString> arguments = {});
    // Destroys a main window that is left, ends the run and destroys the application.
    void Stop();

    CArchivoraApp& App() { return *m_pApp; }
    CMainFrame* MainFrame() const { return m_pApp ? m_pApp->GetMainFrame() : nullptr; }
    CSplitterFrame* ActiveView() const;
    // The program path of a file of the program folder.
    CString ProgramPath(const char* pszName) const;

    CTestDriver m_driver;
    std::unique_ptr<CArchivoraApp> m_pApp;

private:
    std::unique_ptr<TempFolder> m_runtime;
};
