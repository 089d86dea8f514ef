#include "ui/CPIDLPopupCtrl.h"

#include "catalog/ShellItemIds.h"
#include "platform/base/DriveTable.h"
#include "platform/window/Input.h"
#include "store/CDocumentRec.h"
#include "tests/ui/PopupTestSupport.h"
#include "ui/CKadDragObjPIDL.h"
#include "ui/CKadDragObjReg.h"
#include "ui/MainWindowMessages.h"

#include <filesystem>

namespace {

// The shell item popup over drive C:, a temporary tree holding the files of
// the sample catalog's documents, as a drop target of catalog entries.
class ShellPopupDropTest : public PopupCatalogTest {
protected:
    void SetUp() override
    {
        PopupCatalogTest::SetUp();
        ReloadDriveTable("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n");
        ASSERT_TRUE(SetDriveOverride('C', m_drive.Path().string().c_str(), DRIVE_FIXED));
        m_drive.WriteFile("work/a.txt", "text of a");
        std::filesystem::create_directories(m_drive / "Dest");
        std::filesystem::create_directories(m_drive / "Locked");
        std::filesystem::permissions(m_drive / "Locked",
            std::filesystem::perms::owner_write | std::filesystem::perms::group_write
                | std::filesystem::perms::others_write,
            std::filesystem::perm_options::remove);
        ASSERT_EQ(m_popup.Create(&m_pUi->m_host), 1);
        LPITEMIDLIST pidl = nullptr;
        ASSERT_TRUE(SUCCEEDED(PathToPIDL("C:\\", &pidl, nullptr)));
        m_popup.GetPIDLList().FillFromPIDL(pidl, CPIDLPopupCtrl::MASK_ALL);
        CoTaskMemFree(pidl);
        const POINT pos { 100, 60 };
        m_popup.FitOnScreen(&pos, nullptr);
        m_popup.GetPIDLList().OpenForDrag(nullptr);
        m_pDocument = Document(*m_pCatalog, m_tree.aTxt);
        m_payload.SetSource(Node(*m_pCatalog, m_tree.alpha).release());
        m_payload.AddItem(m_pDocument.get(), 0);
    }
    void TearDown() override
    {
        delete m_payload.GetSource();
        if (m_popup.GetSafeHwnd())
            m_popup.DestroyWindow();
        std::filesystem::permissions(m_drive / "Locked", std::filesystem::perms::owner_all);
        ResetDriveTable();
        PopupCatalogTest::TearDown();
    }
    // Drags over the row of that text with the keys; what a drop would do.
    int DragOver(const char* pszRow, UINT nKeys)
    {
        CPIDLPopupCtrl& list = m_popup.GetPIDLList();
        const int nRow = list.FindStringExact(-1, pszRow);
        RECT row {};
        list.GetItemRect(nRow, &row);
        return list.OnDragOver(&m_payload, nKeys, row.left + 5, (row.top + row.bottom) / 2);
    }

    TempFolder m_drive;
    CPIDLPopupWnd m_popup;
    std::unique_ptr<CDocumentRec> m_pDocument;
    CKadDragObjReg m_payload;
};

TEST_F(ShellPopupDropTest, ControlCopiesIntoAFixedDrivesFolderAndPlainMoves)
{
    EXPECT_EQ(DragOver("Dest", 0), DROPEFFECT_MOVE);
    EXPECT_EQ(DragOver("Dest", MK_CONTROL), DROPEFFECT_COPY);
    CKadDragObjPIDL shellItems(nullptr, "*");
    EXPECT_EQ(m_popup.GetPIDLList().OnDragOver(&shellItems, 0, 5, 5), DROPEFFECT_NONE) << "catalog entries only";

    EXPECT_EQ(m_popup.GetPIDLList().EndDragMode(&m_payload, DROPEFFECT_COPY), 0);
    EXPECT_FALSE(IsWindow(m_popup.GetSafeHwnd()));
    EXPECT_TRUE(std::filesystem::exists(m_drive / "Dest/a.txt"));
    EXPECT_TRUE(std::filesystem::exists(m_drive / "work/a.txt")) << "a copy leaves the original";
    EXPECT_EQ(m_main.Count(MSG_REDO), 1);
}

TEST_F(ShellPopupDropTest, AFolderThatCannotBeWrittenSaysSoAndTakesNothing)
{
    DragOver("Locked", MK_CONTROL);
    Driver().AnswerNextMessageBox(IDOK);
    m_popup.GetPIDLList().EndDragMode(&m_payload, DROPEFFECT_COPY);
    EXPECT_FALSE(std::filesystem::exists(m_drive / "Locked/a.txt"));
    EXPECT_EQ(m_main.Count(MSG_REDO), 0);
}

} // namespace
