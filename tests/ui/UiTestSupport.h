#pragma once

// What the interface kit's tests share: a top-level host window that records
// the commands and notifications its controls send it, the kit's test
// pictures compiled into a module, and reading pixels off a window.

#include "platform/controls/ListViewControl.h"
#include "platform/framework/CWnd.h"
#include "platform/framework/MessageMap.h"
#include "platform/gdi/Pictures.h"
#include "platform/testing/TestDriver.h"
#include "tests/platform/window/WindowTestSupport.h"
#include "tests/support/ReferencePictures.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"
#include "tests/ui/ProgramModule.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// What an end-of-edit or other list notification carried, copied while it was sent.
struct CRecordedNotify {
    UINT nCode;
    UINT_PTR idFrom;
    HWND hwndFrom;
    int nItem; // NMLISTVIEW / NMLVDISPINFO item, -1 for other notifications
    int nSubItem;
    UINT nMask;
    bool bHasText; // pszText was not null
    std::string strText;
    LPARAM lParam;
};

// A top-level window at the screen's corner that records the WM_COMMAND
// messages (control ID, sender) it receives and the WM_NOTIFY notifications
// it sees: those its controls do not take themselves when they are reflected.
class CTestHostWnd : public CWnd {
public:
    BOOL CreateHost(int cx, int cy)
    {
        return CreateEx(
            0, AfxRegisterWndClass(CS_DBLCLKS), "Host", WS_POPUP | WS_VISIBLE, 0, 0, cx, cy, nullptr, nullptr);
    }

    std::vector<std::pair<UINT, HWND>> m_commands;
    std::vector<CRecordedNotify> m_notifies;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        m_commands.emplace_back(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
        return CWnd::OnCommand(wParam, lParam);
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        CWnd* pChild = pHeader->hwndFrom ? CWnd::FromHandlePermanent(pHeader->hwndFrom) : nullptr;
        if (pChild && pChild->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult))
            return TRUE;
        CRecordedNotify notify { pHeader->code, pHeader->idFrom, pHeader->hwndFrom, -1, -1, 0, false, {}, 0 };
        if (pHeader->code == LVN_ENDLABELEDIT || pHeader->code == LVN_BEGINLABELEDIT) {
            const auto* pInfo = reinterpret_cast<const NMLVDISPINFO*>(lParam);
            notify.nItem = pInfo->item.iItem;
            notify.nSubItem = pInfo->item.iSubItem;
            notify.nMask = pInfo->item.mask;
            notify.bHasText = pInfo->item.pszText != nullptr;
            if (pInfo->item.pszText)
                notify.strText = pInfo->item.pszText;
            notify.lParam = pInfo->item.lParam;
        }
        m_notifies.push_back(notify);
        return FALSE;
    }
};

// The pieces every kit test works with: the program's resource module
// current, a test driver (and so the manual clock) and a host window.
class CUiHarness {
public:
    CUiHarness() { EXPECT_TRUE(m_host.CreateHost(400, 300)); }
    ~CUiHarness()
    {
        if (m_host.GetSafeHwnd())
            m_host.DestroyWindow();
        if (m_hPictures)
            FreeLibrary(m_hPictures);
    }
    CUiHarness(const CUiHarness&) = delete;
    CUiHarness& operator=(const CUiHarness&) = delete;

    // The kit's test pictures (tests/ui/data/ui_test.rc) as a module of their own.
    HMODULE TestPictures()
    {
        if (!m_hPictures)
            m_hPictures = LoadScriptModule(SourceRoot() / "tests/ui/data/ui_test.rc", m_pictureFolder);
        return m_hPictures;
    }

    // Compares a window's picture with the reference tests/ui/data/<pszReference>.
    void ExpectWindowMatches(HWND hWnd, const char* pszReference)
    {
        const std::filesystem::path shot = m_pictureFolder / "shot.png";
        ASSERT_TRUE(CTestDriver::Screenshot(hWnd, ProgramPathFromHostPath(shot.string()).c_str()));
        HBITMAP hbm = LoadPictureFile(ProgramPathFromHostPath(shot.string()).c_str());
        ASSERT_NE(hbm, nullptr);
        if (auto mismatch = PictureMismatch(hbm, SourceRoot() / "tests/ui/data" / pszReference, m_pictureFolder))
            ADD_FAILURE() << *mismatch;
    }

    // A client-area pixel of a window, as painted last.
    static COLORREF Pixel(HWND hWnd, int x, int y)
    {
        HDC hdc = GetDC(hWnd);
        COLORREF cr = GetPixel(hdc, x, y);
        ReleaseDC(hWnd, hdc);
        return cr;
    }

    ProgramModule m_module;
    CTestDriver m_driver;
    CTestHostWnd m_host;

private:
    TempFolder m_pictureFolder;
    HMODULE m_hPictures { nullptr };
};

// A kit test in a program folder of its own.
class UiTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        m_pUi = std::make_unique<CUiHarness>();
    }
    void TearDown() override
    {
        m_pUi.reset();
        ProgramFolderTest::TearDown();
    }

    CTestDriver& Driver() { return m_pUi->m_driver; }
    CTestHostWnd& Host() { return m_pUi->m_host; }

    std::unique_ptr<CUiHarness> m_pUi;
};
