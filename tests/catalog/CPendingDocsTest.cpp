#include "catalog/CPendingDocs.h"

#include "catalog/CCatalogPrompts.h"
#include "catalog/CCatalogUpdate.h"
#include "store/CDocumentRec.h"
#include "store/CPreferences.h"
#include "store/CRegistryKey.h"
#include "store/ProtectedFile.h"
#include "tests/catalog/CatalogDriveFixture.h"
#include "tests/store/CatalogFixture.h"

#include "platform/base/FileFunctions.h"
#include "platform/testing/TestDriver.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

namespace fs = std::filesystem;

std::string ReadFileText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Gives the password it is told and counts the questions.
class CPasswordPrompts : public CCatalogPrompts {
public:
    int AskPassword(HICON, LPCTSTR, LPCTSTR, int nVariant, BOOL, CString& strPassword) override
    {
        ++m_nAsked;
        m_nVariant = nVariant;
        strPassword = m_strAnswer.c_str();
        return IDOK;
    }
    std::string m_strAnswer;
    int m_nAsked { 0 };
    int m_nVariant { 0 };
};

// T:\docs\secret.txt catalogued and protected with "pw"; a launcher that
// writes the file it was given to opened.txt stands for the user's program.
class CPendingDocsTest : public CatalogDriveTest {
protected:
    void SetUp() override
    {
        CatalogDriveTest::SetUp();
        SetCatalogPrompts(&m_prompts);
        WriteOnT("docs/secret.txt", CONTENT);
        WriteOnT("docs/plain.txt", "plain words");
        thePreferences.m_fastUpdateDir.RemoveAll();
        thePreferences.m_fastUpdateDir.Add("t:\\docs");
        CCatalogUpdate update(m_pCatalog.get(), nullptr, CCatalogUpdate::OPTION_FAST_FOLDERS, nullptr);
        ASSERT_TRUE(update.Update(CCatalogUpdate::MODE_UPDATE));
        ASSERT_EQ(Secret()->ChangeProtection("pw", ""), PROTECT_OK);
        ASSERT_TRUE(IsProtectedFile(OnT("docs/secret.txt").c_str()));
        const fs::path script = DriveT().Path() / "recorder.sh";
        std::ofstream(script) << "#!/bin/sh\nprintf %s \"$1\" > \"" << (DriveT().Path() / "opened.txt").string()
                              << "\"\n";
        fs::permissions(script, fs::perms::owner_all);
        std::ofstream(DriveT().Path() / "recorder.desktop")
            << "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" << script.string() << " %f\n";
        m_strLauncher = OnT("recorder.desktop");
    }
    void TearDown() override
    {
        SetCatalogPrompts(nullptr);
        thePreferences.m_fastUpdateDir.RemoveAll();
        CatalogDriveTest::TearDown();
    }
    std::unique_ptr<CDocumentRec> Secret()
    {
        return std::unique_ptr<CDocumentRec>(m_pCatalog->FindPath(OnT("docs/secret.txt").c_str()));
    }
    // What the launcher was given, waited for.
    std::string OpenedPath() const
    {
        const fs::path out = DriveT().Path() / "opened.txt";
        WaitUntil([&] { return !ReadFileText(out).empty(); });
        return ReadFileText(out);
    }

    static constexpr const char* CONTENT = "the secret plan, word for word";
    CPasswordPrompts m_prompts;
    std::string m_strLauncher;
};

TEST_F(CPendingDocsTest, AProtectedFileIsOpenedUnprotectedAndProtectedAgainWhole)
{
    CPendingDocs pending(m_pCatalog.get());
    m_prompts.m_strAnswer = "pw";
    EXPECT_EQ(pending.OpenDocument(*Secret(), nullptr, m_strLauncher.c_str()), 1);
    EXPECT_EQ(m_prompts.m_nVariant, 1);
    EXPECT_EQ(OpenedPath(), HostOnT("docs/secret.txt").string());
    EXPECT_EQ(ReadFileText(HostOnT("docs/secret.txt")), CONTENT);
    ASSERT_EQ(pending.GetCount(), 1);
    EXPECT_EQ(pending.GetEntry(0).dwFlags, CPendingDocs::FLAG_UNPROTECTED | CPendingDocs::FLAG_OPENED);
    EXPECT_EQ(pending.CountWithFlags(CPendingDocs::FLAG_UNPROTECTED), 1);
    // The record keeps its password while the file is open.
    CDocumentInfo info {};
    Secret()->GetInfo(&info);
    EXPECT_STREQ(info.szPassword, "pw");

    EXPECT_TRUE(pending.ReloadFlagged(CPendingDocs::FLAG_UNPROTECTED, TRUE));
    EXPECT_TRUE(IsProtectedFile(OnT("docs/secret.txt").c_str()));
    EXPECT_EQ(pending.CountWithFlags(CPendingDocs::FLAG_UNPROTECTED), 0);
    EXPECT_NE(GetFileAttributes(OnT("docs/secret.txt").c_str()) & FILE_ATTRIBUTE_READONLY, 0U);
    // Its bytes come back exactly.
    ASSERT_EQ(ProtectFile(OnT("docs/secret.txt").c_str(), "", "pw"), PROTECT_OK);
    EXPECT_EQ(ReadFileText(HostOnT("docs/secret.txt")), CONTENT);
}

