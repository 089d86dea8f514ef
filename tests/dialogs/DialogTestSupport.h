#pragma once

// The fixtures of the dialog tests: a program folder of the test's own (and
// for DocumentDialogTest a catalog builder), the program's resource module,
// and the test driver, which answers the dialogs and message boxes by script.
// Message boxes are answered with AnswerMessage, which keeps their texts, so
// a test sees which message a dialog showed.

#include "tests/store/CatalogBuilder.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/ProgramModule.h"

#include "platform/base/CString.h"
#include "platform/testing/DialogScript.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/Dialog.h"
#include "platform/window/MessageBox.h"
#include "platform/window/Window.h"

#include <vector>

class DialogHarness {
protected:
    // Queues the answer to the next message box; its text goes to m_messages.
    void AnswerMessage(int nAnswer = IDOK)
    {
        m_driver.OnNextDialog([this, nAnswer](HWND hBox) {
            m_messages.push_back(CTestDriver::Text(::GetDlgItem(hBox, MESSAGEBOX_TEXT_ID)));
            ::EndDialog(hBox, nAnswer);
        });
    }
    // Queues the script for the next dialog.
    void Answer(CDialogScript& script) { m_driver.AnswerNextDialog(std::move(script)); }
    // A resource string, as a message shows it.
    static CString Text(UINT nID)
    {
        CString str;
        str.LoadString(nID);
        return str;
    }
    void ExpectScriptsRan() const { EXPECT_TRUE(m_driver.ScriptErrors().empty()) << m_driver.ScriptErrors().front(); }

    ProgramModule m_module;
    CTestDriver m_driver;
    std::vector<CString> m_messages;
};

class DialogTest
    : public ProgramFolderTest
    , protected DialogHarness {
protected:
    void TearDown() override
    {
        ExpectScriptsRan();
        ProgramFolderTest::TearDown();
    }
};

class DocumentDialogTest
    : public CatalogTest
    , protected DialogHarness {
protected:
    void TearDown() override
    {
        ExpectScriptsRan();
        CatalogTest::TearDown();
    }
};
