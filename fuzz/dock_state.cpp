// Links: platform_framework
// Takes arbitrary bytes as the current user's registry file, loads a frame's
// dock state from it and applies it to a frame with three bars. Whatever
// loads, each bar must end on one dock side, in one floating frame, or where
// it sat in the frame.

#include "fuzz/FontSystemLeaks.h"
#include "platform/base/PathMap.h"
#include "platform/base/RegistryFormat.h"
#include "platform/framework/CControlBar.h"
#include "platform/framework/CDockBar.h"
#include "platform/framework/CDockState.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CMiniDockFrameWnd.h"
#include "platform/framework/CWinApp.h"
#include "tests/support/ScratchFolder.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace {

// A bar of a fixed size, with no resources.
class CFuzzBar : public CControlBar {
public:
    BOOL CreateBar(CWnd* pParent, DWORD dwStyle, UINT nID)
    {
        m_dwStyle = dwStyle & CBRS_ALL;
        return CWnd::Create(
            AfxRegisterWndClass(0), nullptr, (dwStyle & ~CBRS_ALL) | WS_CHILD | WS_VISIBLE, RECT {}, pParent, nID);
    }
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override
    {
        if (!bStretch)
            return CSize(60, 20);
        return bHorz ? CSize(32767, 20) : CSize(60, 32767);
    }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override { }
};

struct CFuzzFrame {
    ScratchFolder folder { "dock-state-fuzz-" };
    CWinApp* pApp { nullptr };
    CFrameWnd* pFrame { nullptr };
    CFuzzBar bars[3];
};

CFuzzFrame& Frame()
{
    static CFuzzFrame* pFuzz = [] {
        auto* p = new CFuzzFrame;
        if (!p->folder.IsValid() || setenv("ARCHIVORA_HOME", p->folder.Path().c_str(), 1) != 0)
            std::abort();
        p->pApp = new CWinApp("Fuzz");
        p->pApp->SetRegistryKey("KD");
        p->pFrame = new CFrameWnd;
        if (!p->pFrame->Create(nullptr, "Fuzz", WS_OVERLAPPEDWINDOW | WS_VISIBLE, RECT { 0, 0, 400, 300 }))
            std::abort();
        p->pFrame->EnableDocking(CBRS_ALIGN_ANY);
        if (!p->bars[0].CreateBar(p->pFrame, CBRS_TOP, AFX_IDW_TOOLBAR)
            || !p->bars[1].CreateBar(p->pFrame, CBRS_BOTTOM, AFX_IDW_STATUS_BAR)
            || !p->bars[2].CreateBar(p->pFrame, CBRS_LEFT, 264))
            std::abort();
        p->bars[0].EnableDocking(CBRS_ALIGN_ANY);
        p->pFrame->DockControlBar(&p->bars[0]);
        p->bars[2].EnableDocking(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT);
        p->pFrame->FloatControlBar(&p->bars[2], CPoint(100, 100));
        return p;
    }();
    return *pFuzz;
}

// Each bar is in exactly one place, and that place holds it.
void CheckPlaces(CFuzzFrame& fuzz)
{
    for (CFuzzBar& bar : fuzz.bars) {
        if (CMiniDockFrameWnd* pMini = CMiniDockFrameWnd::FromBar(&bar)) {
            if (pMini->GetBar() != &bar || !bar.IsFloating())
                std::abort();
        } else if (CDockBar* pSide = bar.m_pDockBar) {
            int nRow = 0;
            int nOffset = 0;
            if (!pSide->GetBarPlace(&bar, &nRow, &nOffset) || bar.GetParent() != pSide || bar.IsFloating())
                std::abort();
        } else if (bar.GetParent() != fuzz.pFrame) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    CFuzzFrame& fuzz = Frame();
    const std::string_view text(reinterpret_cast<const char*>(pData), nSize);
    CRegistryNode root;
    std::string strError;
    if (!ParseRegistryText(text, root, strError))
        return 0; // a settings file that does not parse is set aside whole, before any value is read
    const std::filesystem::path settings = fuzz.folder.Path() / "settings";
    std::filesystem::create_directories(settings);
    {
        std::ofstream out(settings / "CurrentUser.reg.new", std::ios::binary | std::ios::trunc);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    std::filesystem::rename(settings / "CurrentUser.reg.new", settings / "CurrentUser.reg");
    CDockState state;
    (void)state.LoadState("ToolBar"); // an empty state is as good a test as any
    if (state.m_arrBarInfo.size() > CDockState::MAX_BARS)
        std::abort();
    fuzz.pFrame->SetDockState(state);
    CheckPlaces(fuzz);
    return 0;
}
