#pragma once

// The first start of the program on an empty program folder, with the
// program's own prompts installed as its entry installs them: drive C: is a
// tree of the test's own (m_drive) and the only drive, two creatable document
// types (Text Document, Writer Document), and the steps that answer the set-up
// wizard's pages and what the main window asks afterwards.

#include "dialogs/CDialogPrompts.h"
#include "dialogs/groups/CGroupFolderListCtrl.h"
#include "frame/CSisTreeView.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "tests/dialogs/PopupChainPick.h"
#include "tests/frame/AppTestFixture.h"
#include "tests/support/ScopedVariable.h"
#include "tests/support/TestData.h"
#include "tests/ui/ClassesRootBuilder.h"

#include "platform/base/DriveTable.h"
#include "platform/controls/PropertySheet.h"
#include "platform/framework/CTreeCtrl.h"
#include "platform/testing/DialogScript.h"
#include "platform/window/MessageBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class FirstStartTest : public AppTest {
protected:
    using Names = std::vector<std::string>;

    void SetUp() override
    {
        AppTest::SetUp();
        // Drive C: is a tree of this test's own, and the only drive.
        ReloadDriveTable("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n");
        ASSERT_TRUE(SetDriveOverride('C', m_drive.Path().c_str(), DRIVE_FIXED));
        SetFileType(".txt", "txtfile", "Text Document", true);
        SetFileType(".odt", "odtfile", "Writer Document", true);
        m_prompts.emplace();
    }
    void TearDown() override
    {
        Stop();
        m_prompts.reset();
        EXPECT_TRUE(m_driver.ScriptErrors().empty()) << m_driver.ScriptErrors().front();
        ResetDriveTable();
        AppTest::TearDown();
    }

    void WriteFile(const std::string& strRelative)
    {
        std::filesystem::create_directories((m_drive.Path() / strRelative).parent_path());
        std::ofstream(m_drive.Path() / strRelative) << "text";
    }
    void AnswerMessage(int nAnswer)
    {
        m_driver.OnNextDialog([this, nAnswer](HWND hBox) {
            m_messages.push_back(CTestDriver::Text(::GetDlgItem(hBox, MESSAGEBOX_TEXT_ID)));
            ::EndDialog(hBox, nAnswer);
        });
    }
    // The folder-mode page: the first folder of the first drive ticked.
    void TickFirstFolder(CDialogScript& script)
    {
        script.Then([this](HWND hDlg) {
            HWND hTree = CTestDriver::FindChild(hDlg, IDC_SETUP_FOLDER_TREE);
            const HTREEITEM hDrive = reinterpret_cast<HTREEITEM>(::SendMessage(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
            const HTREEITEM hDocs = reinterpret_cast<HTREEITEM>(
                ::SendMessage(hTree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(hDrive)));
            ASSERT_NE(hDocs, nullptr);
            EXPECT_TRUE(m_driver.ClickTreeStateIcon(hTree, hDocs));
        });
    }
    // The wizard's first pages: the types it offers kept in m_offeredTypes,
    // Text Document checked, then the mode page.
    CDialogScript& ChooseTextDocuments(CDialogScript& script)
    {
        return script.Press(ID_WIZNEXT)
            .Then([this](HWND hDlg) {
                HWND hTypes = CTestDriver::FindChild(hDlg, IDC_DOC_TYPES);
                m_offeredTypes = CTestDriver::Items(hTypes);
                const auto it = std::find(m_offeredTypes.begin(), m_offeredTypes.end(), CString("Text Document"));
                ASSERT_NE(it, m_offeredTypes.end());
                EXPECT_TRUE(m_driver.ClickCheckListBox(hTypes, static_cast<int>(it - m_offeredTypes.begin())));
            })
            .Press(ID_WIZNEXT);
    }
    // The usage page: the "Student" usage chosen.
    void ChooseStudentUsage(CDialogScript& script)
    {
        script.Check(IDC_SETUP_USE_USAGE).Then([this](HWND hDlg) {
            HWND hUsages = CTestDriver::FindChild(hDlg, IDC_SETUP_USAGES);
            const std::vector<CString> usages = CTestDriver::Items(hUsages);
            for (std::size_t i = 0; i < usages.size(); ++i) {
                if (usages[i] == CString("Student"))
                    m_driver.ClickCheckListBox(hUsages, static_cast<int>(i));
            }
        });
    }
    // Text documents and the student usage's groups, as offered, to Finish;
    // yes to going on with groups that have no keywords yet.
    void AnswerTheWizardAsAStudent()
    {
        CDialogScript script;
        ChooseTextDocuments(script).Press(ID_WIZNEXT);
        ChooseStudentUsage(script);
        script.Press(ID_WIZNEXT).Press(ID_WIZNEXT).Press(ID_WIZNEXT).Press(ID_WIZFINISH);
        m_driver.AnswerNextDialog(std::move(script));
        AnswerMessage(IDYES);
    }
    // The locations page: network locations too, drive N: (mapped first) listed.
    CDialogScript& ChooseNetworkLocation(CDialogScript& script)
    {
        return script.Check(IDC_SETUP_NETWORK).Then([this](HWND hDlg) {
            // A drive shows its folder's name.
            const std::string strDrive = m_network.Path().filename().string() + " (n:)";
            PickInPopupChain(m_driver, CTestDriver::FindChild(hDlg, IDC_SETUP_ADD), { strDrive });
        });
    }
    // The organisation road on from the type page, which keeps organisation
    // mode: the "Student" usage, its tree as offered, a keyword and a folder
    // for "Applications" (the group the keywords page shows first), Finish.
    void AnswerStudentOrganisation(CDialogScript& script, LPCTSTR pszKeyword, LPCTSTR pszFolder)
    {
        script.Press(ID_WIZNEXT);
        ChooseStudentUsage(script);
        FinishFromUsagePage(
            script, [pszKeyword, pszFolder](HWND hDlg) { GiveKeywordAndFolder(hDlg, pszKeyword, pszFolder); });
    }
    // From the usage page on: the tree as offered, keywordsStep on the
    // keywords page, Finish; the script then answers the wizard.
    void FinishFromUsagePage(CDialogScript& script, std::function<void(HWND)> keywordsStep)
    {
        script.Press(ID_WIZNEXT).Press(ID_WIZNEXT).Then(std::move(keywordsStep));
        script.Press(ID_WIZNEXT).Press(ID_WIZFINISH);
        m_driver.AnswerNextDialog(std::move(script));
    }
    // The keywords page: a keyword and a folder given to the group it shows.
    static void GiveKeywordAndFolder(HWND hDlg, LPCTSTR pszKeyword, LPCTSTR pszFolder)
    {
        HWND hKeywords = CTestDriver::FindChild(hDlg, IDC_GROUP_KEYWORD_LIST);
        ASSERT_NE(hKeywords, nullptr);
        LVITEM item {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(::SendMessage(hKeywords, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = const_cast<LPTSTR>(pszKeyword);
        ::SendMessage(hKeywords, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
        // The Add button's folder popup hands its choice to the list.
        auto* pFolders = dynamic_cast<CGroupFolderListCtrl*>(
            CWnd::FromHandlePermanent(CTestDriver::FindChild(hDlg, IDC_GROUP_FOLDER_LIST)));
        ASSERT_NE(pFolders, nullptr);
        pFolders->AddFolder(pszFolder);
    }

    // The places ChooseNetworkLocation gives: the local drives and N:.
    void ExpectBothPlaces()
    {
        CCatalog& catalog = *App().GetMainCatalog();
        EXPECT_EQ(catalog.GetPlaceChoice(), CCatalog::PLACE_BOTH);
        CStringArray places;
        catalog.GetNetworkLocations(places, nullptr);
        ASSERT_EQ(places.GetSize(), 1);
        EXPECT_EQ(std::string(places[0]), "n:\\");
    }
    bool IsCatalogued(const char* pszPath)
    {
        return std::unique_ptr<CDocumentRec>(App().GetMainCatalog()->FindPath(pszPath)) != nullptr;
    }

    static CString UsageBranchName()
    {
        CString strBranch;
        strBranch.LoadString(IDS_USAGE_BRANCH);
        return strBranch;
    }
    // The groups the "Student" usage gives.
    static Names StudentGroups() { return { "Applications", "Assignments", "Courses", "Notes", "Research" }; }
    // The catalog's root is set up and holds the usage branch alone: the
    // branch, or null (with a failure) when it does not.
    std::unique_ptr<CNodeRec> UsageBranch()
    {
        std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(App().GetMainCatalog()));
        if (!pRoot) {
            ADD_FAILURE() << "no root";
            return nullptr;
        }
        EXPECT_FALSE(pRoot->GetFlags() & CNodeRec::ROOT_NOT_SET_UP);
        EXPECT_EQ(Children(*pRoot), Names { std::string(UsageBranchName()) });
        return std::unique_ptr<CNodeRec>(pRoot->GetFirstChild());
    }

    static Names Children(CNodeRec& node)
    {
        Names names;
        for (const auto& pChild : node.GetChildren())
            names.emplace_back(pChild->GetName());
        return names;
    }
    static Names Keywords(CNodeRec& node)
    {
        Names keywords;
        for (const auto& pKeyword : node.GetKeywords())
            keywords.emplace_back(static_cast<LPCTSTR>(pKeyword->GetText()));
        return keywords;
    }
    // Lower-cased.
    static Names Folders(CNodeRec& node)
    {
        Names folders;
        for (const auto& pFolder : node.GetNodeFolders()) {
            CString strFolder = pFolder->GetText();
            strFolder.MakeLower();
            folders.emplace_back(static_cast<LPCTSTR>(strFolder));
        }
        return folders;
    }
    // The texts of the main window's systems tree below hParent (null: the top).
    Names TreeTexts(HTREEITEM hParent) const
    {
        Names names;
        CTreeCtrl& tree = ActiveView()->GetTreeView()->GetTreeCtrl();
        for (const CString& str : CTestDriver::TreeChildren(tree.m_hWnd, hParent))
            names.emplace_back(str);
        return names;
    }

    // A mail user: drive N: mapped, and HOME a home on drive C with a
    // Thunderbird-style profile list. The shared mail folders, or nothing
    // (and nothing prepared) when they are absent.
    std::optional<std::filesystem::path> PrepareMailUser()
    {
        std::optional<std::filesystem::path> source = SharedTestData("mail");
        if (!source || !std::filesystem::is_directory(*source))
            return std::nullopt;
        EXPECT_TRUE(SetDriveOverride('N', m_network.Path().c_str(), DRIVE_REMOTE));
        m_home = std::make_unique<ScopedVariable>("HOME", (m_drive.Path() / "home").string());
        m_drive.WriteFile(
            "home/.thunderbird/profiles.ini", "[Profile0]\nName=default\nIsRelative=1\nPath=x1.default\n");
        return source;
    }

    TempFolder m_drive;
    TempFolder m_network;                   // drive N:, when a test maps it (DRIVE_REMOTE)
    std::unique_ptr<ScopedVariable> m_home; // a mail user's home
    std::optional<CDialogPrompts> m_prompts;
    std::vector<CString> m_messages;
    std::vector<CString> m_offeredTypes; // the wizard's document types, as ChooseTextDocuments saw them
};
