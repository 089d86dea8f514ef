#include "dialogs/setup/LocationRoots.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

std::set<std::string> Roots(const std::vector<const char*>& locations)
{
    CStringArray array;
    for (const char* psz : locations)
        array.Add(psz);
    CMapStringToPtr roots;
    roots.SetAt("stale", nullptr);
    BuildLocationRoots(array, roots);
    std::set<std::string> keys;
    for (POSITION pos = roots.GetStartPosition(); pos;) {
        CString strKey;
        void* pValue = nullptr;
        roots.GetNextAssoc(pos, strKey, pValue);
        keys.emplace(strKey);
    }
    return keys;
}

} // namespace

TEST(LocationRootsTest, AFolderBelowTheOneListedBeforeItIsNoRoot)
{
    EXPECT_EQ(Roots({ "\\\\srv\\docs", "\\\\srv\\docs\\letters" }), std::set<std::string> { "\\\\srv\\docs" });
    EXPECT_EQ(Roots({ "\\\\srv\\docs\\", "\\\\srv\\docs\\letters" }), std::set<std::string> { "\\\\srv\\docs\\" });
    // Only the row just before counts; the first row is always a root.
    EXPECT_EQ(Roots({ "n:\\a", "n:\\b", "n:\\a\\x" }), (std::set<std::string> { "n:\\a", "n:\\b", "n:\\a\\x" }));
    EXPECT_TRUE(Roots({}).empty());
}

TEST(LocationRootsTest, ASiblingWhoseNameExtendsTheOneBeforeIsARoot)
{
    // "c:\docs" begins with "c:\doc" but is no folder below it.
    EXPECT_EQ(Roots({ "c:\\doc", "c:\\docs" }), (std::set<std::string> { "c:\\doc", "c:\\docs" }));
    EXPECT_EQ(Roots({ "\\\\srv\\a", "\\\\srv\\ab\\c" }), (std::set<std::string> { "\\\\srv\\a", "\\\\srv\\ab\\c" }));
}
