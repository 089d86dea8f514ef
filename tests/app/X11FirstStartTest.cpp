// The first start on a real X server (an Xvfb of the test's own, without a
// window manager): the set-up wizard's modal loop is fed only by the server's
// events, which the test causes with the server's pointer and keyboard
// (XTEST). Each page, as the server shows it, matches the picture the
// headless wizard test keeps of it (tests/dialogs/setup/data); the test sets
// up what those pictures show (drive C: with two folders of text documents
// and a Netscape user's mailbox, a network drive N:, four document types).
// The road: the folder mode first, back from its last page, then the
// organisation mode to Finish; the main window then shows the groups. The
// wizard, modal over the main window, asks from its keywords page in a
// message box that the user answers with the server's pointer and keys.

#include "tests/app/X11ProgramFixture.h"

#include "resources/ResourceIds.h"
#include "store/CNodeRec.h"
#include "store/CRegistryKey.h"
#include "tests/ui/ClassesRootBuilder.h"

#include "platform/controls/ListViewControl.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

class X11FirstStartTest : public X11ProgramTest {
protected:
    void SetUp() override
    {
        X11ProgramTest::SetUp();
        SetFileType(".text", "textfile", "Text Document", false);
        // RTF, which the wizard always offers, under the name the pictures show.
        SetFileType(".rtf", "rtffile", "RTF document", false);
        WriteFile("C/docs/letters/a.txt");
        WriteFile("C/projects/b.txt");
        m_drive.WriteFile("C/mail/ana/Mail/Inbox", "From a@example.org Mon Jan  1 00:00:00 2001\n\nhello\n");
        CRegistryKey user;
        ASSERT_TRUE(user.Create(HKEY_LOCAL_MACHINE, "SOFTWARE\\Netscape\\Netscape Navigator\\Users\\ana"));
        ASSERT_TRUE(user.SetString("DirRoot", "C:\\mail\\ana"));
    }

    // The sheet matches the headless wizard test's picture of its page.
    void ExpectShows(HWND hSheet, const char* pszReference)
    {
        X11ProgramTest::ExpectShows(hSheet, "tests/dialogs/setup/data", pszReference);
    }

