// The preference sheets as a user opens them from the running program's menu.

#include "dialogs/CDialogPrompts.h"
#include "resources/ResourceIds.h"
#include "tests/frame/AppTestFixture.h"

#include "platform/controls/PropertySheet.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

class ProgramPreferencesTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        WriteCatalog();
        m_prompts.emplace();
        AnswerNextDialog();
        ASSERT_TRUE(Start());
    }
    void TearDown() override
    {
        Stop();
        m_prompts.reset();
        AppTest::TearDown();
    }

    // The next dialog: the preference sheet shows its recent page, whose
    // rows are noted, and is cancelled; any other (the offer of new document
    // types at start) is declined.
    void AnswerNextDialog()
    {
        m_driver.OnNextDialog([this](HWND hDlg) {
            if (CTestDriver::Text(hDlg) == "Preferences") {
                ::SendMessage(hDlg, PSM_SETCURSELID, 0, IDD_PREF_RECENT);
                m_driver.Pump();
                HWND hPage = reinterpret_cast<HWND>(::SendMessage(hDlg, PSM_GETCURRENTPAGEHWND, 0, 0));
                m_rows = CTestDriver::Items(::GetDlgItem(hPage, IDC_RECENT_OPTIONS));
            }
            ::SendMessage(hDlg, WM_COMMAND, IDCANCEL, 0);
        });
    }

    std::optional<CDialogPrompts> m_prompts;
    std::vector<CString> m_rows;
};

} // namespace

TEST_F(ProgramPreferencesTest, TheRecentPageOffersOnlyOptionsThatDoSomething)
{
    AnswerNextDialog();
    AnswerNextDialog();
    Command(ID_TOOLS_PREFERENCES);
    EXPECT_EQ(m_rows, (std::vector<CString> { "Add newly catalogued documents to the list" }));
}
