#pragma once

// A fixture for the web access account dialogs: the program's resource
// module, the test driver, a fake directory site with a stored account, and a
// program folder of the test's own (the dialogs save the settings). The
// driver's scripts must all have run cleanly.

#include "platform/testing/TestDriver.h"
#include "platform/window/MessageBox.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/MessageBoxAnswers.h"
#include "tests/ui/ProgramModule.h"
#include "tests/webaccess/directory/FakeDirectorySite.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Base is the test's program-folder fixture (ProgramFolderTest or one built on it).
template<class Base = ProgramFolderTest> class AccountDialogFixture : public Base {
protected:
    void SetUp() override
    {
        Base::SetUp();
        ASSERT_NE(m_module.Handle(), nullptr);
    }
    void TearDown() override
    {
        for (const CString& strError : m_driver.ScriptErrors())
            ADD_FAILURE() << static_cast<LPCTSTR>(strError);
        Base::TearDown();
    }

    // Answers the next message box with nResult and records its text in m_messages.
    void AnswerMessageBox(int nResult = IDOK) { AnswerNextMessageBox(m_driver, m_messages, nResult); }

    CTestDriver m_driver;
    ProgramModule m_module;
    FakeDirectorySite m_site;
    std::vector<std::string> m_messages;
};

using AccountDialogTest = AccountDialogFixture<>;