    // The walk through the pages; each step needs the one before.
    void Walk(HWND hSheet)
    {
        ASSERT_TRUE(m_driver.PumpUntil([&] { return IsShownByServer(hSheet); }));
        ExpectShows(hSheet, "setup_welcome.png");
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));

        ASSERT_TRUE(CheckLine(hSheet, IDC_DOC_TYPES, 1)); // Text Document, after RTF
        ExpectShows(hSheet, "setup_documents.png");
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));

        ASSERT_TRUE(Check(hSheet, IDC_SETUP_NETWORK));
        ExpectShows(hSheet, "setup_locations.png");
        ASSERT_TRUE(Check(hSheet, IDC_SETUP_NETWORK, FALSE));
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));

        ExpectShows(hSheet, "setup_mail.png");
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));

        ExpectShows(hSheet, "setup_mode.png");
        ASSERT_TRUE(Check(hSheet, IDC_SETUP_FOLDER_MODE));
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));

        ASSERT_NO_FATAL_FAILURE(CheckDocsFolder(hSheet));
        ExpectShows(hSheet, "setup_folders.png");
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));

        ExpectShows(hSheet, "setup_final.png");
        ASSERT_TRUE(Turn(hSheet, ID_WIZBACK));
        ASSERT_TRUE(Turn(hSheet, ID_WIZBACK));
        ASSERT_TRUE(Check(hSheet, IDC_SETUP_ORGANISATION_MODE));
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));

        // A name of the user's own typed into the list's new-entry row.
        ASSERT_TRUE(Check(hSheet, IDC_SETUP_USE_USAGE));
        ASSERT_TRUE(Check(hSheet, IDC_SETUP_USE_OWN_NAMES));
        HWND hNames = Control(hSheet, IDC_SETUP_OWN_NAMES);
        RECT rcRow { LVIR_LABEL, 0, 0, 0 };
        ASSERT_TRUE(::SendMessage(hNames, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rcRow)));
        ASSERT_TRUE(ClickAndWait(hNames, POINT { rcRow.left + 4, (rcRow.top + rcRow.bottom) / 2 },
            [hNames] { return ::SendMessage(hNames, LVM_GETEDITCONTROL, 0, 0) != 0; }));
        m_pInput->TypeText("Acme");
        m_pInput->TapKey(XK_Return);
        m_pInput->Sync();
        ASSERT_TRUE(m_driver.PumpUntil([hNames] { return ::SendMessage(hNames, LVM_GETITEMCOUNT, 0, 0) == 2; }));
        // The new-entry row stays selected until a click below the rows.
        RECT rcNames {};
        ::GetClientRect(hNames, &rcNames);
        ASSERT_TRUE(ClickAndWait(hNames, POINT { rcNames.right / 2, rcNames.bottom - 4 },
            [hNames] { return ::SendMessage(hNames, LVM_GETSELECTEDCOUNT, 0, 0) == 0; }));
        ASSERT_TRUE(CheckLine(hSheet, IDC_SETUP_USAGES, 0));
        ExpectShows(hSheet, "setup_usage.png");
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));

        ExpectShows(hSheet, "setup_organisation.png");
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));
        ExpectShows(hSheet, "setup_keywords.png");
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));
        ASSERT_TRUE(ClickControl(hSheet, ID_WIZFINISH, [hSheet] { return !::IsWindowVisible(hSheet); }));
    }

    // The organisation road from the welcome page to the keywords page: text
    // documents, the groups of the first usage.
    void WalkToKeywords(HWND hSheet)
    {
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));
        ASSERT_TRUE(CheckLine(hSheet, IDC_DOC_TYPES, 1)); // Text Document, after RTF
        // Then the locations and the mail pages, as they are.
        for (int nPage = 0; nPage < 3 && !Control(hSheet, IDC_SETUP_ORGANISATION_MODE); ++nPage)
            ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));
        ASSERT_TRUE(Check(hSheet, IDC_SETUP_ORGANISATION_MODE));
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));
        ASSERT_TRUE(Check(hSheet, IDC_SETUP_USE_USAGE));
        ASSERT_TRUE(CheckLine(hSheet, IDC_SETUP_USAGES, 0));
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));
    }
    // Answers the next message box from the server, once it shows there: act
    // clicks or types; the box must then go. Its text is kept in m_messages.
    void AnswerNextBoxOnTheServer(std::function<void(HWND hBox)> act)
    {
        m_driver.OnNextDialog([this, act = std::move(act)](HWND hBox) {
            m_messages.push_back(CTestDriver::Text(::GetDlgItem(hBox, MESSAGEBOX_TEXT_ID)));
            if (m_driver.PumpUntil([&] { return m_x11.Display().WindowOf(hBox) != 0; })) {
                m_x11.Display().Sync();
                act(hBox);
                m_pInput->Sync();
            }
            if (!m_driver.PumpUntil([hBox] { return !::IsWindowVisible(hBox); })) {
                ADD_FAILURE() << "the box still asks";
                ::EndDialog(hBox, IDCANCEL);
            }
        });
    }

    // Clicks the middle of a window with the server's pointer.
    void ClickOnTheServer(HWND hWnd)
    {
        RECT rc {};
        ::GetClientRect(hWnd, &rc);
        POINT pt { rc.right / 2, rc.bottom / 2 };
        ::ClientToScreen(hWnd, &pt);
        m_pInput->Click(pt);
    }

    // The _NET_WM_USER_TIME of a window as the server has it; 0 for none.
    long UserTimeOf(unsigned long nWindow) const
    {
        Display* pDisplay = m_pInput->Connection();
        Atom userTime = XInternAtom(pDisplay, "_NET_WM_USER_TIME", False);
        Atom type = None;
        int nFormat = 0;
        unsigned long nItems = 0;
        unsigned long nAfter = 0;
        unsigned char* pData = nullptr;
        long nTime = 0;
        if (XGetWindowProperty(
                pDisplay, nWindow, userTime, 0, 1, False, XA_CARDINAL, &type, &nFormat, &nItems, &nAfter, &pData)
                == Success
            && pData && nItems == 1 && nFormat == 32)
            nTime = *reinterpret_cast<long*>(pData);
        if (pData)
            XFree(pData);
        return nTime;
    }
};

} // namespace

TEST_F(X11FirstStartTest, TheWizardWalkedOnTheServerShowsItsPagesAndItsGroupsReachTheMainWindow)
{
    WalkTheWizard([this](HWND hSheet) { Walk(hSheet); });
    // After the wizard the program asks whether to go on with groups that
    // have no keywords or folders yet.
    AnswerMessage(IDYES);

    ASSERT_TRUE(Start());
    EXPECT_EQ(m_messages.size(), 1u);
    ASSERT_NE(ActiveView(), nullptr);
    HWND hMain = MainFrame()->GetSafeHwnd();
    EXPECT_TRUE(m_driver.PumpUntil([&] { return m_x11.Display().WindowOf(hMain) != 0 && ::IsWindowVisible(hMain); }));
    CString strOwn;
    strOwn.LoadString(IDS_OWN_NAMES_BRANCH);
    const std::string strUsage(UsageBranchName());
    const Names top = TreeTexts(nullptr);
    EXPECT_NE(std::find(top.begin(), top.end(), strUsage), top.end());
    EXPECT_NE(std::find(top.begin(), top.end(), std::string(strOwn)), top.end());

    std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
    ASSERT_NE(pRoot, nullptr);
    for (const auto& pBranch : pRoot->GetChildren()) {
        if (std::string(pBranch->GetName()) == strUsage) {
            EXPECT_EQ(
                Children(*pBranch), (Names { "Audits", "Clients", "Ledgers", "Payroll", "Reports", "Tax returns" }));
        }
    }
    EXPECT_EQ(Children(*pRoot).size(), 2u);
}

