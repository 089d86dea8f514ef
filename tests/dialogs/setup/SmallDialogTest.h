#pragma once

// A fixture for the main frame's small dialogs: a program folder of the
// test's own, the program's resource module and the test driver, whose
// scripts must all have run cleanly. Message boxes answered through
// AnswerMessageBox leave their texts in m_messages.

#include "platform/testing/TestDriver.h"
#include "platform/window/MessageBox.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/MessageBoxAnswers.h"
#include "tests/ui/ProgramModule.h"

#include <gtest/gtest.h>

#include <ctime>
#include <optional>
#include <string>
#include <vector>

// The host's time zone is UTC while it lives.
class UtcZone {
public:
    UtcZone() { tzset(); }
    ~UtcZone()
    {
        m_zone.reset();
        tzset();
    }
    UtcZone(const UtcZone&) = delete;
    UtcZone& operator=(const UtcZone&) = delete;

private:
    std::optional<ScopedVariable> m_zone { std::in_place, "TZ", "UTC0" };
};

class SmallDialogTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        ASSERT_NE(m_module.Handle(), nullptr);
    }
    void TearDown() override
    {
        EXPECT_TRUE(m_driver.ScriptErrors().empty());
        ProgramFolderTest::TearDown();
    }

    void AnswerMessageBox(int nResult) { AnswerNextMessageBox(m_driver, m_messages, nResult); }

    CTestDriver m_driver;
    ProgramModule m_module;
    std::vector<std::string> m_messages;
};
