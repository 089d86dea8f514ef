#include "webaccess/directory/CatalogListReply.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::vector<std::string> Lines(const std::vector<CWACatalogEntry>& catalogs)
{
    std::vector<std::string> lines;
    for (const CWACatalogEntry& entry : catalogs)
        lines.push_back(std::string(entry.strName) + "-" + std::string(entry.strCode));
    return lines;
}

TEST(CatalogListReplyTest, CatalogsUpToTheEndTokenInOrder)
{
    EXPECT_EQ(Lines(ParseCatalogList("<#WARC |0| |ok| <#CAT |Docs| |C0DE42| <#CAT |Café <b>| |X9|<#END#>")),
        (std::vector<std::string> { "Docs-C0DE42", "Café <b>-X9" }));
    // Text between the tokens that holds no "<#" is passed over.
    EXPECT_EQ(Lines(ParseCatalogList("<#WARC |0| |ok|\r\n<#CAT |A| |1|\r\n<#END#> trailing <#junk")),
        (std::vector<std::string> { "A-1" }));
}

TEST(CatalogListReplyTest, EveryMalformedShapeIsTheEmptyCase)
{
    for (const char* pszReply : {
             "<#WARC |0| |ok|<#END#>",                         // no catalog
             "<#WARC |0| |ok| <#CAT |A| |1|",                  // no end token
             "<#WARC |0| |ok| <#CAT |A| |1| <#OTHER#><#END#>", // an unknown token
             "<#WARC |0| |ok| <#CAT |A| |1<#END#>",            // a missing fourth bar
             "<#WARC |0| |ok| <#CAT |A|",                      // bars missing at the end
             "",
             "<",
         })
        EXPECT_TRUE(ParseCatalogList(pszReply).empty()) << pszReply;
}

TEST(CatalogListReplyTest, FieldsAreBoundedAndCleaned)
{
    std::string strName(MAX_FIELD_BYTES - 1, 'n');
    strName += "\xC3\xA9"; // "é" would end one byte past the limit
    std::string strReply = "<#WARC |0| |ok| <#CAT |" + strName + "| |a\tb\x01|<#END#>";
    std::vector<CWACatalogEntry> catalogs = ParseCatalogList(strReply.c_str());
    ASSERT_EQ(catalogs.size(), 1U);
    EXPECT_EQ(std::string(catalogs[0].strName), std::string(MAX_FIELD_BYTES - 1, 'n'));
    EXPECT_EQ(std::string(catalogs[0].strCode), "a b ");

    std::string strMany = "<#WARC |0| |ok|";
    for (size_t i = 0; i < MAX_CATALOGS + 5; ++i)
        strMany += "<#CAT |n| |" + std::to_string(i) + "|";
    strMany += "<#END#>";
    catalogs = ParseCatalogList(strMany.c_str());
    ASSERT_EQ(catalogs.size(), MAX_CATALOGS);
    EXPECT_EQ(std::string(catalogs.back().strCode), std::to_string(MAX_CATALOGS - 1));
}

} // namespace
