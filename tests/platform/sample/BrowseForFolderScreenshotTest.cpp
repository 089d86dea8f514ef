// The folder browser as the program shows it, inside a folder holding one
// folder, compared with a reference picture checked by eye.

#include "platform/shell/BrowseForFolder.h"

#include "platform/base/DriveTable.h"
#include "platform/base/TextFunctions.h"
#include "platform/shell/ShellFolder.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/Paint.h"
#include "tests/platform/sample/SampleSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(BrowseForFolderScreenshotTest, TheDialogLooksAsTheReference)
{
    TempFolder tree;
    std::filesystem::create_directories(tree / "pics/2024");
    ASSERT_TRUE(SetDriveOverride('P', tree.Path().c_str(), DRIVE_FIXED));
    IShellFolder* pDesktop = nullptr;
    SHGetDesktopFolder(&pDesktop);
    std::u16string wide = u"P:\\pics";
    LPITEMIDLIST pidlRoot = nullptr;
    ASSERT_EQ(pDesktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &pidlRoot, nullptr), S_OK);
    pDesktop->Release();

    CTestDriver driver;
    TempFolder pictures;
    std::optional<std::string> mismatch;
    driver.OnNextDialog([&](HWND hDlg) {
        driver.Pump(); // the dialog paints
        mismatch = PictureMismatch(CaptureWindowImage(hDlg), "browse_for_folder.png", pictures);
        EndDialog(hDlg, IDCANCEL);
    });
    BROWSEINFO info {};
    info.pidlRoot = pidlRoot;
    info.lpszTitle = "Choose the folder of the new extension's documents:";
    EXPECT_EQ(SHBrowseForFolder(&info), nullptr);
    EXPECT_FALSE(mismatch) << *mismatch;
    CoTaskMemFree(pidlRoot);
    ResetDriveTable();
}
