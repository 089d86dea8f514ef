// A catalogued document shows the type the desktop names for its extension,
// once the program has started as it always does.

#include "tests/frame/AppTestFixture.h"

#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/FileTypeName.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class DocumentTypeNameTest : public AppTest {
protected:
    CString TypeOf(const char* pszPath)
    {
        std::unique_ptr<CDocumentRec> pDocument(App().GetMainCatalog()->FindPath(pszPath));
        CString strType;
        if (pDocument)
            pDocument->GetTypeName(strType);
        return strType;
    }
};

} // namespace

TEST_F(DocumentTypeNameTest, DocumentsShowTheirDesktopTypeAndUnknownOnesShowFile)
{
    WriteCatalog([](CCatalog& catalog, CNodeRec& root) {
        std::unique_ptr<CNodeRec> pSystem = AddSystem(root, "Papers");
        for (const char* pszPath : { "C:\\docs\\report.pdf", "C:\\docs\\photo.PNG", "C:\\docs\\data.zzqq" })
            AddDocument(catalog, *pSystem, pszPath);
    });
    ASSERT_TRUE(Start());
    const CString strPdf = TypeOf("C:\\docs\\report.pdf");
    EXPECT_FALSE(strPdf.IsEmpty());
    EXPECT_NE(strPdf, CString("File"));
    EXPECT_EQ(strPdf, FileTypeNameOfExtension("pdf"));
    EXPECT_EQ(TypeOf("C:\\docs\\photo.PNG"), FileTypeNameOfExtension(".png"));
    EXPECT_NE(TypeOf("C:\\docs\\photo.PNG"), CString("File"));
    EXPECT_EQ(TypeOf("C:\\docs\\data.zzqq"), CString("File"));
}
