// The strings the web access code loads from the resource module: every ID
// its sources name is present, and each text fits where the pages, tokens
// and log lines put it.

#include "resources/ResourceIds.h"

#include "platform/base/CString.h"
#include "platform/base/PathMap.h"
#include "platform/base/ResourceModule.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string ReadText(const std::filesystem::path& path)
{
    std::ifstream stream(path);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

// Every "#define IDS_... <number>" of the ID header.
std::map<std::string, unsigned> StringIds()
{
    std::map<std::string, unsigned> ids;
    const std::string strHeader = ReadText(SourceRoot() / "resources" / "ResourceIds.h");
    const std::regex define(R"(#define\s+(IDS_\w+)\s+(\d+))");
    for (std::sregex_iterator it(strHeader.begin(), strHeader.end(), define), end; it != end; ++it)
        ids[(*it)[1]] = static_cast<unsigned>(std::stoul((*it)[2]));
    return ids;
}

// The IDS_ names used by the sources of the web access service.
std::set<std::string> NamesUsedByTheWebCode()
{
    std::set<std::string> names;
    const std::regex name(R"(\bIDS_\w+)");
    for (const auto& entry : std::filesystem::recursive_directory_iterator(SourceRoot() / "webaccess")) {
        if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h")
            continue;
        const std::string strSource = ReadText(entry.path());
        for (std::sregex_iterator it(strSource.begin(), strSource.end(), name), end; it != end; ++it)
            names.insert(it->str());
    }
    return names;
}

class WebStringsTest : public testing::Test {
protected:
    void SetUp() override
    {
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
    }

    static std::string Load(unsigned nId)
    {
        CString strText;
        strText.LoadString(nId);
        return static_cast<LPCTSTR>(strText);
    }

    HMODULE m_hModule { nullptr };
};

TEST_F(WebStringsTest, EveryStringTheWebCodeNamesIsInTheModule)
{
    const std::map<std::string, unsigned> ids = StringIds();
    const std::set<std::string> names = NamesUsedByTheWebCode();
    ASSERT_GE(names.size(), 15u) << "the scan of the web sources found too few names";
    for (const std::string& strName : names) {
        const auto it = ids.find(strName);
        ASSERT_NE(it, ids.end()) << strName << " is not defined in ResourceIds.h";
        EXPECT_FALSE(Load(it->second).empty()) << strName << " (" << it->second << ") has no text";
    }
}

TEST_F(WebStringsTest, TextsAreSafeInPagesTokensAndLogLines)
{
    // The pages write most of these texts without escaping them, error texts
    // travel in a "<#ERR |...|#>" token, and log lines end at a line break.
    for (const auto& [strName, nId] : StringIds()) {
        if (strName.rfind("IDS_WA_", 0) != 0)
            continue;
        const std::string strText = Load(nId);
        EXPECT_EQ(strText.find_first_of("<>&'\"|\r\n"), std::string::npos) << strName << ": " << strText;
    }
}

TEST_F(WebStringsTest, CountTextTakesTwoNumbers)
{
    // The pages format it with two ints: the items shown and the items in all.
    const std::string strText = Load(IDS_WA_ITEM_COUNT);
    const std::regex conversion("%.");
    std::vector<std::string> conversions;
    for (std::sregex_iterator it(strText.begin(), strText.end(), conversion), end; it != end; ++it)
        conversions.push_back(it->str());
    EXPECT_EQ(conversions, (std::vector<std::string> { "%d", "%d" })) << strText;

    CString strCount;
    strCount.Format(strText.c_str(), 20, 57);
    const std::string strShown = static_cast<LPCTSTR>(strCount);
    EXPECT_LT(strShown.find("20"), strShown.find("57")) << strShown;
}

TEST_F(WebStringsTest, DefaultSiteIsAnAddressWithoutTrailingSlash)
{
    // Request addresses are the site followed by a page name that starts with "/".
    const std::string strSite = Load(IDS_WA_DEFAULT_SITE);
    EXPECT_EQ(strSite.rfind("http://", 0), 0u) << strSite;
    EXPECT_NE(strSite.back(), '/');
}

} // namespace