TEST_F(X11FirstStartTest, AnExtensionTypedUnderOtherArrivesFromItsFirstKey)
{
    std::vector<CString> extensions;
    m_driver.OnNextDialog([&](HWND hSheet) {
        ASSERT_TRUE(m_driver.PumpUntil([&] { return IsShownByServer(hSheet); }));
        ASSERT_TRUE(Turn(hSheet, ID_WIZNEXT));
        // The last line, "Other", chosen by its text; then Add..., and the
        // extension typed at once, without a click into the box.
        HWND hTypes = Control(hSheet, IDC_DOC_TYPES);
        const int nOther = static_cast<int>(::SendMessage(hTypes, LB_GETCOUNT, 0, 0)) - 1;
        RECT rcOther {};
        ::SendMessage(hTypes, LB_GETITEMRECT, nOther, reinterpret_cast<LPARAM>(&rcOther));
        HWND hAdd = Control(hSheet, IDC_DOC_ADD_EXTENSION);
        ASSERT_TRUE(ClickAndWait(hTypes, POINT { rcOther.right - 10, (rcOther.top + rcOther.bottom) / 2 },
            [hAdd] { return ::IsWindowVisible(hAdd) != FALSE; }));
        HWND hExtensions = Control(hSheet, IDC_DOC_EXTENSIONS);
        bool bAsked = false;
        m_driver.OnNextDialog([&](HWND hAsk) {
            bAsked = true;
            // It tells the window manager that it answers the click, so that it takes the keyboard.
            EXPECT_NE(UserTimeOf(m_x11.Display().WindowOf(hAsk)), 0);
            m_pInput->TypeText("xyz");
            m_pInput->TapKey(XK_Return);
            m_pInput->Sync();
            if (!m_driver.PumpUntil([hAsk] { return !::IsWindowVisible(hAsk); })) {
                ADD_FAILURE() << "the extension dialog still asks, its box holding \""
                              << CTestDriver::Text(CTestDriver::FindChild(hAsk, IDC_EXTENSION)) << "\"";
                ::EndDialog(hAsk, IDCANCEL);
            }
        });
        ASSERT_TRUE(ClickControl(hSheet, IDC_DOC_ADD_EXTENSION, [&bAsked] { return bAsked; }));
        extensions = CTestDriver::Items(hExtensions);
        ::EndDialog(hSheet, IDCANCEL);
    });
    EXPECT_FALSE(Start());
    EXPECT_EQ(extensions, std::vector<CString> { CString(".xyz") });
}

TEST_F(X11FirstStartTest, AQuestionFromAWizardPageTakesTheClicksAndKeysOverTheWizard)
{
    HWND hOwner = nullptr;
    BOOL bOwnerEnabled = TRUE;
    HWND hStayed = nullptr;
    HWND hFinal = nullptr;
    m_driver.OnNextDialog([&](HWND hSheet) {
        ASSERT_TRUE(m_driver.PumpUntil([&] { return m_x11.Display().WindowOf(hSheet) != 0; }));
        hOwner = ::GetWindow(hSheet, GW_OWNER);
        bOwnerEnabled = hOwner && ::IsWindowEnabled(hOwner);
        WalkToKeywords(hSheet);
        HWND hKeywords = CurrentPage(hSheet);
        // No group has keywords or folders: the page asks whether to go on.
        // A click on No, then Enter (No is the default), keep the page.
        AnswerNextBoxOnTheServer([this](HWND hBox) { ClickOnTheServer(::GetDlgItem(hBox, IDNO)); });
        ASSERT_TRUE(ClickControl(hSheet, ID_WIZNEXT, [this] { return m_messages.size() == 1; }));
        EXPECT_EQ(CurrentPage(hSheet), hKeywords);
        // The desktop gives the keyboard to the main window first, as its taskbar may.
        AnswerNextBoxOnTheServer([this, hOwner](HWND) {
            XSetInputFocus(m_pInput->Connection(), m_x11.Display().WindowOf(hOwner), RevertToParent, CurrentTime);
            m_pInput->Sync();
            m_driver.Pump();
            m_pInput->TapKey(XK_Return);
        });
        ASSERT_TRUE(ClickControl(hSheet, ID_WIZNEXT, [this] { return m_messages.size() == 2; }));
        hStayed = CurrentPage(hSheet) == hKeywords ? hKeywords : nullptr;
        // Yes goes on to the last page.
        AnswerNextBoxOnTheServer([this](HWND hBox) { ClickOnTheServer(::GetDlgItem(hBox, IDYES)); });
        ASSERT_TRUE(ClickControl(hSheet, ID_WIZNEXT, [this] { return m_messages.size() == 3; }));
        hFinal = CurrentPage(hSheet) != hKeywords ? CurrentPage(hSheet) : nullptr;
        ::EndDialog(hSheet, IDCANCEL);
    });
    EXPECT_FALSE(Start());
    // The wizard is modal over the main window.
    ASSERT_NE(hOwner, nullptr);
    EXPECT_FALSE(bOwnerEnabled);
    EXPECT_EQ(m_messages.size(), 3u);
    EXPECT_NE(hStayed, nullptr) << "Enter on the box answered No";
    EXPECT_NE(hFinal, nullptr) << "a click on Yes went on";
}