TEST_F(CPendingDocsTest, AWrongPasswordOpensNothing)
{
    CatalogErrorRecorder errors;
    CPendingDocs pending(m_pCatalog.get());
    m_prompts.m_strAnswer = "guess";
    EXPECT_EQ(pending.OpenDocument(*Secret(), nullptr, m_strLauncher.c_str()), 0);
    EXPECT_TRUE(IsProtectedFile(OnT("docs/secret.txt").c_str()));
    EXPECT_EQ(pending.GetCount(), 0);
    EXPECT_EQ(errors.Count(), 1);
}

TEST_F(CPendingDocsTest, APlainFileIsTrackedOnceAndAFailedLaunchProtectsAgain)
{
    CPendingDocs pending(m_pCatalog.get());
    std::unique_ptr<CDocumentRec> pPlain(m_pCatalog->FindPath(OnT("docs/plain.txt").c_str()));
    ASSERT_TRUE(pPlain);
    EXPECT_EQ(pending.OpenDocument(*pPlain, nullptr, m_strLauncher.c_str()), 1);
    EXPECT_EQ(pending.OpenDocument(*pPlain, nullptr, m_strLauncher.c_str()), 1);
    ASSERT_EQ(pending.GetCount(), 1);
    EXPECT_EQ(pending.GetEntry(0).dwFlags, CPendingDocs::FLAG_OPENED);
    EXPECT_EQ(m_prompts.m_nAsked, 0);

    m_prompts.m_strAnswer = "pw";
    EXPECT_EQ(pending.OpenDocument(*Secret(), nullptr, OnT("no-such-program").c_str()), 0);
    EXPECT_TRUE(IsProtectedFile(OnT("docs/secret.txt").c_str()));
    EXPECT_EQ(pending.CountWithFlags(CPendingDocs::FLAG_UNPROTECTED), 0);
}

TEST_F(CPendingDocsTest, ADocumentWhoseFileHasACaseTwinIsNeitherOpenedNorUnprotected)
{
    WriteOnT("docs/Secret.txt", "another file");
    WriteOnT("docs/PLAIN.txt", "another plain file");
    CPendingDocs pending(m_pCatalog.get());
    m_prompts.m_strAnswer = "pw";
    EXPECT_EQ(pending.OpenDocument(*Secret(), nullptr, m_strLauncher.c_str()), 0);
    std::unique_ptr<CDocumentRec> pPlain(m_pCatalog->FindPath(OnT("docs/plain.txt").c_str()));
    ASSERT_TRUE(pPlain);
    EXPECT_EQ(pending.OpenDocument(*pPlain, nullptr, m_strLauncher.c_str()), 0);
    EXPECT_EQ(m_prompts.m_nAsked, 0);
    EXPECT_EQ(pending.GetCount(), 0);
    EXPECT_FALSE(fs::exists(DriveT().Path() / "opened.txt")) << "nothing launched";
    EXPECT_TRUE(IsProtectedFile(OnT("docs/secret.txt").c_str()));
    EXPECT_EQ(ReadFileText(DriveT().Path() / "docs" / "Secret.txt"), "another file");
    EXPECT_EQ(Secret()->ChangeProtection("", "pw"), PROTECT_AMBIGUOUS);
    EXPECT_TRUE(IsProtectedFile(OnT("docs/secret.txt").c_str()));
    const auto reports = m_errors.Reports();
    ASSERT_EQ(reports.size(), 2u) << "each refused opening says why";
    EXPECT_NE(reports[0].strText.find("only in case"), std::string::npos);
}

