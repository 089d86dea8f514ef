#pragma once

// The catalog drive fixture with a recycle-bin catalog beside the main one,
// the real Trash of the test's own home folder, and the selection question
// answered as the test says (IDOK unless told otherwise), recorded.

#include "catalog/CCatalogPrompts.h"
#include "tests/catalog/CatalogDriveFixture.h"

#include <memory>
#include <string>

class CScriptedSelectionPrompts : public CCatalogPrompts {
public:
    int ConfirmSelectionAction(int nKind, LPCTSTR pszText, BOOL bWarn, HWND) override
    {
        ++m_nAsked;
        m_nKind = nKind;
        m_strText = pszText;
        m_bWarn = bWarn;
        return m_nAnswer;
    }

    int m_nAnswer { IDOK };
    int m_nAsked { 0 };
    int m_nKind { -1 };
    std::string m_strText;
    BOOL m_bWarn { FALSE };
};

class RecycleBinDriveTest : public CatalogDriveTest {
protected:
    void SetUp() override
    {
        CatalogDriveTest::SetUp();
        m_setDataHome = std::make_unique<ScopedVariable>("XDG_DATA_HOME", (HomeFolder().Path() / "data").c_str());
        SetCatalogPrompts(&m_prompts);
        m_pBin = NewMainCatalog("winrec.cat", TRUE);
        ASSERT_TRUE(m_pBin && m_pBin->IsOpen());
    }
    void TearDown() override
    {
        SetCatalogPrompts(nullptr);
        m_pBin.reset();
        CatalogDriveTest::TearDown();
    }

    CScriptedSelectionPrompts m_prompts;
    std::unique_ptr<CCatalog> m_pBin;

private:
    std::unique_ptr<ScopedVariable> m_setDataHome;
};
