// The default-system page in a preference sheet over a main catalog: the
// system copied in is shown, one picked in the systems popup replaces it at
// once, and a catalog without systems leaves the button disabled.

#include "dialogs/preferences/CPrefDefaultSystemPropPage.h"

#include "platform/base/TextFunctions.h"
#include "store/CCatalog.h"
#include "store/CNodeInfoRec.h"
#include "tests/dialogs/preferences/FolderPageTest.h"
#include "tests/ui/RecordingUiHost.h"
#include "ui/CNodePathCtrl.h"

#include <memory>

namespace {

class PrefDefaultSystemPropPageTest : public FolderPageTest {
protected:
    void SetUp() override
    {
        FolderPageTest::SetUp();
        m_pCatalog = std::make_unique<CCatalog>("C:\\archiv.cat", 1);
        m_host.m_pMainCatalog = m_pCatalog.get();
        m_data.pSystem.reset(CNodeRec::NewTopNodeRec3(m_pCatalog.get()));
    }
    void TearDown() override
    {
        m_data.pSystem.reset();
        m_host.m_pMainCatalog = nullptr;
        m_pCatalog.reset();
        FolderPageTest::TearDown();
    }

    std::unique_ptr<CNodeRec> AddSystem(CNodeRec& parent, const char* pszName)
    {
        CNodeInfo info;
        MakeDefaultNames(&info);
        Utf8CopyToField(info.szName, sizeof(info.szName), pszName, FieldEnd::NulTerminated);
        info.nKind = 2;
        return std::unique_ptr<CNodeRec>(parent.FindOrAddChild(info));
    }
    int Run(const std::function<void(HWND hSheet, HWND hPage)>& step)
    {
        CPrefDefaultSystemPropPage page(m_data);
        return RunPage(page, [&](HWND hSheet, HWND hPage) {
            m_bChooseEnabled = Enabled(hPage, IDC_DEFAULT_SYSTEM_CHOOSE);
            m_strShownBefore = Shown(hPage);
            step(hSheet, hPage);
        });
    }
    // The name of the system the path control shows; empty for none.
    static std::string Shown(HWND hPage)
    {
        auto* pPath
            = dynamic_cast<CNodePathCtrl*>(CWnd::FromHandlePermanent(::GetDlgItem(hPage, IDC_DEFAULT_SYSTEM_PATH)));
        return pPath && pPath->GetNode() ? std::string(pPath->GetNode()->GetName()) : std::string();
    }

    CRecordingUiHost m_host;
    std::unique_ptr<CCatalog> m_pCatalog;
    CPrefDefaultSystemPageData m_data;
    BOOL m_bChooseEnabled { FALSE };
    std::string m_strShownBefore;
};

TEST_F(PrefDefaultSystemPropPageTest, ASystemPickedInThePopupReplacesTheOneShown)
{
    const std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(m_pCatalog.get()));
    const std::unique_ptr<CNodeRec> pProjects = AddSystem(*pRoot, "Projects");
    ASSERT_TRUE(AddSystem(*pProjects, "Alpha"));
    ASSERT_TRUE(AddSystem(*pRoot, "Archive"));
    const std::string strFirst(m_data.pSystem->GetName());
    std::string strShownAfter;
    EXPECT_EQ(Run([&](HWND, HWND hPage) {
        Pick(hPage, IDC_DEFAULT_SYSTEM_CHOOSE, { "Projects", "Alpha" });
        strShownAfter = Shown(hPage);
        ClickButton(hPage, IDC_MONITOR_AUTOSTART);
    }),
        IDOK);
    EXPECT_TRUE(m_bChooseEnabled);
    EXPECT_EQ(m_strShownBefore, strFirst);
    EXPECT_EQ(strShownAfter, "Alpha");
    ASSERT_NE(m_data.pSystem, nullptr);
    EXPECT_EQ(std::string(m_data.pSystem->GetName()), "Alpha");
    EXPECT_TRUE(m_data.bDSAutoIniciar);
}

TEST_F(PrefDefaultSystemPropPageTest, WithoutSystemsTheButtonIsDisabledAndTheSystemKept)
{
    const CRecordRef first = m_data.pSystem->GetRef();
    m_data.bDSAutoIniciar = TRUE;
    EXPECT_EQ(Run([&](HWND, HWND hPage) { ClickButton(hPage, IDC_DEFAULT_SYSTEM_CHOOSE); }), IDOK);
    EXPECT_FALSE(m_bChooseEnabled);
    ASSERT_NE(m_data.pSystem, nullptr);
    EXPECT_EQ(m_data.pSystem->GetRef(), first);
    EXPECT_TRUE(m_data.bDSAutoIniciar);
}

} // namespace
