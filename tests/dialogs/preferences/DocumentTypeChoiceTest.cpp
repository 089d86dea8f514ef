// The document-type choice: the documents sheet's page as the documents
// command opens it, and the offer of new types over a real catalog, against a
// classes root the test writes.

#include "dialogs/preferences/CDlgCatalogDocTypes.h"

#include "dialogs/preferences/PreferenceDialogCalls.h"
#include "platform/base/PathMap.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/controls/PropertySheet.h"
#include "store/CCatalog.h"
#include "store/CPreferences.h"
#include "store/CatalogTypes.h"
#include "tests/dialogs/preferences/PreferencePageTest.h"
#include "tests/ui/ClassesRootBuilder.h"
#include "tests/ui/RecordingUiHost.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>

namespace {

class DocumentTypeChoiceTest : public PreferencePageTest {
protected:
    void SetUp() override
    {
        PreferencePageTest::SetUp();
        SetFileType(".txt", "txtfile", "Text Document", true);
        SetFileType(".text", "textfile", "Text Document", false);
        SetFileType(".odt", "odtfile", "Writer Document", true);
        SetFileType(".rtf", "rtffile", "Rich Text", false);
        const CString strPath = ProgramPathFromHostPath((Home() / "archiv.cat").string()).c_str();
        ASSERT_TRUE(CCatalog::CreateFile(FALSE, strPath, BLOCK_SIZE));
        m_pCatalog = std::make_unique<CCatalog>(strPath, 1);
        m_host.m_pMainCatalog = m_pCatalog.get();
        thePreferences.Load();
    }
    void TearDown() override
    {
        m_pCatalog.reset();
        PreferencePageTest::TearDown();
    }

