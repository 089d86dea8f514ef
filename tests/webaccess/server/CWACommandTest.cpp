#include "webaccess/server/CWACommand.h"

#include "platform/base/PathMap.h"
#include "store/CCatalog.h"
#include "tests/support/TempFolder.h"
#include "webaccess/server/WebCommands.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A file command as ATTR, DOWN2 and TIPV parse it.
class CTestFileCommand : public CWAFileCommand {
public:
    CTestFileCommand()
        : CWAFileCommand(WA_CMD_ATTR)
    {
    }
    CString GetLogText() const override { return ""; }

    using CWAFileCommand::m_eItemKind;
    using CWAFileCommand::m_nBlock;
    using CWAFileCommand::m_nFlag;
    using CWAFileCommand::m_nOffset;
    using CWAFileCommand::m_nSlot;
    using CWAFileCommand::m_strPath;
};

class CTestBasicCommand : public CWABasicCommand {
public:
    CTestBasicCommand()
        : CWABasicCommand(WA_CMD_VUPL)
    {
    }
    CString GetLogText() const override { return ""; }
};

std::unique_ptr<CTestFileCommand> ParseFile(const std::string& strArgs)
{
    auto pCommand = std::make_unique<CTestFileCommand>();
    pCommand->ParseArgs(strArgs.c_str());
    return pCommand;
}

} // namespace

TEST(CWACommandTest, EveryWordIsFoundAndOnlyWhole)
{
    const char* words[] = { "ATTR", "DOWN2", "EDIR", "ETREE", "LOGIN", "LOGOUT", "PAGE", "TIPV", "UPL", "VUPL", "WDIR",
        "WFIND", "WTREE" };
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(FindCommandWord((std::string(words[i]) + " |x|#>").c_str()), i) << words[i];
        EXPECT_EQ(FindCommandWord((std::string(words[i]) + "#>").c_str()), i) << words[i];
    }
    EXPECT_EQ(FindCommandWord("LOGINX |a|#>"), -1);
    EXPECT_EQ(FindCommandWord("WDIRS |1| |2|#>"), -1);
    EXPECT_EQ(FindCommandWord("login |a|#>"), -1);
    EXPECT_EQ(FindCommandWord(""), -1);
    EXPECT_EQ(FindCommandWord("UP"), -1);
}

TEST(CWACommandTest, FactoryNeedsTheTokenOpening)
{
    EXPECT_EQ(CreateWebCommand("PAGE |1|#>"), nullptr);
    EXPECT_EQ(CreateWebCommand("< #PAGE |1|#>"), nullptr);
    EXPECT_EQ(CreateWebCommand("<#LOGINX |a| |b| || |c|#>"), nullptr);
    EXPECT_EQ(CreateWebCommand(""), nullptr);
    EXPECT_EQ(CreateWebCommand(nullptr), nullptr);
}

TEST(CWACommandTest, ConsumedCountsWordWhiteSpaceAndFields)
{
    const auto pCommand = CreateWebCommand("<#PAGE  |12| #>");
    ASSERT_NE(pCommand, nullptr);
    EXPECT_EQ(pCommand->GetStatus(), WA_STATUS_OK);
    EXPECT_EQ(pCommand->GetConsumed(), 4 + 2 + 4 + 1);
}

TEST(CWACommandTest, PageFieldReadsAsAtoi)
{
    const auto check = [](const char* pszToken, int nPage) {
        const auto pCommand = CreateWebCommand(pszToken);
        ASSERT_NE(pCommand, nullptr);
        EXPECT_EQ(pCommand->GetStatus(), WA_STATUS_OK) << pszToken;
        EXPECT_EQ(static_cast<CWACmdPage&>(*pCommand).GetPageNumber(), nPage) << pszToken;
    };
    check("<#PAGE ||#>", 0);
    check("<#PAGE |3x|#>", 3);
    check("<#PAGE |-5|#>", -5);
    check("<#PAGE |99999999999999999999|#>", INT_MAX);
}

