#pragma once

// The program's first start on a real X server (an Xvfb of the test's own,
// without a window manager): its modal loops are fed only by the server's
// events, which the test causes with the server's pointer and keyboard
// (XTEST), and what the server shows is compared with reference pictures.
// A picture that differs is kept, with its path in the failure; a reference
// is made again by copying that picture over it, once looked at by eye.

#include "tests/app/FirstStartFixture.h"

#include "resources/ResourceIds.h"
#include "tests/support/ReferencePictures.h"
#include "tests/support/TestData.h"

#include "platform/base/DriveTable.h"
#include "platform/controls/PropertySheet.h"
#include "platform/testing/TestX11Session.h"
#include "platform/testing/XTestInput.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class X11ProgramTest : public FirstStartTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_x11.IsOpen()) << m_x11.Failure();
        m_pInput = std::make_unique<CXTestInput>(m_x11.Name());
        ASSERT_TRUE(m_pInput->IsOpen());
        FirstStartTest::SetUp();
        // Drive C: is the folder "C" of the test's tree, so that the paths a
        // picture shows are the same in every run; N: a network drive, also
        // the place of the pictures compared.
        ASSERT_TRUE(SetDriveOverride('C', (m_drive.Path() / "C").c_str(), DRIVE_FIXED));
        ASSERT_TRUE(SetDriveOverride('N', m_network.Path().c_str(), DRIVE_REMOTE));
    }
    void TearDown() override
    {
        FirstStartTest::TearDown();
        m_pInput.reset();
    }

    /* Dialogs and wizards, seen and driven from the server. */

    // Whether the server shows the window (mapped, and its parents too), so
    // that the pointer can reach it.
    bool IsShownByServer(HWND hWnd) const
    {
        const unsigned long nWindow = m_x11.Display().WindowOf(hWnd);
        m_x11.Display().Sync();
        XWindowAttributes attributes {};
        return nWindow != 0 && XGetWindowAttributes(m_pInput->Connection(), nWindow, &attributes)
            && attributes.map_state == IsViewable;
    }

    static HWND CurrentPage(HWND hSheet)
    {
        return reinterpret_cast<HWND>(::SendMessage(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    }
    // A control of the current page, else of the sheet or dialog (its buttons).
    static HWND Control(HWND hSheet, int nId)
    {
        HWND hControl = CTestDriver::FindChild(CurrentPage(hSheet), nId);
        return hControl ? hControl : CTestDriver::FindChild(hSheet, nId);
    }
    // Clicks the server's pointer at a point of a window's client area and
    // pumps until the program has done what the click asks (condition).
    bool ClickAndWait(HWND hWnd, POINT ptClient, const std::function<bool()>& condition, unsigned int nButton = 1)
    {
        if (!hWnd || !::ClientToScreen(hWnd, &ptClient))
            return false;
        m_pInput->Click(ptClient, nButton);
        m_pInput->Sync();
        return m_driver.PumpUntil(condition) != FALSE;
    }
    bool ClickControl(HWND hSheet, int nId, const std::function<bool()>& condition)
    {
        HWND hControl = Control(hSheet, nId);
        RECT rc {};
        ::GetClientRect(hControl, &rc);
        return ClickAndWait(hControl, POINT { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 }, condition);
    }
    // Clicks a check box or radio button unless it shows the state already.
    bool Check(HWND hSheet, int nId, BOOL bChecked = TRUE)
    {
        HWND hButton = Control(hSheet, nId);
        if (!hButton || CTestDriver::IsChecked(hButton) == bChecked)
            return hButton != nullptr;
        return ClickControl(hSheet, nId, [hButton, bChecked] { return CTestDriver::IsChecked(hButton) == bChecked; });
    }
    bool CheckLine(HWND hSheet, int nId, int nLine)
    {
        HWND hList = Control(hSheet, nId);
        POINT pt {};
        return m_driver.CheckListBoxPoint(hList, nLine, &pt)
            && ClickAndWait(hList, pt, [hList, nLine] { return CTestDriver::CheckListStates(hList).at(nLine) == 1; });
    }
    // Next or Back: true once another page shows.
    bool Turn(HWND hSheet, int nButton)
    {
        HWND hPage = CurrentPage(hSheet);
        return ClickControl(hSheet, nButton, [hSheet, hPage] { return CurrentPage(hSheet) != hPage; });
    }

    // On the folder page, a click on the check box of the drive's folder "docs".
    void CheckDocsFolder(HWND hSheet)
    {
        HWND hTree = Control(hSheet, IDC_SETUP_FOLDER_TREE);
        const std::vector<CString> drives = CTestDriver::TreeChildren(hTree, nullptr);
        ASSERT_EQ(drives.size(), 1u);
        const HTREEITEM hDocs = CTestDriver::TreeItem(hTree, { drives[0], "docs" });
        ASSERT_NE(hDocs, nullptr);
        const UINT nUnchecked = CTestDriver::TreeStateImage(hTree, hDocs);
        POINT pt {};
        ASSERT_TRUE(m_driver.TreeStateIconPoint(hTree, hDocs, &pt));
        ASSERT_TRUE(ClickAndWait(hTree, pt, [&] { return CTestDriver::TreeStateImage(hTree, hDocs) != nUnchecked; }));
    }
    // The next start's wizard is answered by walk; a walk that stopped
    // leaves no wizard waiting for a user.
    void WalkTheWizard(std::function<void(HWND hSheet)> walk)
    {
        m_driver.OnNextDialog([walk = std::move(walk)](HWND hSheet) {
            walk(hSheet);
            if (::IsWindowVisible(hSheet))
                ::EndDialog(hSheet, IDCANCEL);
        });
    }

    // The window as the server shows it matches the reference picture (of
    // the source tree's folder pszFolder), once the program's last paint has
    // reached the server. The reference is read from drive N:, which the
    // program's paths reach.
    void ExpectShows(HWND hWnd, const char* pszFolder, const char* pszReference)
    {
        const std::filesystem::path reference = m_network.Path() / "references" / pszReference;
        std::filesystem::create_directories(reference.parent_path());
        std::filesystem::copy_file(
            SourceRoot() / pszFolder / pszReference, reference, std::filesystem::copy_options::overwrite_existing);
        const unsigned long nWindow = m_x11.Display().WindowOf(hWnd);
        ASSERT_NE(nWindow, 0u);
        auto capture = [&] {
            m_x11.Display().Sync();
            m_driver.Pump();
            return m_pInput->CaptureWindow(nWindow);
        };
        if (auto mismatch = SettledPictureMismatch(m_driver, capture, reference, m_network))
            ADD_FAILURE() << *mismatch;
    }

    CTestX11Session m_x11;
    std::unique_ptr<CXTestInput> m_pInput;
};
