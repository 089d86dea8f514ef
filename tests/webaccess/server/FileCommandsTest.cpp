#include "webaccess/server/FileCommands.h"

#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "resources/ResourceIds.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"
#include "webaccess/pages/CWAOutputFile.h"
#include "webaccess/pages/TipPage.h"
#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/CWACmdEdir.h"
#include "webaccess/server/CWASession.h"
#include "webaccess/server/WebCommands.h"

#include <gtest/gtest.h>
#include <minizip/unzip.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <fstream>
#include <future>
#include <sstream>
#include <tuple>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char SEPARATOR[] = "From a@example.org Sat Jan  1 00:00:00 2000\r\n";

// The stored bytes of a message whose subject is the title without its two markers.
std::string Message(const std::string& strTitle)
{
    return "Subject: " + strTitle.substr(0, strTitle.size() - 2) + "\r\n\r\nThe body.\r\n";
}

// Runs request tokens in a logged-in session of a catalog with a profile
// that may download, and reads the replies back.
class FileCommandsTest : public ProgramFolderTest {
protected:
    void SetUp() override
    {
        ProgramFolderTest::SetUp();
        MoveProgramFolderApart();
        m_pCatalog = std::make_unique<CCatalog>(ProgramPath(Home() / "archiv.cat").c_str(), 1);
        SetWebCatalog(m_pCatalog.get());
        AddProfile("pw", TRUE);
        AddProfile("nodown", FALSE);
        m_strReply = Home() / "reply.out";
    }
    void TearDown() override
    {
        SetWebCatalog(nullptr);
        m_pCatalog.reset();
        ProgramFolderTest::TearDown();
    }

    void AddProfile(const char* pszPassword, BOOL bMayDownload)
    {
        auto pProfile = std::make_unique<CWAProfiles>();
        pProfile->SetIdentity(pszPassword, pszPassword, "");
        pProfile->SetPermissions(bMayDownload, FALSE, 1);
        CWAGroupRightsMap rights;
        rights.SetAt(WA_ALL_GROUPS, WA_GROUP_WHOLE);
        pProfile->SetGroupRights(rights);
        m_settings.m_profiles.push_back(std::move(pProfile));
    }

    static std::string ProgramPath(const std::filesystem::path& path) { return ProgramPathFromHostPath(path.string()); }

    // A file of nSize bytes 0, 1, 2 ... under the home folder; its program path.
    std::string MakeFile(const char* pszName, size_t nSize)
    {
        std::string strData(nSize, '\0');
        for (size_t i = 0; i < nSize; ++i)
            strData[i] = static_cast<char>(i * 7 + 1);
        std::ofstream(Home() / pszName, std::ios::binary) << strData;
        return ProgramPath(Home() / pszName);
    }

    // A catalog document for a file; its "*block,slot" reference.
    std::string CatalogFile(const std::string& strPath)
    {
        std::unique_ptr<CDocumentRec> pDocument(m_pCatalog->FindOrAddPath(nullptr, strPath.c_str(), FALSE));
        EXPECT_TRUE(pDocument);
        return Reference(*pDocument);
    }

    // A catalog document for the message of an mbox store, whose bytes begin
    // after the separator line; its reference.
    std::string CatalogMessage(const char* pszTitle, char chState = ' ', LONG nOffset = sizeof SEPARATOR - 1,
        LONG nStoreKind = 0, const char* pszPassword = "")
    {
        std::ofstream(Home() / "inbox", std::ios::binary) << SEPARATOR << Message(pszTitle);
        CDocumentInfo info {};
        info.wType = DOCUMENT_MAIL;
        info.nVersion = nStoreKind; // 0 Netscape, 3 Outlook Express 5
        const auto nLength = static_cast<LONG>(Message(pszTitle).size());
        std::memcpy(info.id + 4, &nOffset, sizeof nOffset);
        std::memcpy(info.id + 8, &nLength, sizeof nLength);
        info.id[12] = static_cast<BYTE>(chState);
        std::strncpy(info.szPassword, pszPassword, sizeof info.szPassword - 1);
        const std::string strStore = "*" + ProgramPath(Home() / "inbox") + "#";
        std::unique_ptr<CDocumentRec> pDocument(m_pCatalog->FindOrAddDocument(strStore.c_str(), pszTitle, &info));
        EXPECT_TRUE(pDocument);
        return Reference(*pDocument);
    }

    static std::string Reference(const CDocumentRec& document)
    {
        return "*" + std::to_string(document.GetBlock()) + "," + std::to_string(document.GetSlot());
    }