TEST(CWACommandTest, MalformedTokensHaveStatusTwo)
{
    for (const char* pszToken : { "<#PAGE |1#>", "<#PAGE 1|#>", "<#PAGE |1|", "<#PAGE |1| x#>", "<#PAGE |1|\n|#>",
             "<#LOGOUT |id|#>", "<#LOGOUT |id| ||#>", "<#LOGIN |id| |name| |pw|#>" }) {
        const auto pCommand = CreateWebCommand(pszToken);
        ASSERT_NE(pCommand, nullptr) << pszToken;
        EXPECT_EQ(pCommand->GetStatus(), WA_STATUS_MALFORMED) << pszToken;
    }
}

TEST(CWACommandTest, LoginPasswordHasAtMostFifteenCharacters)
{
    const auto pLong = CreateWebCommand("<#LOGIN |7| |ana| |0123456789abcdef| |Mozilla|#>");
    EXPECT_EQ(pLong->GetStatus(), WA_STATUS_MALFORMED);
    const auto pMax = CreateWebCommand("<#LOGIN |7| |ana| |0123456789abcde| |Mozilla|#>");
    EXPECT_EQ(pMax->GetStatus(), WA_STATUS_OK);
    const auto pEmpty = CreateWebCommand("<#LOGIN |7| |ana| || |Mozilla|#>");
    ASSERT_EQ(pEmpty->GetStatus(), WA_STATUS_OK);
    EXPECT_STREQ(pEmpty->GetLogText(), "LOGIN ana [7] Mozilla");
    EXPECT_EQ(CreateWebCommand("<#LOGIN || |ana| |pw| |Mozilla|#>")->GetStatus(), WA_STATUS_MALFORMED);
}

TEST(CWACommandTest, LogTextsOfTheSmallCommands)
{
    EXPECT_STREQ(CreateWebCommand("<#LOGOUT |7| |ana|#>")->GetLogText(), "LOGOUT ana [7]");
    EXPECT_STREQ(CreateWebCommand("<#PAGE |4|#>")->GetLogText(), "Get PAGE 4");
}

TEST(CWACommandTest, NumberFieldStopsBeforeOverflow)
{
    LONG nNumber = -1;
    EXPECT_TRUE(ParseNumberField("", 0, &nNumber));
    EXPECT_EQ(nNumber, 0);
    EXPECT_TRUE(ParseNumberField("2147483639", 10, &nNumber));
    EXPECT_EQ(nNumber, 2147483639);
    EXPECT_FALSE(ParseNumberField("2147483640", 10, &nNumber));
    EXPECT_FALSE(ParseNumberField("12a", 3, &nNumber));
    EXPECT_FALSE(ParseNumberField("-1", 2, &nNumber));
    EXPECT_TRUE(ParseNumberField("12|junk", 2, &nNumber));
    EXPECT_EQ(nNumber, 12);
}

TEST(CWACommandTest, BasicCommandTakesOnlyWhiteSpace)
{
    CTestBasicCommand good;
    good.ParseArgs("  #>");
    EXPECT_EQ(good.GetStatus(), WA_STATUS_OK);
    EXPECT_EQ(good.GetConsumed(), 2);
    CTestBasicCommand bad;
    bad.ParseArgs(" |x|#>");
    EXPECT_EQ(bad.GetStatus(), WA_STATUS_MALFORMED);
}

