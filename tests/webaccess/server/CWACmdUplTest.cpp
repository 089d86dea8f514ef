#include "webaccess/server/CWACmdUpl.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const CWACmdUpl* Upl(const std::unique_ptr<CWACommand>& pCommand)
{
    return pCommand && pCommand->GetId() == WA_CMD_UPL ? static_cast<const CWACmdUpl*>(pCommand.get()) : nullptr;
}

} // namespace

TEST(CWACmdUplTest, TheNameAndSizeAreReadAndOnlyTheBaseNameIsStored)
{
    auto pCommand = CreateWebCommand("<#UPL |C:/Users/ana/report.doc| |1234|#>");
    ASSERT_NE(Upl(pCommand), nullptr);
    EXPECT_EQ(pCommand->GetStatus(), WA_STATUS_OK);
    EXPECT_EQ(std::string(Upl(pCommand)->GetFileName()), "report.doc");
    EXPECT_EQ(Upl(pCommand)->GetSize(), 1234u);
    EXPECT_EQ(std::string(pCommand->GetLogText()), "UPLOAD - C:\\Users\\ana\\report.doc");
    auto pNoSize = CreateWebCommand("<#UPL |a.txt| ||#>");
    EXPECT_EQ(pNoSize->GetStatus(), WA_STATUS_OK);
    EXPECT_EQ(Upl(pNoSize)->GetSize(), 0u);
    EXPECT_EQ(CreateWebCommand("<#UPL |a.txt| |4294967289|#>")->GetStatus(), WA_STATUS_OK);
    EXPECT_EQ(CreateWebCommand("<#UPL |a.txt| |4294967290|#>")->GetStatus(), WA_STATUS_MALFORMED);
}

TEST(CWACmdUplTest, NamesThatCouldLeaveTheFolderAndBadSizesAreRefused)
{
    for (const char* pszToken : { "<#UPL |..| |1|#>", "<#UPL |a/..| |1|#>", "<#UPL |dir/| |1|#>", "<#UPL |C:| |1|#>",
             "<#UPL |a:b| |1|#>", "<#UPL |a\tb| |1|#>", "<#UPL || |1|#>", "<#UPL |a.txt| |12x|#>",
             "<#UPL |a.txt| | 1|#>", "<#UPL |a.txt| |4294967296|#>", "<#UPL |a.txt|#>", "<#UPL |a.txt| |1| |x|#>" }) {
        auto pCommand = CreateWebCommand(pszToken);
        ASSERT_NE(pCommand, nullptr) << pszToken;
        EXPECT_EQ(pCommand->GetStatus(), WA_STATUS_MALFORMED) << pszToken;
    }
    std::string strLong = "<#UPL |" + std::string(CWACmdUpl::MAX_NAME + 1, 'n') + "| |1|#>";
    EXPECT_EQ(CreateWebCommand(strLong.c_str())->GetStatus(), WA_STATUS_MALFORMED);
}
