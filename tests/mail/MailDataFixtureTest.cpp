// The hand-checked stores under tests/mail/data: the readers give what was
// checked by hand, and the fixture builders still write these exact bytes, so
// the synthetic stores of the other tests follow the checked layouts.

#include "mail/COE4Message.h"
#include "mail/COE5Message.h"
#include "mail/MailResult.h"
#include "tests/mail/MailFixtures.h"
#include "tests/mail/MailReaderTestSupport.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

namespace {

std::filesystem::path DataFile(const char* pszName)
{
    return SourceRoot() / "tests" / "mail" / "data" / pszName;
}

} // namespace

TEST(MailDataFixtureTest, OE4PairReadsAsChecked)
{
    COE4Message reader;
    auto results = ReadAll(reader, ProgramPath(DataFile("oe4-two.mbx")));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0].nResult, MAIL_OK);
    EXPECT_EQ(results[0].dwOffset, 0x64u); // Message header at 0x54, text after its 16 bytes
    EXPECT_EQ(results[0].dwLength, 0x79u);
    EXPECT_EQ(results[0].strSubject, "Data 0");
    EXPECT_EQ(results[1].nResult, MAIL_DELETED); // Item at 0x11C has flag byte 01
    EXPECT_EQ(results[1].dwPosition, 0x16Cu);

    COe4Fixture built = BuildOe4Store(FixtureMessages("Data ", 2, 8), { 0, IDX_FLAG_DELETED });
    EXPECT_EQ(built.strMbx, ReadWholeFile(DataFile("oe4-two.mbx")));
    EXPECT_EQ(built.strIdx, ReadWholeFile(DataFile("oe4-two.idx")));
}

TEST(MailDataFixtureTest, DbxReadsAsChecked)
{
    COE5Message reader;
    auto results = ReadAll(reader, ProgramPath(DataFile("oe5-one.dbx")));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0].dwStoreId, 1u);
    EXPECT_EQ(results[0].dwOffset, 0x24BCu); // The first chunk right after the header
    EXPECT_EQ(results[0].dwLength, 0x79u);
    EXPECT_EQ(results[0].strSubject, "Data 0");

    EXPECT_EQ(BuildDbx({ FixtureMessages("Data ", 1, 8)[0] }).strDbx, ReadWholeFile(DataFile("oe5-one.dbx")));
}
