#include "store/ProtectedFile.h"

#include "platform/base/CFileException.h"
#include "platform/base/FileFunctions.h"
#include "store/CatalogIo.h"
#include "tests/store/DocumentFilesFixture.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

class ProtectedFileTest : public DocumentFilesTest {
protected:
    // Bytes of every value, a text line and a length that is not a multiple of anything.
    static std::string SampleBytes(std::size_t nSize)
    {
        std::string strBytes;
        for (std::size_t n = 0; n < nSize; ++n)
            strBytes += static_cast<char>((n * 37 + n / 251) & 0xFF);
        return strBytes;
    }

    // The password the header holds, or "<invalid>" / "<missing>" when reading it throws.
    static std::string HeaderPassword(const std::string& strPath)
    {
        try {
            CString strPassword;
            ReadProtectedFileHeader(strPath.c_str(), strPassword);
            return std::string(strPassword);
        } catch (CFileException* pException) {
            std::string strCause = pException->m_cause == CFileException::invalidFile ? "<invalid>"
                : pException->m_cause == CFileException::fileNotFound                 ? "<missing>"
                : pException->m_cause == CFileException::badPath                      ? "<bad path>"
                                                                                      : "<other>";
            pException->Delete();
            return strCause;
        }
    }
};

/* Protecting and unprotecting. */

TEST_F(ProtectedFileTest, AFileWithATwinDifferingOnlyInCaseIsLeftAsItIs)
{
    const std::string strLower = WriteOnT("doc.txt", "lower");
    const std::string strUpper = WriteOnT("DOC.txt", "upper");
    ASSERT_EQ(ProtectFile(strUpper.c_str(), "pw", ""), PROTECT_AMBIGUOUS);
    EXPECT_EQ(ProtectFile(strLower.c_str(), "pw", ""), PROTECT_AMBIGUOUS);
    EXPECT_EQ(ReadOnT("doc.txt"), "lower");
    EXPECT_EQ(ReadOnT("DOC.txt"), "upper");
    EXPECT_NE(
        std::string(FormatProtectError(strLower.c_str(), PROTECT_AMBIGUOUS)).find("only in case"), std::string::npos);
    // Once one is renamed the other is protected as usual.
    ASSERT_TRUE(MoveFile(strUpper.c_str(), OnT("other.txt").c_str()));
    EXPECT_EQ(ProtectFile(strLower.c_str(), "pw", ""), PROTECT_OK);
    EXPECT_EQ(HeaderPassword(strLower), "pw");
}

TEST_F(ProtectedFileTest, UnprotectingGivesBackTheExactBytesOfFilesOfEverySize)
{
    for (std::size_t nSize : { 0, 1, 23, 24, 67, 68, 69, 4096, 200003 }) {
        std::string strOriginal = SampleBytes(nSize);
        std::string strPath = WriteOnT("doc.bin", strOriginal);
        ASSERT_EQ(ProtectFile(strPath.c_str(), "pw", ""), PROTECT_OK) << nSize;
        std::string strProtected = ReadOnT("doc.bin");
        EXPECT_EQ(strProtected.size(), nSize + PROTECTED_HEADER_SIZE);
        EXPECT_EQ(HeaderPassword(strPath), "pw");
        ASSERT_EQ(ProtectFile(strPath.c_str(), "", "pw"), PROTECT_OK) << nSize;
        EXPECT_EQ(ReadOnT("doc.bin"), strOriginal) << nSize;
    }
    EXPECT_EQ(FilesOnT(), std::vector<std::string> { "doc.bin" }); // no temporary left behind
}

TEST_F(ProtectedFileTest, ProtectedFileShowsNeitherItsTextNorItsPassword)
{
    std::string strText = "Quarterly report: revenue grew. Quarterly report: costs fell.\n";
    std::string strPath = WriteOnT("report.txt", strText);
    ASSERT_EQ(ProtectFile(strPath.c_str(), "hunter2", nullptr), PROTECT_OK);
    std::string strProtected = ReadOnT("report.txt");
    EXPECT_EQ(strProtected.rfind("Archivora protected file", 0), 0u);
    EXPECT_EQ(strProtected.find("Quarterly"), std::string::npos);
    EXPECT_EQ(strProtected.find("hunter2"), std::string::npos);
    EXPECT_TRUE(IsProtectedFile(strPath.c_str()));
}

