#include "catalog/CCatalogUpdate.h"

#include "store/CDirectoryRec.h"
#include "store/CDocumentRec.h"
#include "store/CLibFolderRec.h"
#include "store/CPreferences.h"
#include "store/ProtectedFile.h"
#include "tests/catalog/CatalogDriveFixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A first cataloguing with files read ahead by worker threads gives the
// catalog the walk gives reading each file itself: the same documents in the
// same order, with the same descriptions, protection, attributes and nodes.
class CCatalogUpdateReadAheadTest : public CatalogDriveTest {
protected:
    void SetUp() override
    {
        CatalogDriveTest::SetUp();
        thePreferences.m_dsDir.RemoveAll();
        thePreferences.m_fastUpdateDir.RemoveAll();
        thePreferences.m_fastUpdateDir.Add("t:\\");
        MakeTree();
    }

    void TearDown() override
    {
        thePreferences.m_fastUpdateDir.RemoveAll();
        CatalogDriveTest::TearDown();
    }

    // Every kind of content the descriptions tell apart, names the rules
    // leave out, and folders large and small, files and sub-folders mixed.
    void MakeTree()
    {
        using namespace std::string_literals;
        WriteOnT("docs/plain.txt", "Hello,\tworld\r\n   again");
        WriteOnT("docs/utf16le.txt", "\xFF\xFEG\0r\0\xFC\0\xDF\0e\0"s);
        WriteOnT("docs/utf16be.txt", "\xFE\xFF\0G\0r\0\xFC\0\xDF\0e"s);
        WriteOnT("docs/latin.txt", "caf\xE9 cr\xE8me \x80");
        WriteOnT("docs/page.html", "<html><head><meta charset=\"iso-8859-15\"></head><body><p>Euro \xA4</p></html>");
        WriteOnT("docs/page.htm", "<html><body><h1>Title</h1><p>caf\xC3\xA9</p></body></html>");
        WriteOnT("docs/report.pdf", "%PDF-1.4\n1 0 obj << >> endobj\n");
        WriteOnT("docs/data.bin", "\x01\x02\0\x03 binary"s);
        WriteOnT("docs/picture.png", "\x89PNG\r\n\x1A\n\0\0\0\rIHDR"s);
        WriteOnT("docs/empty.txt", "");
        WriteOnT("docs/long.txt", std::string(5000, 'w') + " end");
        WriteOnT("docs/locked.odt", "a protected text");
        ASSERT_EQ(ProtectFile(OnT("docs/locked.odt").c_str(), "secret", ""), PROTECT_OK);
        WriteOnT("docs/~draft.txt", "left out by its mask");
        WriteOnT("docs/scratch.tmp", "left out by its mask");
        WriteOnT("docs/noextension", "no type");
        WriteOnT("docs/Twin.txt", "one of two");
        WriteOnT("docs/twin.TXT", "two of two");
        WriteOnT("docs/bad\xFF.txt", "a name that is no UTF-8");
        WriteOnT("docs/" + std::string(256, 'n') + ".txt", "a name too long for the catalog");
        fs::create_symlink(HostOnT("docs/plain.txt"), HostOnT("docs/link.txt"));
        ASSERT_EQ(::mkfifo(HostOnT("docs/pipe.txt").c_str(), 0600), 0);
        WriteOnT("docs/a/b/c/d/deep.md", "deep");
        // More files than a worker reads ahead, with folders among them.
        for (int i = 0; i < 700; ++i) {
            const std::string strName = "many/f" + std::to_string(1000 + i);
            WriteOnT(strName + (i % 3 == 0 ? ".bin" : ".txt"),
                i % 7 == 0 ? "\0binary "s + std::to_string(i) : "file number " + std::to_string(i));
            if (i % 100 == 50)
                WriteOnT(strName + "d/inner.txt", "inner " + std::to_string(i));
        }
        // A folder of one file after another, as a tree of small folders has them.
        for (int i = 0; i < 40; ++i)
            WriteOnT("small/s" + std::to_string(i) + "/only.txt", "small " + std::to_string(i));
        // More folders than the walk keeps listed ahead, three levels deep, with files at each level.
        for (int i = 0; i < 12; ++i) {
            const std::string strMiddle = "wide/w" + std::to_string(i);
            WriteOnT(strMiddle + "/middle.txt", "middle " + std::to_string(i));
            for (int j = 0; j < 12; ++j)
                WriteOnT(strMiddle + "/x" + std::to_string(j) + "/y/leaf.txt", "leaf " + std::to_string(i * 12 + j));
        }
    }