    // Selects a row as a click on its text does.
    void Select(HWND hList, int nIndex)
    {
        RECT rect {};
        ::SendMessage(hList, LB_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&rect));
        Driver().Click(hList, rect.right - 4, (rect.top + rect.bottom) / 2);
    }
    // Answers the next new-extension dialog with the text, and the message
    // box that follows when bRefused.
    void AnswerNewExtension(const char* pszExtension, bool bRefused = false)
    {
        Driver().OnNextDialog([pszExtension](HWND hDlg) {
            ::SetDlgItemText(hDlg, IDC_EXTENSION, pszExtension);
            ::SendMessage(hDlg, WM_COMMAND, IDOK, 0);
        });
        if (bRefused)
            Driver().OnNextDialog([this](HWND hBox) {
                m_messages.emplace_back(CTestDriver::Text(::GetDlgItem(hBox, MESSAGEBOX_TEXT_ID)));
                ::EndDialog(hBox, IDOK);
            });
    }
    // The extension table's texts, each as often as it is there.
    std::multiset<std::string> Catalogued()
    {
        std::multiset<std::string> extensions;
        for (CString str = m_pCatalog->FirstExtension(); !str.IsEmpty(); str = m_pCatalog->NextExtension())
            extensions.emplace(str);
        return extensions;
    }
    static std::string FileBytes(const std::filesystem::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static std::set<std::string> Keys(const CMapStringToPtr& map)
    {
        std::set<std::string> keys;
        for (POSITION pos = map.GetStartPosition(); pos;) {
            CString strKey;
            void* pUnused = nullptr;
            map.GetNextAssoc(pos, strKey, pUnused);
            keys.emplace(strKey);
        }
        return keys;
    }

    CRecordingUiHost m_host;
    std::unique_ptr<CCatalog> m_pCatalog;
};

std::vector<CString> Texts(HWND hList)
{
    return CTestDriver::Items(hList);
}

TEST_F(DocumentTypeChoiceTest, PageShowsTheChosenExtensionsUnderTheirTypesAndCommitsOnOk)
{
    CDocumentsSheetData data;
    for (const char* pszChosen : { ".txt", ".xyz", ".abc" })
        data.documentTypes.chosenExtensions.SetAt(pszChosen, nullptr);
    std::vector<CString> types, otherExtensions, textExtensions;
    std::vector<int> typeChecks, otherChecks, textChecks, textChecksAfterUncheck;
    int nTypeCheckAfterUncheck = -1;
    BOOL bAddShownForOther = FALSE, bAddShownFirst = TRUE;
    Driver().OnNextDialog([&](HWND hSheet) {
        HWND hPage = reinterpret_cast<HWND>(::SendMessage(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        HWND hTypes = ::GetDlgItem(hPage, IDC_DOC_TYPES);
        HWND hExtensions = ::GetDlgItem(hPage, IDC_DOC_EXTENSIONS);
        types = Texts(hTypes);
        typeChecks = CTestDriver::CheckListStates(hTypes);
        bAddShownFirst = CTestDriver::IsVisible(::GetDlgItem(hPage, IDC_DOC_ADD_EXTENSION));
        // The unclaimed extensions sit under "Other", checked.
        Select(hTypes, 3);
        otherExtensions = Texts(hExtensions);
        otherChecks = CTestDriver::CheckListStates(hExtensions);
        bAddShownForOther = CTestDriver::IsVisible(::GetDlgItem(hPage, IDC_DOC_ADD_EXTENSION));
        // Only the chosen extension of a checked type is checked.
        Select(hTypes, 1);
        textExtensions = Texts(hExtensions);
        textChecks = CTestDriver::CheckListStates(hExtensions);
        // Unchecking the last checked extension unchecks the type; checking one checks it again.
        Driver().ClickCheckListBox(hExtensions, 1);
        nTypeCheckAfterUncheck = CTestDriver::CheckListStates(hTypes)[1];
        Driver().ClickCheckListBox(hExtensions, 0);
        textChecksAfterUncheck = CTestDriver::CheckListStates(hTypes);
        // Checking an unchecked type chooses all its extensions, kept when another is shown.
        Driver().ClickCheckListBox(hTypes, 0);
        Select(hTypes, 2);
        ::SendMessage(hSheet, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(RunDocumentsSheet(data, &Host()), IDOK);
    EXPECT_EQ(types, (std::vector<CString> { "Rich Text", "Text Document", "Writer Document", "Other" }));
    EXPECT_EQ(typeChecks, (std::vector<int> { 0, 1, 0, 1 }));
    EXPECT_FALSE(bAddShownFirst);
    EXPECT_TRUE(bAddShownForOther);
    EXPECT_EQ(otherExtensions, (std::vector<CString> { ".abc", ".xyz" }));
    EXPECT_EQ(otherChecks, (std::vector<int> { 1, 1 }));
    ASSERT_EQ(textExtensions.size(), 2U);
    EXPECT_EQ(textChecks[textExtensions[0] == ".txt" ? 0 : 1], 1);
    EXPECT_EQ(textChecks[textExtensions[0] == ".txt" ? 1 : 0], 0);
    EXPECT_EQ(nTypeCheckAfterUncheck, textExtensions[1] == ".txt" ? 0 : 1);
    EXPECT_EQ(textChecksAfterUncheck[1], 1);
    EXPECT_EQ(Keys(data.documentTypes.chosenExtensions),
        (std::set<std::string> { ".rtf", std::string(textExtensions[0]), ".xyz", ".abc" }));
}

TEST_F(DocumentTypeChoiceTest, OtherTypeTakesNewExtensionsThatNoTypeHolds)
{
    CDocumentsSheetData data;
    Driver().OnNextDialog([&](HWND hSheet) {
        HWND hPage = reinterpret_cast<HWND>(::SendMessage(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        HWND hTypes = ::GetDlgItem(hPage, IDC_DOC_TYPES);
        Select(hTypes, 3);
        // Checking the empty "other" type asks for an extension; one another type holds is refused.
        AnswerNewExtension(".ODT", true);
        Driver().ClickCheckListBox(hTypes, 3);
        EXPECT_EQ(CTestDriver::CheckListStates(hTypes)[3], 0);
        AnswerNewExtension("log");
        ClickButton(hPage, IDC_DOC_ADD_EXTENSION);
        // A duplicate in the shown type is dropped without a word.
        AnswerNewExtension(".Log");
        ClickButton(hPage, IDC_DOC_ADD_EXTENSION);
        EXPECT_EQ(Texts(::GetDlgItem(hPage, IDC_DOC_EXTENSIONS)), (std::vector<CString> { ".log" }));
        EXPECT_EQ(CTestDriver::CheckListStates(hTypes)[3], 1);
        ::SendMessage(hSheet, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(RunDocumentsSheet(data, &Host()), IDOK);
    CString strTaken;
    strTaken.Format(IDS_EXTENSION_TAKEN, ".odt", "Writer Document");
    EXPECT_EQ(m_messages, (std::vector<std::string> { std::string(strTaken) }));
    EXPECT_EQ(Keys(data.documentTypes.chosenExtensions), (std::set<std::string> { ".log" }));
}

TEST_F(DocumentTypeChoiceTest, DocumentsCommandWritesTheCatalogOnOkOnly)
{
    ASSERT_TRUE(m_pCatalog->LoadExtensions("txt"));
    ASSERT_TRUE(m_pCatalog->LoadExtensions("xyz"));
    const int nOpenCount = m_pCatalog->GetOpenCount();
    // The documents command's steps: copy in, the sheet, and after OK the save.
    auto play = [this](int nButton) {
        CDocumentsSheetData data;
        thePreferences.LoadDocumentsSheet(data, m_pCatalog.get());
        Driver().OnNextDialog([&](HWND hSheet) {
            HWND hPage = reinterpret_cast<HWND>(::SendMessage(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
            Driver().ClickCheckListBox(::GetDlgItem(hPage, IDC_DOC_TYPES), 0);
            ::SendMessage(hSheet, WM_COMMAND, nButton, 0);
        });
        if (RunDocumentsSheet(data, &Host()) == IDOK) {
            ASSERT_TRUE(m_pCatalog->Acquire());
            EXPECT_TRUE(thePreferences.SaveDocumentsSheet(data, m_pCatalog.get()));
            m_pCatalog->Release();
        }
    };
    const std::string strBefore = FileBytes(Home() / "archiv.cat");
    play(IDCANCEL);
    EXPECT_EQ(FileBytes(Home() / "archiv.cat"), strBefore);
    EXPECT_EQ(m_pCatalog->GetOpenCount(), nOpenCount);

    play(IDOK);
    EXPECT_EQ(m_pCatalog->GetOpenCount(), nOpenCount);
    m_pCatalog.reset();
    m_pCatalog = std::make_unique<CCatalog>(ProgramPathFromHostPath((Home() / "archiv.cat").string()).c_str(), 1);
    m_host.m_pMainCatalog = m_pCatalog.get();
    EXPECT_EQ(Catalogued(), (std::multiset<std::string> { "txt", "xyz", "rtf" }));
}

TEST_F(DocumentTypeChoiceTest, OfferShowsOnlyNewTypesOnceAndWritesTheCatalog)
{
    ASSERT_TRUE(m_pCatalog->LoadExtensions("txt"));
    ASSERT_TRUE(m_pCatalog->LoadExtensions("xyz"));
    thePreferences.m_documents.RemoveAll();
    thePreferences.m_documents.Add("text document");
    thePreferences.m_documents.Add("Gone Type");
    ASSERT_TRUE(thePreferences.SaveDocuments());
    const int nOpenCount = m_pCatalog->GetOpenCount();
    // Without a catalog nothing is offered.
    m_host.m_pMainCatalog = nullptr;
    EXPECT_FALSE(OfferNewDocumentTypes(&Host()));
    m_host.m_pMainCatalog = m_pCatalog.get();

    // Cancel: the pruned name is saved, nothing else changes, the same types come again.
    std::vector<CString> offered;
    Driver().OnNextDialog([&](HWND hDlg) {
        offered = Texts(::GetDlgItem(hDlg, IDC_DOC_TYPES));
        ::SendMessage(hDlg, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_TRUE(OfferNewDocumentTypes(&Host()));
    EXPECT_EQ(offered.size(), 2U);
    EXPECT_EQ(
        std::set<CString>(offered.begin(), offered.end()), (std::set<CString> { "Rich Text", "Writer Document" }));
    CPreferences reread;
    reread.Load();
    ASSERT_EQ(reread.m_documents.GetSize(), 1);
    EXPECT_EQ(std::string(reread.m_documents[0]), "text document");
    EXPECT_EQ(Catalogued(), (std::multiset<std::string> { "txt", "xyz" }));

    // OK with Writer Document checked: its extension joins, the others stay.
    Driver().OnNextDialog([&](HWND hDlg) {
        HWND hTypes = ::GetDlgItem(hDlg, IDC_DOC_TYPES);
        const std::vector<CString> rows = Texts(hTypes);
        const int nWriter = static_cast<int>(std::find(rows.begin(), rows.end(), "Writer Document") - rows.begin());
        Driver().ClickCheckListBox(hTypes, nWriter);
        ::SendMessage(hDlg, WM_COMMAND, IDOK, 0);
    });
    EXPECT_TRUE(OfferNewDocumentTypes(&Host()));
    EXPECT_EQ(Catalogued(), (std::multiset<std::string> { "txt", "xyz", "odt" }));
    EXPECT_EQ(m_host.m_calls, (std::vector<std::string> { "BuildDynamicMenu" }));
    EXPECT_EQ(m_pCatalog->GetOpenCount(), nOpenCount);
    reread.Load();
    EXPECT_EQ(reread.m_documents.GetSize(), 3);
    // Every type has been offered now.
    EXPECT_FALSE(OfferNewDocumentTypes(&Host()));
}

} // namespace