TEST(CWAFileCommandTest, PathItemsUseBackslashesAndAreLookedUpOnlyWhenRun)
{
    TempFolder folder;
    folder.WriteFile("sub/a b.txt", "x");
    std::string strPath = ProgramPathFromHostPath((folder / "sub" / "a b.txt").string());
    for (char& ch : strPath)
        ch = ch == '\\' ? '/' : ch;
    const auto pfound = ParseFile("|" + strPath + "|#>");
    const auto& found = *pfound;
    EXPECT_EQ(found.GetStatus(), WA_STATUS_OK);
    EXPECT_EQ(found.m_eItemKind, CWAFileCommand::ITEM_PATH);
    EXPECT_EQ(CString(found.m_strPath).Find('/'), -1);
    // Whether a path exists is asked only after the session's rights.
    EXPECT_EQ(ParseFile("|" + strPath + ".gone|#>")->GetStatus(), WA_STATUS_OK);
    EXPECT_TRUE(found.NeedsExplorerRight());

    const auto pwithOffset = ParseFile("|" + strPath + "| |120,5| |0|#>");
    const auto& withOffset = *pwithOffset;
    EXPECT_EQ(withOffset.GetStatus(), WA_STATUS_OK);
    EXPECT_EQ(withOffset.m_nOffset, 120);
    EXPECT_EQ(withOffset.m_nFlag, 0);
    EXPECT_EQ(ParseFile("|" + strPath + "| |7|#>")->m_nFlag, 1);
    EXPECT_EQ(ParseFile("|" + strPath + "| || |x|#>")->m_nFlag, 1);
    EXPECT_EQ(ParseFile("|" + strPath + "| || |00|#>")->GetStatus(), WA_STATUS_MALFORMED);
    EXPECT_EQ(ParseFile("|" + strPath + "| |1x|#>")->GetStatus(), WA_STATUS_MALFORMED);
}

TEST(CWAFileCommandTest, PathsFromTheNetworkMustBeDrivePaths)
{
    EXPECT_EQ(ParseFile("|\\\\server\\share\\x|#>")->GetStatus(), WA_STATUS_MALFORMED);
    EXPECT_EQ(ParseFile("|//server/share/x|#>")->GetStatus(), WA_STATUS_MALFORMED);
    EXPECT_EQ(ParseFile("|tmp/x|#>")->GetStatus(), WA_STATUS_MALFORMED);
    EXPECT_EQ(ParseFile("|C:tmp|#>")->GetStatus(), WA_STATUS_MALFORMED);
    EXPECT_EQ(ParseFile("|C:\\a\tb|#>")->GetStatus(), WA_STATUS_MALFORMED);
    EXPECT_EQ(ParseFile("|C:\\" + std::string(257, 'a') + "|#>")->GetStatus(), WA_STATUS_MALFORMED);
    EXPECT_EQ(ParseFile("|C:\\" + std::string(256, 'a') + "|#>")->GetStatus(), WA_STATUS_OK);
}

TEST(CWAFileCommandTest, DocumentReferencesAreCheckedInTheCatalog)
{
    EXPECT_EQ(ParseFile("|*3,x|#>")->GetStatus(), WA_STATUS_MALFORMED);
    EXPECT_EQ(ParseFile("|*3|#>")->GetStatus(), WA_STATUS_MALFORMED);
    EXPECT_EQ(ParseFile("|*2147483640,1|#>")->GetStatus(), WA_STATUS_MALFORMED);
    // Without a catalog no document exists.
    const auto pnone = ParseFile("|*3,4|#>");
    const auto& none = *pnone;
    EXPECT_EQ(none.GetStatus(), WA_STATUS_MISSING);
    EXPECT_FALSE(none.NeedsExplorerRight());
    EXPECT_EQ(none.m_nBlock, 3);
    EXPECT_EQ(none.m_nSlot, 4);
}

class CWAFileCommandCatalogTest : public ProgramFolderTest { };

TEST_F(CWAFileCommandCatalogTest, OnlyDocumentRecordsAreItems)
{
    CCatalog catalog(ProgramPathFromHostPath((Home() / "archiv.cat").string()).c_str(), 1);
    SetWebCatalog(&catalog);
    // Block 1 holds a node, which is no document.
    EXPECT_EQ(ParseFile("|*1,0|#>")->GetStatus(), WA_STATUS_MISSING);
    SetWebCatalog(nullptr);
}