    // A catalog set up as the test's own: the types of the tree, the masks of a new catalog.
    static void PrepareCatalog(CCatalog& catalog)
    {
        for (const char* pszExtension : { "html", "htm", "pdf", "bin", "png", "tmp" })
            ASSERT_TRUE(catalog.LoadExtensions(pszExtension));
        ASSERT_TRUE(std::unique_ptr<CLibFolderRec>(catalog.AddLibFolder("~*.*")));
        ASSERT_TRUE(std::unique_ptr<CLibFolderRec>(catalog.AddLibFolder("*.tmp")));
    }

    // Catalogues T: into catalog with nWorkers threads reading ahead.
    static CUpdateTotals Catalogue(CCatalog& catalog, int nMode, int nWorkers)
    {
        CCatalogUpdate update(&catalog, nullptr, CCatalogUpdate::OPTION_FAST_FOLDERS, nullptr);
        CMapStringToPtr roots;
        roots.SetAt("t:\\", reinterpret_cast<void*>(1));
        update.BuildRootMap(roots);
        update.SetReadAheadWorkers(nWorkers);
        EXPECT_TRUE(update.Update(nMode));
        return update.GetTotals();
    }

    // Every document of the catalog in the order of its directory chains,
    // with what its record keeps (but the moment it was catalogued) and the
    // nodes it is linked to.
    static std::vector<std::string> OrderedPicture(CCatalog& catalog)
    {
        std::vector<std::string> picture;
        ForEachDocument(catalog, [&](const CDirectoryRec& directory, CDocumentRec& document) {
            CString strName;
            document.GetFullPath(strName);
            CDocumentInfo info {};
            document.GetInfo(&info);
            std::string strLine = std::string(directory.GetPath()) + std::string(strName) + " | " + info.szDescription
                + " | " + info.szSecondary + " | type " + std::to_string(info.wType) + " | protected "
                + std::to_string(document.IsProtected()) + " | attributes " + std::to_string(info.dwAttributes)
                + " | version " + std::to_string(info.nVersion) + " |";
            for (const auto& pNode : document.GetLinkedNodes())
                strLine += " " + std::to_string(pNode->GetBlock()) + "." + std::to_string(pNode->GetSlot());
            picture.push_back(strLine);
        });
        return picture;
    }

    void ExpectSameCatalogs(int nMode)
    {
        PrepareCatalog(*m_pCatalog);
        const CUpdateTotals serial = Catalogue(*m_pCatalog, nMode, 0);
        std::unique_ptr<CCatalog> pThreaded = NewMainCatalog("threaded.cat");
        ASSERT_TRUE(pThreaded && pThreaded->IsOpen());
        for (const char* pszExtension : { "txt", "odt", "md" })
            ASSERT_TRUE(pThreaded->LoadExtensions(pszExtension));
        PrepareCatalog(*pThreaded);
        const CUpdateTotals threaded = Catalogue(*pThreaded, nMode, 3);

        EXPECT_EQ(threaded.nAdded, serial.nAdded);
        EXPECT_EQ(threaded.nRejected, serial.nRejected);
        EXPECT_EQ(threaded.nSkipped, serial.nSkipped);
        EXPECT_GT(serial.nAdded, 890);
        const std::vector<std::string> expected = OrderedPicture(*m_pCatalog);
        EXPECT_EQ(OrderedPicture(*pThreaded), expected);
        // The kinds of content gave what they give.
        const auto line = [&](const std::string& strStart) {
            for (const std::string& strLine : expected) {
                if (strLine.starts_with(strStart))
                    return strLine;
            }
            return std::string();
        };
        EXPECT_TRUE(line("t:\\docs\\plain.txt | Hello, world again |").size());
        EXPECT_TRUE(line("t:\\docs\\data.bin |  |").size());
        EXPECT_TRUE(line("t:\\docs\\locked.odt |  |").size());
        EXPECT_TRUE(line("t:\\docs\\utf16be.txt | Gr\xC3\xBC\xC3\x9F"
                         "e |")
                        .size());
        EXPECT_TRUE(line("t:\\docs\\twin.txt").empty());
    }
};

TEST_F(CCatalogUpdateReadAheadTest, AnUpdateReadingAheadCataloguesWhatTheSerialWalkDoes)
{
    ExpectSameCatalogs(CCatalogUpdate::MODE_UPDATE);
}

TEST_F(CCatalogUpdateReadAheadTest, AFirstCataloguingReadingAheadOrganisesWhatTheSerialWalkDoes)
{
    ExpectSameCatalogs(CCatalogUpdate::MODE_FIRST);
}

} // namespace