    // Runs a token through the factory and a session; the command's status.
    int Run(const std::string& strToken, const char* pszPassword = "pw")
    {
        const auto pLogin = CreateWebCommand((std::string("<#LOGIN |7| |ana| |") + pszPassword + "| |x|#>").c_str());
        CWASession session(static_cast<CWACmdLogin&>(*pLogin), m_settings, *m_pCatalog);
        std::unique_ptr<CWACommand> pCommand = CreateWebCommand(strToken.c_str());
        EXPECT_NE(pCommand, nullptr);
        if (pCommand == nullptr)
            return -1;
        m_strLog = static_cast<LPCTSTR>(pCommand->GetLogText());
        if (pCommand->GetStatus() != WA_STATUS_OK)
            return pCommand->GetStatus();
        CWAOutputFile reply;
        EXPECT_TRUE(reply.Open(ProgramPath(m_strReply).c_str(), TRUE));
        const BOOL bDone = session.RunCommand(pCommand, reply);
        reply.Close();
        return bDone ? WA_STATUS_OK : session.GetStatus();
    }

    // The content of the reply's "DUMMY" entry; empty when it is no such zip.
    std::string ReadZip() const
    {
        unzFile hZip = unzOpen(m_strReply.c_str());
        if (hZip == nullptr)
            return "";
        std::string strContent;
        if (unzLocateFile(hZip, "DUMMY", 1) == UNZ_OK && unzOpenCurrentFile(hZip) == UNZ_OK) {
            char buffer[4096];
            int nRead = 0;
            while ((nRead = unzReadCurrentFile(hZip, buffer, sizeof buffer)) > 0)
                strContent.append(buffer, static_cast<size_t>(nRead));
            unzCloseCurrentFile(hZip);
        }
        unzClose(hZip);
        return strContent;
    }

