#include "webaccess/server/CWAUnzipReader.h"

#include "platform/base/PathMap.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <minizip/zip.h>

namespace fs = std::filesystem;

namespace {

struct Entry {
    std::string strName;
    std::string strBytes;
    unsigned long nUnixMode { 0100644 };
    int nMethod { Z_DEFLATED };
    const char* pszPassword { nullptr };
};

class CWAUnzipReaderTest : public testing::Test {
protected:
    // Writes an archive made on a Unix system, so that the entries carry their modes.
    std::string Archive(const std::vector<Entry>& entries)
    {
        fs::path path = m_folder.Path() / ("upload" + std::to_string(++m_nArchives) + ".zip");
        zipFile hZip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
        EXPECT_NE(hZip, nullptr);
        for (const Entry& entry : entries) {
            zip_fileinfo info {};
            info.external_fa = entry.nUnixMode << 16;
            EXPECT_EQ(zipOpenNewFileInZip4(hZip, entry.strName.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                          entry.nMethod, Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY,
                          entry.pszPassword, 0, 3 << 8 | 20, 0),
                ZIP_OK);
            zipWriteInFileInZip(hZip, entry.strBytes.data(), static_cast<unsigned>(entry.strBytes.size()));
            zipCloseFileInZip(hZip);
        }
        zipClose(hZip, nullptr);
        return ProgramPathFromHostPath(path.string());
    }

    std::string Target() const { return ProgramPathFromHostPath((m_folder.Path() / "id.$$2").string()); }

    std::string TargetBytes() const
    {
        std::ifstream file(m_folder.Path() / "id.$$2", std::ios::binary);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }

    // The names in the folder apart from the archives.
    std::vector<std::string> Outputs() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(m_folder.Path()))
            if (entry.path().extension() != ".zip")
                names.push_back(fs::relative(entry.path(), m_folder.Path()).string());
        return names;
    }

    void RemoveTarget() { fs::remove(m_folder.Path() / "id.$$2"); }

    ScratchFolder m_folder { "unzip" };
    int m_nArchives { 0 };
};

} // namespace

TEST_F(CWAUnzipReaderTest, OnlyTheFirstEntryIsUnpackedAndOnlyIntoTheTarget)
{
    for (const char* pszName : { "../x", "/abs/x", "C:\\x", "a\\..\\..\\x", "plain.txt" }) {
        std::string strArchive = Archive({ { pszName, "first" }, { "../second", "second" } });
        EXPECT_TRUE(UnzipToFile(strArchive.c_str(), Target().c_str())) << pszName;
        EXPECT_EQ(TargetBytes(), "first");
        EXPECT_EQ(Outputs(), std::vector<std::string> { "id.$$2" }) << pszName;
        RemoveTarget();
    }
    Entry stored { "s", std::string(70000, 's') };
    stored.nMethod = 0;
    EXPECT_TRUE(UnzipToFile(Archive({ stored }).c_str(), Target().c_str()));
    EXPECT_EQ(TargetBytes(), stored.strBytes);
}

TEST_F(CWAUnzipReaderTest, LinksDirectoriesAndEncryptedEntriesAreRefused)
{
    Entry link { "link", "/etc/passwd", 0120777 };
    Entry folder { "dir/", "", 040755 };
    Entry secret { "secret", "hidden", 0100644 };
    secret.pszPassword = "pw";
    Entry device { "fifo", "", 010644 };
    for (const Entry& entry : { link, folder, secret, device }) {
        EXPECT_FALSE(UnzipToFile(Archive({ entry, { "next", "next" } }).c_str(), Target().c_str())) << entry.strName;
        EXPECT_TRUE(Outputs().empty()) << entry.strName;
    }
    // Some zippers write the permissions alone, without the kind of file.
    EXPECT_TRUE(UnzipToFile(Archive({ { "bare", "bare mode", 0600 } }).c_str(), Target().c_str()));
    EXPECT_EQ(TargetBytes(), "bare mode");
}

TEST_F(CWAUnzipReaderTest, TheOutputStopsAtItsLimitAndNeverReplacesAFile)
{
    std::string strArchive = Archive({ { "zeros", std::string(10 * 1024 * 1024, '\0') } });
    EXPECT_FALSE(UnzipToFile(strArchive.c_str(), Target().c_str(), 1024 * 1024));
    EXPECT_LE(fs::file_size(m_folder.Path() / "id.$$2"), 1024u * 1024 + 64 * 1024);
    EXPECT_FALSE(UnzipToFile(strArchive.c_str(), Target().c_str())); // the target exists
    RemoveTarget();

    CWAUnzipReader reader;
    ASSERT_TRUE(reader.Open(strArchive.c_str(), Target().c_str(), 10 * 1024 * 1024));
    int nTurns = 1;
    while (reader.Continue(1024 * 1024) == CWAUnzipReader::Step::More)
        ++nTurns;
    EXPECT_GE(nTurns, 10);
    EXPECT_EQ(fs::file_size(m_folder.Path() / "id.$$2"), 10u * 1024 * 1024);
}

TEST_F(CWAUnzipReaderTest, DamagedArchivesFail)
{
    std::string strArchive = Archive({ { "text", std::string(50000, 't') + "end" } });
    std::string strHost;
    ASSERT_TRUE(HostPathFromProgramPath(strArchive.c_str(), strHost));
    std::fstream file(strHost, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(60);
    file.write("\xFF\xFF\xFF\xFF", 4); // inside the compressed data
    file.close();
    EXPECT_FALSE(UnzipToFile(strArchive.c_str(), Target().c_str()));
    RemoveTarget();
    std::ofstream(m_folder.Path() / "junk.zip") << "not a zip archive";
    EXPECT_FALSE(
        UnzipToFile(ProgramPathFromHostPath((m_folder.Path() / "junk.zip").string()).c_str(), Target().c_str()));
    EXPECT_TRUE(Outputs().empty());
}