TEST_F(ProtectedFileTest, ChangingThePasswordKeepsTheContent)
{
    std::string strOriginal = SampleBytes(5000);
    std::string strPath = WriteOnT("a.bin", strOriginal);
    ASSERT_EQ(ProtectFile(strPath.c_str(), "first", ""), PROTECT_OK);
    ASSERT_EQ(ProtectFile(strPath.c_str(), "second password", "first"), PROTECT_OK);
    EXPECT_EQ(HeaderPassword(strPath), "second password");
    EXPECT_EQ(ProtectFile(strPath.c_str(), "", "first"), PROTECT_BAD_PASSWORD);
    ASSERT_EQ(ProtectFile(strPath.c_str(), "", "second password"), PROTECT_OK);
    EXPECT_EQ(ReadOnT("a.bin"), strOriginal);
}

TEST_F(ProtectedFileTest, UnprotectingAPlainFileReportsItWasNotProtected)
{
    std::string strPath = WriteOnT("plain.txt", "plain");
    EXPECT_EQ(ProtectFile(strPath.c_str(), "", "whatever"), PROTECT_NOT_PROTECTED);
    EXPECT_EQ(ProtectFile(strPath.c_str(), nullptr, nullptr), PROTECT_NOT_PROTECTED);
    EXPECT_EQ(ReadOnT("plain.txt"), "plain");
}

