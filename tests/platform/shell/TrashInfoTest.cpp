#include "platform/shell/TrashInfo.h"

#include <gtest/gtest.h>

TEST(TrashInfoTest, WrittenInfoReadsBack)
{
    std::time_t tWhen = 1700000000;
    for (const char* pszPath : { "/home/ana/plan b.txt", "/home/ana/caf\xC3\xA9 100%.txt", "/x/a\nb" }) {
        CTrashInfo info;
        ASSERT_TRUE(ParseTrashInfo(FormatTrashInfo(pszPath, "", tWhen), "", info)) << pszPath;
        EXPECT_EQ(info.strPath, pszPath);
        EXPECT_EQ(info.strDeletionDate.size(), 19u);
    }
    // A top-directory trash records the path below its top directory.
    std::string strText = FormatTrashInfo("/media/usb/photos/a b.png", "/media/usb", tWhen);
    EXPECT_NE(strText.find("Path=photos/a%20b.png\n"), std::string::npos) << strText;
    CTrashInfo info;
    ASSERT_TRUE(ParseTrashInfo(strText, "/media/usb", info));
    EXPECT_EQ(info.strPath, "/media/usb/photos/a b.png");
}

TEST(TrashInfoTest, OtherProgramsSpellingsAreRead)
{
    CTrashInfo info;
    ASSERT_TRUE(ParseTrashInfo("# made elsewhere\r\n[Trash Info]\r\nDeletionDate = 2024-03-01T14:05:09\r\n"
                               "Path = /home/ana/%7Enotes%2etxt\r\n",
        "", info));
    EXPECT_EQ(info.strPath, "/home/ana/~notes.txt");
    EXPECT_EQ(info.strDeletionDate, "2024-03-01T14:05:09");
}

TEST(TrashInfoTest, DamageMeansNoInformation)
{
    const char* damaged[] = {
        "Path=/a\nDeletionDate=2024-03-01T14:05:09\n",      // no group
        "[Trash Info]\nDeletionDate=2024-03-01T14:05:09\n", // no path
        "[Trash Info]\nPath=/a%2\n",                        // a cut escape
        "[Trash Info]\nPath=/a%00b\n",                      // an encoded NUL
        "[Trash Info]\nPath=/a%zz\n",                       // not hexadecimal
        "[Trash Info]\nPath=relative.txt\n",                // relative in the home trash
        "[Trash Info]\nPath=/a\nDeletionDate=yesterday\n",  // a date of another form
        "[Trash Info]\nPath=/a\ngarbage\n",                 // a line without "="
        "[Other]\nPath=/a\n",                               // another group
    };
    for (const char* pszText : damaged) {
        CTrashInfo info { "unchanged", "" };
        EXPECT_FALSE(ParseTrashInfo(pszText, "", info)) << pszText;
        EXPECT_EQ(info.strPath, "unchanged");
    }
    EXPECT_FALSE(ParseTrashInfo(std::string(TRASH_INFO_MAX_SIZE + 1, '\n'), "", *std::make_unique<CTrashInfo>()));
}