    std::string ReadPlain() const
    {
        std::ifstream file(m_strReply, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    static std::string Bytes(const std::string& strPath, size_t nFrom)
    {
        std::string strHost;
        EXPECT_TRUE(HostPathFromProgramPath(strPath.c_str(), strHost));
        std::ifstream file(strHost, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str().substr(nFrom);
    }

    // The DOWN2 token a file's reply begins with.
    std::string Down2Token(const char* pszName, size_t nSize, const std::string& strPath) const
    {
        CFileStatus status {};
        EXPECT_TRUE(CFile::GetStatus(strPath.c_str(), status));
        return "\r\n<#DOWN2 |" + std::string(pszName) + "| |" + std::to_string(nSize) + "| |"
            + static_cast<LPCTSTR>(status.m_mtime.Format("%b %d, %Y  %H:%M")) + "|#>\r\n";
    }

    static std::string Slashed(std::string strPath)
    {
        for (char& ch : strPath)
            if (ch == '\\')
                ch = '/';
        return strPath;
    }

    std::unique_ptr<CCatalog> m_pCatalog;
    CWASettings m_settings;
    std::filesystem::path m_strReply;
    std::string m_strLog;
};

} // namespace

/* DOWN2 of a path. */

TEST_F(FileCommandsTest, Down2SendsTheWholeFileInTheZip)
{
    const std::string strPath = MakeFile("data.bin", 1000);
    ASSERT_EQ(Run("<#DOWN2 |" + strPath + "|#>"), WA_STATUS_OK);
    EXPECT_EQ(ReadZip(), Down2Token("data.bin", 1000, strPath) + Bytes(strPath, 0));
    EXPECT_EQ(m_strLog, "DOWNLOAD - " + strPath);
}

TEST_F(FileCommandsTest, Down2WithFlagZeroWritesAPlainReply)
{
    const std::string strPath = MakeFile("data.bin", 300);
    ASSERT_EQ(Run("<#DOWN2 |" + strPath + "| |0| |0|#>"), WA_STATUS_OK);
    EXPECT_EQ(ReadPlain(), Down2Token("data.bin", 300, strPath) + Bytes(strPath, 0));
}

TEST_F(FileCommandsTest, Down2ResumesAtTheOffsetAndKeepsTheWholeSize)
{
    const std::string strPath = MakeFile("data.bin", 100);
    ASSERT_EQ(Run("<#DOWN2 |" + Slashed(strPath) + "| |10|#>"), WA_STATUS_OK);
    EXPECT_EQ(ReadZip(), Down2Token("data.bin", 100, strPath) + Bytes(strPath, 10));
    EXPECT_EQ(m_strLog, "DOWNLOAD - " + strPath + " (starting at - 10)");
    for (const char* pszOffset : { "100", "101", "214748363" }) {
        ASSERT_EQ(Run("<#DOWN2 |" + strPath + "| |" + pszOffset + "|#>"), WA_STATUS_OK);
        EXPECT_EQ(ReadZip(), Down2Token("data.bin", 100, strPath)) << pszOffset;
    }
}

TEST_F(FileCommandsTest, Down2CopiesEveryByteAroundTheBlockSize)
{
    for (size_t nSize : { 0, 511, 512, 513, 1025 }) {
        const std::string strPath = MakeFile("block.bin", nSize);
        ASSERT_EQ(Run("<#DOWN2 |" + strPath + "|#>"), WA_STATUS_OK);
        EXPECT_EQ(ReadZip(), Down2Token("block.bin", nSize, strPath) + Bytes(strPath, 0)) << nSize;
    }
}

TEST_F(FileCommandsTest, AFailedReplyWriteFailsTheDownloadAndTheAttributes)
{
    const std::string strPath = MakeFile("data.bin", 3000);
    for (const std::string& strToken : { "<#DOWN2 |" + strPath + "|#>", "<#ATTR |" + strPath + "|#>" }) {
        for (int nFail = 1; nFail <= 2; ++nFail) {
            SCOPED_TRACE(strToken + ": write " + std::to_string(nFail) + " fails");
            SetReplyWriteFailure(nFail);
            const int nStatus = Run(strToken);
            SetReplyWriteFailure(0);
            if (nFail == 2 && strToken.starts_with("<#ATTR"))
                EXPECT_EQ(nStatus, WA_STATUS_OK); // its reply is one write
            else
                EXPECT_EQ(nStatus, WA_STATUS_REPLY_FAILED);
        }
    }
}

TEST_F(FileCommandsTest, Down2OfAFileThatCannotBeReadSendsNothing)
{
    const std::string strPath = MakeFile("locked.bin", 10);
    std::filesystem::permissions(Home() / "locked.bin", std::filesystem::perms::none);
    if (std::ifstream(Home() / "locked.bin").is_open())
        GTEST_SKIP() << "the permissions do not bind this user";
    ASSERT_EQ(Run("<#DOWN2 |" + strPath + "|#>"), WA_STATUS_OK);
    EXPECT_EQ(ReadZip(), "");
}

TEST_F(FileCommandsTest, Down2OfAPipeSendsNothingAndDoesNotWait)
{
    const std::string strHostPipe = (Home() / "pipe").string();
    ASSERT_EQ(::mkfifo(strHostPipe.c_str(), 0600), 0);
    auto run = std::async(std::launch::async, [&] { return Run("<#DOWN2 |" + ProgramPath(Home() / "pipe") + "|#>"); });
    if (run.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ::close(::open(strHostPipe.c_str(), O_WRONLY | O_NONBLOCK)); // a writer releases the open
        ADD_FAILURE() << "DOWN2 waited for the pipe's writer";
    }
    EXPECT_EQ(run.get(), WA_STATUS_OK);
    EXPECT_EQ(ReadZip(), "");
}

/* Refusals. */

TEST_F(FileCommandsTest, BadItemsAreRefusedBeforeAnythingRuns)
{
    MakeFile("data.bin", 10);
    EXPECT_EQ(Run("<#DOWN2 |" + ProgramPath(Home() / "none.bin") + "|#>"), WA_STATUS_MISSING);
    EXPECT_EQ(Run("<#ATTR |*99,3|#>"), WA_STATUS_MISSING);
    EXPECT_EQ(Run("<#ATTR |data.bin|#>"), WA_STATUS_MALFORMED);
    EXPECT_EQ(Run("<#ATTR |\\\\server\\share\\data.bin|#>"), WA_STATUS_MALFORMED);
    EXPECT_EQ(Run("<#DOWN2 |" + ProgramPath(Home() / "data.bin") + "| |-1|#>"), WA_STATUS_MALFORMED);
    EXPECT_EQ(Run("<#DOWN2 |" + ProgramPath(Home() / "data.bin") + "| |2147483648|#>"), WA_STATUS_MALFORMED);
}

TEST_F(FileCommandsTest, Down2NeedsTheDownloadRight)
{
    const std::string strPath = MakeFile("data.bin", 10);
    EXPECT_EQ(Run("<#DOWN2 |" + strPath + "|#>", "nodown"), WA_STATUS_MALFORMED);
    EXPECT_EQ(Run("<#ATTR |" + strPath + "|#>", "nodown"), WA_STATUS_OK);
}

/* ATTR. */

TEST_F(FileCommandsTest, AttrOfAPathAnswersThePathWithSlashes)
{
    const std::string strPath = MakeFile("data.bin", 1234);
    CFileStatus status {};
    ASSERT_TRUE(CFile::GetStatus(strPath.c_str(), status));
    ASSERT_EQ(Run("<#ATTR |" + Slashed(strPath) + "|#>"), WA_STATUS_OK);
    EXPECT_EQ(ReadZip(),
        "\r\n<#ATTR2 |" + Slashed(strPath) + "| |1234| |"
            + static_cast<LPCTSTR>(status.m_mtime.Format("%b %d, %Y  %H:%M")) + "| |" + Slashed(strPath) + "|#>\r\n");
    EXPECT_EQ(m_strLog, "Get ATTRIBUTES - " + strPath);
}

TEST_F(FileCommandsTest, AttrOfACatalogFileNamesItsReference)
{
    const std::string strPath = MakeFile("data.bin", 42);
    const std::string strRef = CatalogFile(strPath);
    ASSERT_EQ(Run("<#ATTR |" + strRef + "|#>"), WA_STATUS_OK);
    const std::string strReply = ReadZip();
    // The catalog keeps its paths lower-cased.
    std::string strName = Slashed(strPath);
    std::transform(strName.begin(), strName.end(), strName.begin(), [](char ch) { return std::tolower(ch); });
    EXPECT_EQ(strReply.rfind("\r\n<#ATTR2 |" + strName + "| |42| |", 0), 0u) << strReply;
    EXPECT_NE(strReply.find("| |" + strRef + "|#>\r\n"), std::string::npos) << strReply;
    std::string strLogPath = strPath;
    std::transform(strLogPath.begin(), strLogPath.end(), strLogPath.begin(), [](char ch) { return std::tolower(ch); });
    EXPECT_EQ(m_strLog, "Get ATTRIBUTES - " + strLogPath);
}

TEST_F(FileCommandsTest, AttrOfAVanishedCatalogFileIsUnavailable)
{
    const std::string strPath = MakeFile("data.bin", 42);
    const std::string strRef = CatalogFile(strPath);
    std::filesystem::remove(Home() / "data.bin");
    EXPECT_EQ(Run("<#ATTR |" + strRef + "|#>"), WA_STATUS_UNAVAILABLE);
    EXPECT_EQ(Run("<#DOWN2 |" + strRef + "|#>"), WA_STATUS_UNAVAILABLE);
}

/* Catalog documents. */

TEST_F(FileCommandsTest, Down2OfACatalogFileSendsItsBytes)
{
    const std::string strPath = MakeFile("data.bin", 600);
    const std::string strRef = CatalogFile(strPath);
    ASSERT_EQ(Run("<#DOWN2 |" + strRef + "| |100|#>"), WA_STATUS_OK);
    EXPECT_EQ(ReadZip(), Down2Token("data.bin", 600, strPath) + Bytes(strPath, 100));
}

TEST_F(FileCommandsTest, Down2OfACatalogFileWithACaseTwinSendsNeither)
{
    const std::string strPath = MakeFile("data.bin", 600);
    const std::string strRef = CatalogFile(strPath);
    MakeFile("Data.bin", 300);
    EXPECT_EQ(Run("<#DOWN2 |" + strRef + "|#>"), WA_STATUS_UNAVAILABLE);
    EXPECT_EQ(ReadZip().find("<#DOWN2"), std::string::npos) << "no byte of either file";
    // Renamed apart, the catalogued file is sent again.
    std::filesystem::rename(Home() / "Data.bin", Home() / "other.bin");
    ASSERT_EQ(Run("<#DOWN2 |" + strRef + "|#>"), WA_STATUS_OK);
    EXPECT_EQ(ReadZip(), Down2Token("data.bin", 600, strPath) + Bytes(strPath, 0));
}

TEST_F(FileCommandsTest, MailMessagesAreSentWhole)
{
    const std::string strRef = CatalogMessage("hello##");
    ASSERT_EQ(Run("<#DOWN2 |" + strRef + "| |10|#>"), WA_STATUS_OK);
    EXPECT_EQ(ReadZip(),
        "\r\n<#DOWN2 |hello| |" + std::to_string(Message("hello##").size()) + "| ||#>\r\n" + Message("hello##"));
}

TEST_F(FileCommandsTest, AttrOfAMailMessageNamesItByItsFolder)
{
    const std::string strRef = CatalogMessage("a:b?##");
    ASSERT_EQ(Run("<#ATTR |" + strRef + "|#>"), WA_STATUS_OK);
    const std::string strReply = ReadZip();
    EXPECT_NE(strReply.find("/ab.eml| |" + std::to_string(Message("a:b?##").size()) + "| || |" + strRef + "|#>"),
        std::string::npos);
}

TEST_F(FileCommandsTest, AMailTitleOfInvalidCharactersBecomesMailEml)
{
    const std::string strRef = CatalogMessage("::??##");
    ASSERT_EQ(Run("<#ATTR |" + strRef + "|#>"), WA_STATUS_OK);
    EXPECT_NE(ReadZip().find("/MAIL.eml| |"), std::string::npos) << ReadZip();
}

TEST_F(FileCommandsTest, DeletedOrUnreachableMessagesAreRefused)
{
    const std::string strDeleted = CatalogMessage("gone##", 'x');
    EXPECT_EQ(Run("<#ATTR |" + strDeleted + "|#>"), WA_STATUS_UNAVAILABLE);
    EXPECT_EQ(Run("<#DOWN2 |" + strDeleted + "|#>"), WA_STATUS_UNAVAILABLE);
    const std::string strLive = CatalogMessage("live##");
    std::filesystem::remove(Home() / "inbox");
    EXPECT_EQ(Run("<#ATTR |" + strLive + "|#>"), WA_STATUS_UNAVAILABLE);
    EXPECT_EQ(Run("<#DOWN2 |" + strLive + "|#>"), WA_STATUS_UNAVAILABLE);
}

TEST_F(FileCommandsTest, MailNamesCannotBreakTheDown2Token)
{
    const std::string strRef = CatalogMessage("a|b #> c##");
    ASSERT_EQ(Run("<#DOWN2 |" + strRef + "|#>"), WA_STATUS_OK);
    EXPECT_EQ(ReadZip(),
        "\r\n<#DOWN2 |a&#124;b #&#62; c| |" + std::to_string(Message("a|b #> c##").size()) + "| ||#>\r\n"
            + Message("a|b #> c##"));
}

TEST_F(FileCommandsTest, AFailingMailReaderGivesCodeFiveAndNoToken)
{
    // A store the reader cannot open; a message past the store's end is no
    // longer there at all.
    for (const auto& [pszTitle, nOffset, nKind, nStatus] :
        { std::tuple<const char*, LONG, LONG, int> { "closed##", 0, 3, WA_STATUS_MAIL_FAILED },
            std::tuple<const char*, LONG, LONG, int> { "far##", 100000, 0, WA_STATUS_UNAVAILABLE } }) {
        const std::string strRef = CatalogMessage(pszTitle, ' ', nOffset, nKind);
        EXPECT_EQ(Run("<#DOWN2 |" + strRef + "|#>"), nStatus) << nKind;
        EXPECT_EQ(ReadZip(), "") << nKind;
    }
}

/* The path a command names in its log and its reply. */

TEST_F(FileCommandsTest, APathIsNamedByItsParsingName)
{
    const std::string strPath = MakeFile("Data.bin", 5);
    const std::string strFolder = ProgramPath(Home());
    ASSERT_EQ(Run("<#ATTR |" + strFolder + "\\x\\..\\DATA.BIN|#>"), WA_STATUS_OK);
    EXPECT_EQ(m_strLog, "Get ATTRIBUTES - " + strPath);
    const std::string strReply = ReadZip();
    EXPECT_EQ(strReply.rfind("\r\n<#ATTR2 |" + Slashed(strPath) + "| |5| |", 0), 0u) << strReply;
    EXPECT_NE(strReply.find("| |" + Slashed(strPath) + "|#>\r\n"), std::string::npos) << strReply;
}

TEST_F(FileCommandsTest, AMailDocumentIsNamedByItsFolderAndTitle)
{
    const std::string strRef = CatalogMessage("hello##");
    ASSERT_EQ(Run("<#ATTR |" + strRef + "|#>"), WA_STATUS_OK);
    // The catalog keeps its paths lower-cased.
    std::string strStore = ProgramPath(Home() / "inbox");
    std::transform(strStore.begin(), strStore.end(), strStore.begin(), [](char ch) { return std::tolower(ch); });
    EXPECT_EQ(m_strLog, "Get ATTRIBUTES - " + strStore + "#\\hello");
}

/* TIPV: the tip page and the picture after it. */

namespace {

// A 1 x 1 GIF.
const std::string SMALL_GIF("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01"
                            "\x00\x00\x02\x02\x44\x01\x00;",
    35);

void PutLittleEndian(std::string& strData, size_t nAt, uint32_t nValue, int nBytes)
{
    for (int i = 0; i < nBytes; ++i)
        strData[nAt + static_cast<size_t>(i)] = static_cast<char>((nValue >> (8 * i)) & 0xFF);
}

// An uncompressed 24-bit bitmap of nSide x nSide grey pixels.
std::string GreyBitmap(uint32_t nSide)
{
    const uint32_t nRow = (nSide * 3 + 3) / 4 * 4;
    std::string strData(54 + static_cast<size_t>(nRow) * nSide, '\x80');
    strData[0] = 'B';
    strData[1] = 'M';
    PutLittleEndian(strData, 2, static_cast<uint32_t>(strData.size()), 4);
    PutLittleEndian(strData, 6, 0, 4);
    PutLittleEndian(strData, 10, 54, 4);
    PutLittleEndian(strData, 14, 40, 4);
    PutLittleEndian(strData, 18, nSide, 4);
    PutLittleEndian(strData, 22, nSide, 4);
    PutLittleEndian(strData, 26, 1, 2);
    PutLittleEndian(strData, 28, 24, 2);
    for (size_t i = 30; i < 54; ++i)
        strData[i] = '\0';
    return strData;
}

// The IMG token of a reply and the bytes after it; empty when there is none.
std::pair<std::string, std::string> SplitPicture(const std::string& strReply)
{
    const size_t nToken = strReply.find("\r\n<#IMG ");
    if (nToken == std::string::npos)
        return {};
    const size_t nEnd = strReply.find("#>\r\n", nToken) + 4;
    return { strReply.substr(nToken, nEnd - nToken), strReply.substr(nEnd) };
}

// The page commands read their texts from the program's resource module.
class PageCommandsTest : public FileCommandsTest {
protected:
    void SetUp() override
    {
        FileCommandsTest::SetUp();
        const std::filesystem::path module = BinaryRoot() / "app" / "arching.dll";
        m_hModule = LoadLibrary(ProgramPathFromHostPath(module.string()).c_str());
        ASSERT_NE(m_hModule, nullptr) << module;
        AfxSetResourceHandle(m_hModule);
    }
    void TearDown() override
    {
        AfxSetResourceHandle(nullptr);
        if (m_hModule != nullptr)
            FreeLibrary(m_hModule);
        FileCommandsTest::TearDown();
    }

    static std::string StatusLine(UINT nId)
    {
        CString strText;
        strText.LoadString(nId);
        return "Status - </font>" + std::string(strText) + "</font>";
    }

    HMODULE m_hModule { nullptr };
};

} // namespace

TEST_F(PageCommandsTest, TipOfATextFileShowsItsEscapedTextWithoutAPicture)
{
    std::ofstream(Home() / "note.txt") << "a <b> & c\nline two";
    const std::string strPath = ProgramPath(Home() / "note.txt");
    ASSERT_EQ(Run("<#TIPV |" + strPath + "|#>"), WA_STATUS_OK);
    const std::string strReply = ReadZip();
    EXPECT_EQ(strReply.rfind("\r\n<#HTML |tipview|#>\r\n", 0), 0u);
    EXPECT_NE(strReply.find("a &#60;b> &#38; c<br>line two</font></td>"), std::string::npos);
    EXPECT_NE(strReply.find(StatusLine(IDS_WA_TIP_READY)), std::string::npos) << strReply;
    EXPECT_EQ(strReply.find("<#imgsrc#>"), std::string::npos);
    EXPECT_EQ(strReply.find("<#IMG"), std::string::npos);
    EXPECT_EQ(m_strLog, "Get TIPVIEW - " + strPath);
}

TEST_F(PageCommandsTest, TipOfAMissingPathIsRefusedAsMissing)
{
    EXPECT_EQ(Run("<#TIPV |" + ProgramPath(Home() / "gone.txt") + "|#>"), WA_STATUS_MISSING);
}

TEST_F(PageCommandsTest, TipOfASmallGifSendsTheFileUnchangedAfterThePage)
{
    std::ofstream(Home() / "dot.gif", std::ios::binary) << SMALL_GIF;
    ASSERT_EQ(Run("<#TIPV |" + ProgramPath(Home() / "dot.gif") + "|#>"), WA_STATUS_OK);
    const std::string strReply = ReadZip();
    EXPECT_EQ(strReply.rfind("\r\n<#HTML |tipimage|#>\r\n", 0), 0u);
    EXPECT_NE(strReply.find("<img src='<#imgsrc#>'>"), std::string::npos);
    const auto [strToken, strBytes] = SplitPicture(strReply);
    EXPECT_EQ(strToken, "\r\n<#IMG |" + std::to_string(SMALL_GIF.size()) + "| |gif|#>\r\n");
    EXPECT_EQ(strBytes, SMALL_GIF);
    // The page ends before the token.
    EXPECT_NE(strReply.find("\r\n<#/HTML#>\r\n\r\n<#IMG"), std::string::npos);
}

TEST_F(PageCommandsTest, TipOfALargeBitmapSendsItsSmallerRenderingAndRemovesIt)
{
    std::ofstream(Home() / "grey.bmp", std::ios::binary) << GreyBitmap(300);
    ASSERT_EQ(Run("<#TIPV |" + ProgramPath(Home() / "grey.bmp") + "|#>"), WA_STATUS_OK);
    const auto [strToken, strBytes] = SplitPicture(ReadZip());
    EXPECT_EQ(strToken, "\r\n<#IMG |" + std::to_string(strBytes.size()) + "| |png|#>\r\n");
    EXPECT_EQ(strBytes.rfind("\x89PNG", 0), 0u);
    EXPECT_FALSE(std::filesystem::exists(Home() / "program" / "~kdimg.~kd"));
}

TEST_F(PageCommandsTest, TipOfAPictureThatCannotBeRenderedShowsNoPreview)
{
    // A large file that only looks like a JPEG: neither sent nor rendered.
    std::string strData(30000, '\x55');
    strData.replace(0, 3, "\xFF\xD8\xFF");
    std::ofstream(Home() / "broken.jpg", std::ios::binary) << strData;
    ASSERT_EQ(Run("<#TIPV |" + ProgramPath(Home() / "broken.jpg") + "|#>"), WA_STATUS_OK);
    const std::string strReply = ReadZip();
    EXPECT_EQ(strReply.rfind("\r\n<#HTML |tipview|#>\r\n", 0), 0u);
    EXPECT_NE(strReply.find(StatusLine(IDS_WA_TIP_NO_PREVIEW)), std::string::npos);
    EXPECT_EQ(strReply.find("<#IMG"), std::string::npos);
}

TEST_F(PageCommandsTest, TipOfACatalogDocumentShowsItsDescription)
{
    std::ofstream(Home() / "doc.txt") << "body text";
    const std::string strReference = CatalogFile(ProgramPath(Home() / "doc.txt"));
    ASSERT_EQ(Run("<#TIPV |" + strReference + "|#>"), WA_STATUS_OK);
    const std::string strReply = ReadZip();
    EXPECT_NE(strReply.find("<b>Description</b>"), std::string::npos);
    EXPECT_NE(strReply.find("body text</font></td>"), std::string::npos);
}

TEST_F(PageCommandsTest, TipOfAProtectedMessageShowsTheNoticeNotTheMessage)
{
    const std::string strReference = CatalogMessage("secret##", ' ', sizeof SEPARATOR - 1, 0, "key");
    ASSERT_EQ(Run("<#TIPV |" + strReference + "|#>"), WA_STATUS_OK);
    const std::string strReply = ReadZip();
    EXPECT_NE(strReply.find("This message is protected by a password."), std::string::npos);
    EXPECT_EQ(strReply.find("The body."), std::string::npos);
}

TEST_F(PageCommandsTest, TipPageValuesLoseTheLineBreaksAtTheirEnd)
{
    CWATipPage page;
    page.strPath = "C:\\a<b.txt";
    page.strLocation = "first\nsecond\n\n";
    page.bDocument = true;
    CWAOutputFile reply;
    ASSERT_TRUE(reply.Open(ProgramPath(m_strReply).c_str(), FALSE));
    WriteTipPage(reply, page);
    reply.Close();
    const std::string strPage = ReadPlain();
    EXPECT_NE(strPage.find("size='2'>first<br>second</font><br><br>"), std::string::npos);
    EXPECT_NE(strPage.find("size='2'>C:&#92;a&#60;b.txt</font>"), std::string::npos);
}

/* VUPL: the files of the upload folder. */

TEST_F(PageCommandsTest, UploadsPageListsTheVisibleFilesInNameOrder)
{
    std::filesystem::create_directories(Home() / "up" / "sub");
    std::ofstream(Home() / "up" / "b.txt") << "12345";
    std::ofstream(Home() / "up" / "a.txt") << std::string(2048, 'x');
    std::ofstream(Home() / "up" / ".hidden") << "h";
    m_settings.m_profiles.front()->SetIdentity("pw", "pw", ProgramPath(Home() / "up").c_str());
    ASSERT_EQ(Run("<#VUPL#>"), WA_STATUS_OK);
    const std::string strReply = ReadZip();
    EXPECT_EQ(strReply.rfind("\r\n<#HTML |files|#>\r\n", 0), 0u);
    const size_t nA = strReply.find("&nbsp;a.txt</a>");
    const size_t nB = strReply.find("&nbsp;b.txt</a>");
    ASSERT_NE(nA, std::string::npos);
    ASSERT_NE(nB, std::string::npos);
    EXPECT_LT(nA, nB);
    EXPECT_EQ(strReply.find("&nbsp;sub</a>"), std::string::npos);
    EXPECT_EQ(strReply.find(".hidden"), std::string::npos);
    EXPECT_NE(strReply.find("<a class='s1'>2 KB</a>"), std::string::npos);
    EXPECT_NE(strReply.find("ShowMenuExp(&quot;MIE&quot;,&quot;" + Slashed(ProgramPath(Home() / "up" / "a.txt"))),
        std::string::npos);
    // Two rows, and a filler for the eighteen missing ones.
    EXPECT_NE(strReply.find("width='240'height='360'"), std::string::npos);
    // The profile may not upload, yet the page offers it.
    EXPECT_NE(strReply.find("parent.applet.document.wa.upl2()"), std::string::npos);
    EXPECT_EQ(m_strLog, "View Uploaded");
}

TEST_F(PageCommandsTest, UploadedNamesCannotLeaveTheirTextOrScriptString)
{
    std::filesystem::create_directories(Home() / "up");
    std::ofstream(Home() / "up" / "it's \"q\" <b>.txt") << "x";
    m_settings.m_profiles.front()->SetIdentity("pw", "pw", ProgramPath(Home() / "up").c_str());
    ASSERT_EQ(Run("<#VUPL#>"), WA_STATUS_OK);
    const std::string strReply = ReadZip();
    EXPECT_NE(strReply.find("&nbsp;it&#39;s &#34;q&#34; &#60;b>.txt</a>"), std::string::npos);
    EXPECT_NE(strReply.find("it\\x27s \\x22q\\x22 \\x3Cb\\x3E.txt&quot;);'"), std::string::npos);
}

TEST_F(PageCommandsTest, UploadsPageWithoutAFolderListsNothing)
{
    ASSERT_EQ(Run("<#VUPL#>"), WA_STATUS_OK);
    const std::string strReply = ReadZip();
    EXPECT_NE(strReply.find("width='240'height='400'"), std::string::npos);
    EXPECT_EQ(strReply.find("ShowMenuExp"), std::string::npos);
}

TEST_F(PageCommandsTest, VuplTakesNoFields)
{
    const auto pCommand = CreateWebCommand("<#VUPL |x|#>");
    ASSERT_NE(pCommand, nullptr);
    EXPECT_EQ(pCommand->GetStatus(), WA_STATUS_MALFORMED);
}

/* EDIR: one folder of the computer. */

TEST_F(PageCommandsTest, ExplorerPageShowsTheFolderItsSiblingsAndItsItems)
{
    std::filesystem::create_directories(Home() / "box" / "inner");
    std::filesystem::create_directories(Home() / "other");
    std::ofstream(Home() / "box" / "one.txt") << std::string(1025, 'x');
    // The folder in its long form is found among its siblings as well.
    const std::string strFolder = ProgramPath(Home() / "box");
    ASSERT_EQ(Run("<#EDIR |" + Slashed(strFolder) + "|#>"), WA_STATUS_OK);
    const std::string strReply = ReadZip();
    EXPECT_EQ(strReply.rfind("\r\n<#HTML |files|#>\r\n", 0), 0u);
    // The current sibling is drawn in focus, the one before it as such.
    EXPECT_NE(strReply.find("gbk_foc.gif'width='175'height='26'valign='middle'><a class='s2'"), std::string::npos);
    EXPECT_NE(strReply.find("fld_foc.gif'width='16'height='16'align='texttop'>&nbsp;box</a>"), std::string::npos);
    EXPECT_NE(strReply.find("align='texttop'>&nbsp;other</a>"), std::string::npos);
    // The ".." row leads to the parent; the folder and the file follow it.
    const size_t nUp = strReply.find("src='img/fld_up.gif'width='16'height='16'>&nbsp;..</a>");
    const size_t nInner = strReply.find("src='img/fld.gif'width='16'height='16'>&nbsp;inner</a>");
    const size_t nFile = strReply.find("src='img/file.gif'width='16'height='16'>&nbsp;one.txt</a>");
    ASSERT_NE(nUp, std::string::npos);
    EXPECT_LT(nUp, nInner);
    EXPECT_LT(nInner, nFile);
    EXPECT_NE(strReply.find("<a class='s1'>2 KB</a>"), std::string::npos);
    EXPECT_NE(strReply.find("width='240'height='360'"), std::string::npos);
    // The path bar ends in the folder itself, without a link.
    EXPECT_NE(strReply.find("&nbsp;<a class='s5'>&#92</a>&nbsp;<a class='s5'>box</a>"), std::string::npos);
    EXPECT_EQ(m_strLog, "Get Explorer DIR - " + strFolder);
}

TEST_F(PageCommandsTest, ExplorerPageOfADriveRootHasNoUpRow)
{
    ASSERT_EQ(Run("<#EDIR |C:/|#>"), WA_STATUS_OK);
    const std::string strReply = ReadZip();
    EXPECT_EQ(strReply.find("img/fld_up.gif"), std::string::npos);
    EXPECT_NE(strReply.find("&nbsp;&nbsp;<a class='s5'>C:</a></td>"), std::string::npos);
}

TEST_F(PageCommandsTest, ExplorerTokensAreCheckedFieldByField)
{
    const auto Status = [](const char* pszToken) { return CreateWebCommand(pszToken)->GetStatus(); };
    EXPECT_EQ(Status("<#EDIR |C:/x|#>"), WA_STATUS_OK);
    EXPECT_EQ(Status("<#EDIR |C:/x| ||#>"), WA_STATUS_OK);
    EXPECT_EQ(Status("<#EDIR |C:/x| |A|#>"), WA_STATUS_OK);
    EXPECT_EQ(Status("<#EDIR |C:/x| |B|#>"), WA_STATUS_MALFORMED);
    EXPECT_EQ(Status("<#EDIR |relative/x|#>"), WA_STATUS_MALFORMED);
    EXPECT_EQ(Status(("<#EDIR |C:/" + std::string(257, 'a') + "|#>").c_str()), WA_STATUS_MALFORMED);
    const auto pCommand = CreateWebCommand("<#EDIR |C:/x/y| |A-|#>");
    const auto& edir = static_cast<const CWACmdEdir&>(*pCommand);
    EXPECT_EQ(edir.GetFolder(), CString("C:\\x\\y"));
    EXPECT_FALSE(edir.GetViewFlag());
}
