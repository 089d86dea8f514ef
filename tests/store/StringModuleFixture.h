#pragma once

// A fixture whose current resource module is one the test compiles from its
// own string table, so tests of code that loads strings choose the texts.

#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <utility>

class StringModuleTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        m_hPrevious = AfxGetResourceHandle();
    }

    void TearDown() override
    {
        AfxSetResourceHandle(m_hPrevious);
        if (m_hModule)
            FreeLibrary(m_hModule);
        ProgramFolderTest::TearDown();
    }

    // Compiles a module holding the strings (texts without double quotes) and
    // makes it the current resource module.
    void LoadStrings(std::initializer_list<std::pair<UINT, std::string>> strings)
    {
        std::string strScript = "STRINGTABLE\nBEGIN\n";
        for (const auto& [nID, strText] : strings)
            strScript += "    " + std::to_string(nID) + " \"" + strText + "\"\n";
        strScript += "END\n";
        std::filesystem::path scriptPath = m_folder.WriteFile("strings.rc", strScript);
        std::filesystem::path modulePath = m_folder / "strings.dll";
        std::string strCommand = "'" + (BinaryRoot() / "tools" / "archivora_rc").string() + "' -o '"
            + modulePath.string() + "' '" + scriptPath.string() + "'";
        ASSERT_EQ(std::system(strCommand.c_str()), 0) << strCommand;
        m_hModule = LoadLibrary(ProgramPathFromHostPath(modulePath.string()).c_str());
        ASSERT_NE(m_hModule, nullptr);
        AfxSetResourceHandle(m_hModule);
    }

private:
    TempFolder m_folder;
    HMODULE m_hModule { nullptr };
    HINSTANCE m_hPrevious { nullptr };
};
