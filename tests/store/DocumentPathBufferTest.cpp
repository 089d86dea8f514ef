#include "store/DocumentPathBuffer.h"

#include "store/CDocumentRec.h"
#include "tests/store/CatalogBuilder.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

class DocumentPathBufferTest : public CatalogTest {
protected:
    void SetUp() override
    {
        CatalogTest::SetUp();
        m_pCatalog = NewMainCatalog();
        m_pDocument = AddDocument(*m_pCatalog, nullptr, "C:\\Work\\Report.TXT");
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    std::unique_ptr<CDocumentRec> m_pDocument;
};

TEST_F(DocumentPathBufferTest, ComposesTheFullPathInTheSharedBuffer)
{
    LPCTSTR pszPath = CopyDocPath(m_pDocument.get(), TRUE, FALSE);
    EXPECT_EQ(pszPath, GetDocPathBuffer());
    EXPECT_STREQ(pszPath, "c:\\work\\report.txt");
    EXPECT_STREQ(CopyDocPath(nullptr, TRUE, FALSE), "");
}

TEST_F(DocumentPathBufferTest, EveryThreadHasItsOwnBuffer)
{
    CopyDocPath(m_pDocument.get(), TRUE, FALSE);
    std::thread other([] { CopyDocPath(nullptr, TRUE, FALSE); });
    other.join();
    EXPECT_STREQ(GetDocPathBuffer(), "c:\\work\\report.txt");
}

} // namespace
