#include "dialogs/documents/CDlgOpenWith.h"

#include "resources/ResourceIds.h"
#include "store/CDocumentRec.h"
#include "tests/dialogs/DialogTestSupport.h"

#include "platform/base/PathMap.h"
#include "platform/framework/AfxMessages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class CDlgOpenWithTest : public DocumentDialogTest { };

} // namespace

TEST_F(CDlgOpenWithTest, OkWaitsForAProgramAndCancelChoosesNone)
{
    std::filesystem::create_directories(Home() / "docs");
    std::ofstream(Home() / "docs" / "plan.txt") << "the plan";
    std::unique_ptr<CCatalog> pCatalog = NewMainCatalog();
    std::unique_ptr<CNodeRec> pRoot = Root(*pCatalog);
    std::unique_ptr<CNodeRec> pGroup = AddNode(*pRoot, "Projects");
    std::unique_ptr<CDocumentRec> pDocument = AddDocument(
        *pCatalog, pGroup.get(), ProgramPathFromHostPath((Home() / "docs" / "plan.txt").string()).c_str());
    CDlgOpenWith dlg(pDocument.get());
    BOOL bEnabled = TRUE;
    CString strPath;
    CDialogScript script;
    script
        .Then([&](HWND hDlg) {
            ::SendMessage(hDlg, WM_KICKIDLE, 0, 0);
            bEnabled = CTestDriver::IsEnabled(::GetDlgItem(hDlg, IDOK));
            strPath = CTestDriver::Text(::GetDlgItem(hDlg, IDC_DOCUMENT_PATH));
        })
        .Press(IDCANCEL);
    Answer(script);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(bEnabled) << "no program selected";
    EXPECT_NE(strPath.Find("plan.txt"), -1);
    EXPECT_TRUE(dlg.GetProgramPath().IsEmpty());
}
