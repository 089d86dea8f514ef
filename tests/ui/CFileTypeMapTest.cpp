#include "ui/CFileTypeMap.h"

#include "tests/support/TempFolder.h"
#include "tests/ui/ClassesRootBuilder.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

using CFileTypeMapTest = ProgramFolderTest;

// Description -> extensions, sorted, as the map lists them.
std::map<std::string, std::vector<std::string>> Listed(CFileTypeMap& map)
{
    std::map<std::string, std::vector<std::string>> listed;
    CString strDescription;
    for (CStringArray* pList = map.GetFirst(strDescription); pList; pList = map.GetNext(strDescription)) {
        std::vector<std::string>& extensions = listed[std::string(strDescription)];
        for (int i = 0; i < pList->GetSize(); ++i)
            extensions.emplace_back(pList->GetAt(i));
        std::sort(extensions.begin(), extensions.end());
    }
    return listed;
}

} // namespace

TEST_F(CFileTypeMapTest, CreatableTypesGatherEveryExtensionOfTheirDescription)
{
    SetFileType(".txt", "txtfile", "Text Document", true);
    SetFileType(".text", "textfile", "Text Document", false); // joins through the description
    SetFileType(".odt", "odtfile", "Writer Document", false);
    SetClassesKey(".odt\\odtfile.1\\ShellNew", { { "filename", "C:\\templates\\empty.odt" } }); // deeper, any case
    SetFileType(".rtf", "rtffile", "Rich Text", false);                                         // always creatable
    SetFileType(".lnk", "lnkfile", "Shortcut", true);                                           // never
    SetFileType(".log", "logfile", "Log", false);
    SetClassesKey(".log\\ShellNew", { { "Other", "x" } }); // no creating value
    SetFileType(".ods", "odsfile", "", true);              // no description
    SetClassesKey("txtfile\\shell\\open\\command", { { "", "editor %1" } });

    CFileTypeMap map;
    map.Build();
    const std::map<std::string, std::vector<std::string>> expected {
        { "Rich Text", { ".rtf" } },
        { "Text Document", { ".text", ".txt" } },
        { "Writer Document", { ".odt" } },
    };
    EXPECT_EQ(Listed(map), expected);
    // A second build starts over.
    map.Build();
    EXPECT_EQ(Listed(map), expected);
}

TEST_F(CFileTypeMapTest, IterationEndsAfterTheLastListAndAnEmptyMapHasNone)
{
    CFileTypeMap map;
    CString strDescription;
    map.Build();
    EXPECT_EQ(map.GetFirst(strDescription), nullptr);
    EXPECT_EQ(map.GetNext(strDescription), nullptr);

    SetFileType(".txt", "txtfile", "Text Document", true);
    map.Build();
    ASSERT_NE(map.GetFirst(strDescription), nullptr);
    EXPECT_EQ(strDescription, "Text Document");
    EXPECT_EQ(map.GetNext(strDescription), nullptr);
    EXPECT_EQ(map.GetNext(strDescription), nullptr);
}

TEST_F(CFileTypeMapTest, ShellNewSearchStopsAtItsBoundsAsNotFound)
{
    // Within the depth bound the key counts; one level past it does not.
    std::string strWithin = ".deep";
    for (int i = 1; i < CFileTypeMap::MAX_SEARCH_DEPTH; ++i)
        strWithin += "\\l" + std::to_string(i);
    SetFileType(".deep", "deepfile", "Deep", false);
    SetClassesKey(strWithin + "\\ShellNew", { { "NullFile", "" } });
    std::string strBeyond = ".deeper";
    for (int i = 0; i < CFileTypeMap::MAX_SEARCH_DEPTH; ++i)
        strBeyond += "\\l" + std::to_string(i);
    SetFileType(".deeper", "deeperfile", "Deeper", false);
    SetClassesKey(strBeyond + "\\ShellNew", { { "NullFile", "" } });

    CFileTypeMap map;
    map.Build();
    const auto listed = Listed(map);
    EXPECT_EQ(listed.count("Deep"), 1u);
    EXPECT_EQ(listed.count("Deeper"), 0u);
}
