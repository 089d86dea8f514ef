#pragma once

// A kit test over the sample catalog of the store tests' builders.

#include "tests/store/CatalogBuilder.h"
#include "tests/ui/UiTestSupport.h"

class UiCatalogTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        m_pUi = std::make_unique<CUiHarness>();
        m_pCatalog = NewMainCatalog();
        m_tree = BuildSample(*m_pCatalog);
    }
    void TearDown() override
    {
        m_pUi.reset();
        m_pCatalog.reset();
        CatalogTest::TearDown();
    }

    std::unique_ptr<CUiHarness> m_pUi;
    std::unique_ptr<CCatalog> m_pCatalog;
    SampleTree m_tree;
};