TEST_F(CPendingDocsTest, AnUnprotectedFileSurvivesARestartAndIsOfferedOnce)
{
    {
        CPendingDocs pending(m_pCatalog.get());
        m_prompts.m_strAnswer = "pw";
        ASSERT_EQ(pending.OpenDocument(*Secret(), nullptr, m_strLauncher.c_str()), 1);
        // The program ends without asking (a crash).
    }
    CTestDriver driver;
    CPendingDocs pending(m_pCatalog.get());
    pending.LoadPending();
    ASSERT_EQ(pending.CountWithFlags(CPendingDocs::FLAG_UNPROTECTED), 1);
    EXPECT_EQ(pending.GetEntryPath(0), CString(OnT("docs/secret.txt").c_str()));
    driver.AnswerNextMessageBox(IDNO);
    pending.ShowPending(nullptr);
    EXPECT_FALSE(IsProtectedFile(OnT("docs/secret.txt").c_str()));
    // Once per run: no second question (an unanswered one would wait for a user).
    pending.ShowPending(nullptr);
    // At the close: Cancel keeps the program open, Yes protects.
    driver.AnswerNextMessageBox(IDCANCEL);
    EXPECT_FALSE(pending.ConfirmPending(nullptr));
    driver.AnswerNextMessageBox(IDYES);
    EXPECT_TRUE(pending.ConfirmPending(nullptr));
    EXPECT_TRUE(IsProtectedFile(OnT("docs/secret.txt").c_str()));
    CPendingDocs after(m_pCatalog.get());
    after.LoadPending();
    EXPECT_EQ(after.CountWithFlags(CPendingDocs::FLAG_UNPROTECTED), 0);
}

TEST_F(CPendingDocsTest, ChecksDropGoneFilesAndNoteChanges)
{
    CPendingDocs pending(m_pCatalog.get());
    std::unique_ptr<CDocumentRec> pPlain(m_pCatalog->FindPath(OnT("docs/plain.txt").c_str()));
    ASSERT_EQ(pending.OpenDocument(*pPlain, nullptr, m_strLauncher.c_str()), 1);
    m_prompts.m_strAnswer = "pw";
    ASSERT_EQ(pending.OpenDocument(*Secret(), nullptr, m_strLauncher.c_str()), 1);
    EXPECT_FALSE(pending.CheckPendingFile());

    // Protected again by other means: the flag goes, nothing is written.
    ASSERT_EQ(ProtectFile(OnT("docs/secret.txt").c_str(), "pw", ""), PROTECT_OK);
    fs::last_write_time(
        HostOnT("docs/plain.txt"), fs::last_write_time(HostOnT("docs/plain.txt")) + std::chrono::hours(1));
    EXPECT_TRUE(pending.CheckPendingFile());
    EXPECT_EQ(pending.CountWithFlags(CPendingDocs::FLAG_UNPROTECTED), 0);

    fs::remove(HostOnT("docs/plain.txt"));
    pending.CheckPendingFile();
    ASSERT_EQ(pending.GetCount(), 1);
    EXPECT_EQ(pending.GetEntryPath(0), CString(OnT("docs/secret.txt").c_str()));
}

TEST_F(CPendingDocsTest, ANewPasswordForAnOpenFileWaitsForItsProtection)
{
    CPendingDocs pending(m_pCatalog.get());
    m_prompts.m_strAnswer = "pw";
    ASSERT_EQ(pending.OpenDocument(*Secret(), nullptr, m_strLauncher.c_str()), 1);
    EXPECT_EQ(pending.ChangeProtection(*Secret(), "fresh"), PROTECT_OK);
    // The open file is left alone; the record holds the new password.
    EXPECT_EQ(ReadFileText(HostOnT("docs/secret.txt")), CONTENT);
    CDocumentInfo info {};
    Secret()->GetInfo(&info);
    EXPECT_STREQ(info.szPassword, "fresh");
    EXPECT_TRUE(pending.ReloadFlagged(CPendingDocs::FLAG_UNPROTECTED, TRUE));
    EXPECT_EQ(ProtectFile(OnT("docs/secret.txt").c_str(), "", "pw"), PROTECT_BAD_PASSWORD);
    EXPECT_EQ(ProtectFile(OnT("docs/secret.txt").c_str(), "", "fresh"), PROTECT_OK);
}

TEST_F(CPendingDocsTest, MalformedStoredValuesAreSkipped)
{
    CRegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, CPendingDocs::KEY_PATH));
    key.SetDWORD("Count", 5);
    key.SetString("Path000", "t:\\docs\\a.txt");
    key.SetDWORD("Flags000", 1);
    key.SetDWORD("Path001", 7); // not a path
    key.SetDWORD("Flags001", 1);
    key.SetString("Path002", "t:\\docs\\b.txt"); // no flags
    key.SetString("Path003", "t:\\docs\\a.txt"); // listed twice
    key.SetDWORD("Flags003", 2);
    key.Close();
    CPendingDocs pending(m_pCatalog.get());
    pending.LoadPending();
    ASSERT_EQ(pending.GetCount(), 1);
    EXPECT_EQ(pending.GetEntry(0).dwFlags, CPendingDocs::FLAG_UNPROTECTED);
}

} // namespace
