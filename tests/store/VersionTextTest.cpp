#include "store/VersionText.h"

#include <gtest/gtest.h>

#include <string>

TEST(VersionTextTest, AcceptsOneMarkAndNoSeparatorAndPlacesTheNumber)
{
    for (const char* pszText : { "_v#", "v#", "x #", "#", "(copy #)", "23456789012345#" })
        EXPECT_TRUE(IsValidVersionText(pszText)) << pszText;
    for (const char* pszText : { "", "v", "a#b#", "v#?", "a\\#", "a/#", "\"#", "234567890123456#" })
        EXPECT_FALSE(IsValidVersionText(pszText)) << pszText;

    EXPECT_EQ(std::string(VersionedFileName("v#", "report", "doc", TRUE, 1)), "v1report.doc");
    EXPECT_EQ(std::string(VersionedFileName("_v#", "report", "doc", FALSE, 12)), "report_v12.doc");
    EXPECT_EQ(std::string(VersionedFileName("_v#", "notes", "", FALSE, 2)), "notes_v2");
}
