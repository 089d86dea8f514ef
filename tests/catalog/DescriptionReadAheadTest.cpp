#include "catalog/DescriptionReadAhead.h"

#include "tests/catalog/CatalogDriveFixture.h"

#include "platform/base/FolderListing.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using CFileToRead = CDescriptionReadAhead::CFileToRead;

class DescriptionReadAheadTest : public CatalogDriveTest {
protected:
    // A folder on T: of nFiles files, each with its own text, every fifth one
    // binary, listed; its files to read in their listed order.
    std::vector<CFileToRead> MakeFolder(const std::string& strFolder, int nFiles, CListedFolder& listed) const
    {
        using namespace std::string_literals;
        for (int i = 0; i < nFiles; ++i) {
            WriteOnT(strFolder + "/file" + std::to_string(10000 + i) + ".txt",
                i % 5 == 0 ? "\0binary"s : strFolder + " text\tnumber  " + std::to_string(i));
        }
        EXPECT_TRUE(listed.List(OnT(strFolder + "/").c_str()));
        std::vector<CFileToRead> files;
        for (const CFolderEntry& entry : listed.GetEntries())
            files.push_back({ entry.strName, CString(OnT(strFolder + "/" + entry.strName).c_str()) });
        return files;
    }

    // The descriptions ReadFileDescription gives the files, with their kinds.
    static std::vector<std::pair<EFileText, std::string>> ReadEach(
        const CListedFolder& listed, const std::vector<CFileToRead>& files)
    {
        std::vector<std::pair<EFileText, std::string>> texts;
        for (const CFileToRead& file : files) {
            CString strDescription;
            const EFileText eText = ReadFileDescription(listed, file.strName, file.strPath, strDescription);
            texts.emplace_back(eText, std::string(strDescription));
        }
        return texts;
    }

    static std::pair<EFileText, std::string> Take(CDescriptionReadAhead::CFolderReads& reads, std::size_t nFile)
    {
        CString strDescription;
        const EFileText eText = reads.Take(nFile, strDescription);
        return { eText, std::string(strDescription) };
    }
};

TEST_F(DescriptionReadAheadTest, EveryFileTakenIsDescribedAsReadingItGivesIt)
{
    CListedFolder listed;
    const std::vector<CFileToRead> files
        = MakeFolder("big", static_cast<int>(3 * CDescriptionReadAhead::READ_AHEAD), listed);
    const auto expected = ReadEach(listed, files);
    ASSERT_EQ(expected[1], std::make_pair(EFileText::Text, std::string("big text number 1")));
    ASSERT_EQ(expected[0].first, EFileText::NoText);

    CDescriptionReadAhead pool(3);
    const auto pReads = pool.Queue(listed, files);
    for (std::size_t i = 0; i < files.size(); ++i)
        ASSERT_EQ(Take(*pReads, i), expected[i]) << files[i].strName;
}

TEST_F(DescriptionReadAheadTest, FoldersLeftEarlyGiveUpTheirReadsAndTheirParentsGoOn)
{
    CListedFolder parent;
    CListedFolder child;
    const std::vector<CFileToRead> parentFiles = MakeFolder("parent", 150, parent);
    const std::vector<CFileToRead> childFiles = MakeFolder("parent/child", 400, child);
    const auto parentTexts = ReadEach(parent, parentFiles);
    const auto childTexts = ReadEach(child, childFiles);

    CDescriptionReadAhead pool(3);
    // As a walk that stops in a sub-folder, passing files over, then goes on in its parent, again and again.
    for (int nRound = 0; nRound < 20; ++nRound) {
        const auto pParentReads = pool.Queue(parent, parentFiles);
        ASSERT_EQ(Take(*pParentReads, 0), parentTexts[0]);
        {
            const auto pChildReads = pool.Queue(child, childFiles);
            for (std::size_t i = 0; i < static_cast<std::size_t>(nRound * 7); i += 3)
                ASSERT_EQ(Take(*pChildReads, i), childTexts[i]);
        }
        for (std::size_t i = 1; i < parentFiles.size(); ++i)
            ASSERT_EQ(Take(*pParentReads, i), parentTexts[i]);
    }
}

TEST_F(DescriptionReadAheadTest, WithoutWorkersAFileIsReadWhenItIsTaken)
{
    WriteOnT("two/a.txt", "first");
    WriteOnT("two/b.txt", "before");
    CListedFolder listed;
    ASSERT_TRUE(listed.List(OnT("two/").c_str()));
    CDescriptionReadAhead pool(0);
    const auto pReads = pool.Queue(
        listed, { { "a.txt", CString(OnT("two/a.txt").c_str()) }, { "b.txt", CString(OnT("two/b.txt").c_str()) } });
    EXPECT_EQ(Take(*pReads, 0), std::make_pair(EFileText::Text, std::string("first")));
    WriteOnT("two/b.txt", "after");
    EXPECT_EQ(Take(*pReads, 1), std::make_pair(EFileText::Text, std::string("after")));
}

} // namespace