TEST_F(ProtectedFileTest, KeepsTheFilePermissions)
{
    std::string strPath = WriteOnT("ro.txt", "read only");
    ASSERT_TRUE(SetFileAttributes(strPath.c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_EQ(ProtectFile(strPath.c_str(), "pw", ""), PROTECT_OK);
    EXPECT_TRUE(GetFileAttributes(strPath.c_str()) & FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(ProtectFile(strPath.c_str(), "", "pw"), PROTECT_OK);
    EXPECT_TRUE(GetFileAttributes(strPath.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(ReadOnT("ro.txt"), "read only");
}

TEST_F(ProtectedFileTest, FilesWrittenToTheDocumentedLayoutStillOpen)
{
    // "Hello, protected world.\n" protected with "pw", byte for byte as the file format describes it.
    const std::string strStored
        = std::string("Archivora protected file"
                      "\x01\x02\xA1\x11\x0C\xF2\xDF\x6F\xCD\xFE\x81\x20\x05\x59\x34\x57\x80\x4E\xD3\x5C\xB3\xDD\xD9\x47"
                      "\x91\xF5\x85\xA3\xA5\x42\xA4\x99\x18",
              57)
        + std::string(7, '\0')
        + "\x8C\x2F\xC9\x62\xFE\xEC\xD9\x28\x8A\x07\xCC\x33\x12\x0F\x45\xF2\xB5\xF8\x8C\xAC\x81\xF0\x37\x5D"
          "\x14\xD7\x18\x49";
    ASSERT_EQ(strStored.size(), PROTECTED_HEADER_SIZE + 24u);
    std::string strPath = WriteOnT("stored.txt", strStored);
    EXPECT_EQ(HeaderPassword(strPath), "pw");
    ASSERT_EQ(ProtectFile(strPath.c_str(), "", "pw"), PROTECT_OK);
    EXPECT_EQ(ReadOnT("stored.txt"), "Hello, protected world.\n");
    // Protecting the same bytes gives the same file back.
    ASSERT_EQ(ProtectFile(strPath.c_str(), "pw", ""), PROTECT_OK);
    EXPECT_EQ(ReadOnT("stored.txt"), strStored);
}

/* Bad input: nothing changes. */

TEST_F(ProtectedFileTest, WrongOrTooLongPasswordsChangeNothing)
{
    std::string strPath = WriteOnT("a.txt", "secret text");
    EXPECT_EQ(ProtectFile(strPath.c_str(), std::string(31, 'x').c_str(), ""), PROTECT_BAD_PASSWORD);
    EXPECT_EQ(ReadOnT("a.txt"), "secret text");
    ASSERT_EQ(ProtectFile(strPath.c_str(), std::string(30, 'x').c_str(), ""), PROTECT_OK);
    std::string strProtected = ReadOnT("a.txt");
    EXPECT_EQ(ProtectFile(strPath.c_str(), "", "X"), PROTECT_BAD_PASSWORD);
    EXPECT_EQ(ProtectFile(strPath.c_str(), "new", ""), PROTECT_BAD_PASSWORD);
    EXPECT_EQ(ProtectFile(strPath.c_str(), "", std::string(29, 'x').c_str()), PROTECT_BAD_PASSWORD);
    EXPECT_EQ(ReadOnT("a.txt"), strProtected);
}

TEST_F(ProtectedFileTest, MissingFilesAndFoldersAreNotFound)
{
    EXPECT_EQ(ProtectFile(OnT("none.txt").c_str(), "pw", ""), PROTECT_NOT_FOUND);
    EXPECT_EQ(ProtectFile(OnT("nowhere\\none.txt").c_str(), "pw", ""), PROTECT_NOT_FOUND);
    EXPECT_EQ(ProtectFile("", "pw", ""), PROTECT_NOT_FOUND);
    EXPECT_EQ(ProtectFile(nullptr, "pw", ""), PROTECT_NOT_FOUND);
    MakeFolderOnT("folder");
    EXPECT_EQ(ProtectFile(OnT("folder").c_str(), "pw", ""), PROTECT_UNREADABLE);
    EXPECT_EQ(HeaderPassword(OnT("none.txt")), "<missing>");
    EXPECT_EQ(HeaderPassword("\\\\"), "<bad path>") << "a path that maps to no file";
}

TEST_F(ProtectedFileTest, SpecialFilesAreUnreadableAtOnce)
{
    const std::vector<std::string> names = MakeSpecialFilesOnT();
    ASSERT_EQ(names.size(), 3u);
    for (const std::string& strName : names) {
        const std::string strPath = OnT(strName);
        const int nResult = RunInChildWithin(10, [&] {
            const bool bRefused = ProtectFile(strPath.c_str(), "pw", "") == PROTECT_UNREADABLE
                && !IsProtectedFile(strPath.c_str()) && HeaderPassword(strPath) == "<other>";
            return bRefused ? 0 : 1;
        });
        EXPECT_EQ(nResult, 0) << strName << (nResult < 0 ? " kept the check waiting" : "");
    }
}

TEST_F(ProtectedFileTest, DamagedHeadersAreRejectedAndLeftAlone)
{
    std::string strPath = WriteOnT("a.bin", SampleBytes(300));
    ASSERT_EQ(ProtectFile(strPath.c_str(), "pw", ""), PROTECT_OK);
    const std::string strGood = ReadOnT("a.bin");
    auto damage = [&](std::size_t nOffset, char chValue) {
        std::string strBad = strGood;
        strBad[nOffset] = chValue;
        WriteOnT("a.bin", strBad);
        return strBad;
    };
    // version, password length 0 and 31, a byte after the password, the stored length
    for (auto [nOffset, chValue] : { std::pair<std::size_t, char> { 24, 2 }, { 25, 0 }, { 25, 31 },
             { 40, static_cast<char>(strGood[40] ^ 0x55) }, { 56, static_cast<char>(strGood[56] + 1) } }) {
        std::string strBad = damage(nOffset, chValue);
        EXPECT_EQ(HeaderPassword(strPath), "<invalid>") << nOffset;
        EXPECT_EQ(ProtectFile(strPath.c_str(), "", "pw"), PROTECT_DAMAGED) << nOffset;
        EXPECT_EQ(ProtectFile(strPath.c_str(), "new", "pw"), PROTECT_DAMAGED) << nOffset;
        EXPECT_EQ(ReadOnT("a.bin"), strBad) << nOffset;
    }
    // Cut short: inside the header, and inside the content.
    for (std::size_t nLength : { 30, 67, 200 }) {
        WriteOnT("a.bin", strGood.substr(0, nLength));
        EXPECT_EQ(HeaderPassword(strPath), "<invalid>") << nLength;
        EXPECT_EQ(ProtectFile(strPath.c_str(), "", "pw"), PROTECT_DAMAGED) << nLength;
        EXPECT_EQ(ReadOnT("a.bin"), strGood.substr(0, nLength));
    }
    WriteOnT("plain.txt", "not protected at all");
    EXPECT_EQ(HeaderPassword(OnT("plain.txt")), "<invalid>");
    EXPECT_FALSE(IsProtectedFile(OnT("plain.txt").c_str()));
}

TEST_F(ProtectedFileTest, DamagedContentIsNeverPassedOffAsTheOriginal)
{
    std::string strPath = WriteOnT("a.bin", SampleBytes(10000));
    ASSERT_EQ(ProtectFile(strPath.c_str(), "pw", ""), PROTECT_OK);
    std::string strBad = ReadOnT("a.bin");
    strBad[5000] ^= 0x01;
    WriteOnT("a.bin", strBad);
    EXPECT_EQ(HeaderPassword(strPath), "pw"); // the header itself is fine
    EXPECT_EQ(ProtectFile(strPath.c_str(), "", "pw"), PROTECT_DAMAGED);
    EXPECT_EQ(ProtectFile(strPath.c_str(), "other", "pw"), PROTECT_DAMAGED);
    EXPECT_EQ(ReadOnT("a.bin"), strBad);
    EXPECT_EQ(FilesOnT(), std::vector<std::string> { "a.bin" });
}

/* Failures while writing keep the original. */

TEST_F(ProtectedFileTest, AFailedWriteKeepsTheOriginalAndLeavesNoTemporary)
{
    std::string strOriginal = SampleBytes(300000);
    std::string strPath = WriteOnT("big.bin", strOriginal);
    for (int nWrite : { 1, 2, 4 }) {
        SetCatalogWriteFailure(nWrite);
        EXPECT_EQ(ProtectFile(strPath.c_str(), "pw", ""), PROTECT_WRITE_FAILED) << nWrite;
        EXPECT_EQ(ReadOnT("big.bin"), strOriginal) << nWrite;
    }
    SetCatalogWriteFailure(0);
    ASSERT_EQ(ProtectFile(strPath.c_str(), "pw", ""), PROTECT_OK);
    std::string strProtected = ReadOnT("big.bin");
    SetCatalogWriteFailure(3);
    EXPECT_EQ(ProtectFile(strPath.c_str(), "", "pw"), PROTECT_WRITE_FAILED);
    EXPECT_EQ(ReadOnT("big.bin"), strProtected);
    EXPECT_EQ(FilesOnT(), std::vector<std::string> { "big.bin" });
}

TEST_F(ProtectedFileTest, AReadOnlyFolderRefusesTheChange)
{
    std::string strPath = WriteOnT("locked/a.txt", "text");
    ASSERT_TRUE(SetFileAttributes(OnT("locked").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(ProtectFile(strPath.c_str(), "pw", ""), PROTECT_WRITE_FAILED);
    ASSERT_TRUE(SetFileAttributes(OnT("locked").c_str(), 0));
    EXPECT_EQ(ReadOnT("locked/a.txt"), "text");
    EXPECT_EQ(FilesOnT(), std::vector<std::string> { "locked/a.txt" });
}

TEST_F(ProtectedFileTest, TemporaryNamesNeverReplaceExistingFiles)
{
    std::string strPath = WriteOnT("a.txt", "text");
    for (int n = 0; n < 10; ++n)
        WriteOnT("a.txt.~pf" + std::to_string(n), "user file " + std::to_string(n));
    EXPECT_EQ(ProtectFile(strPath.c_str(), "pw", ""), PROTECT_WRITE_FAILED);
    EXPECT_EQ(ReadOnT("a.txt.~pf3"), "user file 3");
    EXPECT_EQ(ReadOnT("a.txt"), "text");
}

/* Reporting. */

TEST_F(ProtectedFileTest, ErrorsAreReportedWithThePathAndSuccessIsNot)
{
    size_t nBefore = m_errors.Count();
    ReportProtectError("T:\\a.txt", PROTECT_OK);
    EXPECT_EQ(m_errors.Count(), nBefore);
    for (int nCode : { PROTECT_BAD_PASSWORD, PROTECT_NOT_PROTECTED, PROTECT_UNREADABLE, PROTECT_NOT_FOUND,
             PROTECT_WRITE_FAILED, PROTECT_DAMAGED, 77 })
        ReportProtectError("T:\\a.txt", nCode);
    auto reports = m_errors.Reports();
    ASSERT_EQ(reports.size(), nBefore + 7);
    std::set<std::string> texts;
    for (std::size_t n = nBefore; n < reports.size(); ++n) {
        EXPECT_EQ(reports[n].strFileName, "T:\\a.txt");
        EXPECT_NE(reports[n].strText.find("T:\\a.txt"), std::string::npos);
        EXPECT_EQ(reports[n].nStyle, STORE_MESSAGE_WARNING_STYLE);
        texts.insert(reports[n].strText);
    }
    EXPECT_EQ(texts.size(), 7u); // each code says something of its own
}

} // namespace
