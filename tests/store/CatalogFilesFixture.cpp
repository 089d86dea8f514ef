#include "tests/store/CatalogFilesFixture.h"

#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

void CatalogFilesTest::WritePair(const std::string& strMarker)
{
    {
        auto pMain = NewMainCatalog("archiv.cat");
        ASSERT_TRUE(pMain->IsOpen());
        auto pSystem = AddNode(*Root(*pMain), strMarker.c_str());
        AddDocument(*pMain, pSystem.get(), ("c:\\" + strMarker + "\\doc.txt").c_str());
        ASSERT_TRUE(pMain->SetHeaderStrings(strMarker.c_str(), ""));
    }
    auto pRecycle = NewMainCatalog("winrec.cat", TRUE);
    ASSERT_TRUE(pRecycle->IsOpen());
    ASSERT_TRUE(pRecycle->SetHeaderStrings(strMarker.c_str(), ""));
}

void CatalogFilesTest::MakeGeneration(const std::string& strMarker, int nKeep)
{
    WritePair(strMarker);
    ASSERT_TRUE(Files().MakeGeneration(nKeep)) << strMarker;
}

std::string CatalogFilesTest::Marker(const std::string& strName) const
{
    // Header text 1 lies at byte 20 of the file, NUL-terminated within 24 bytes.
    std::vector<BYTE> bytes = FileBytes(strName);
    if (bytes.size() < FILE_HEADER_SIZE)
        return {};
    const char* pszText = reinterpret_cast<const char*>(bytes.data() + 20);
    return std::string(pszText, strnlen(pszText, HEADER_TEXT_SIZE));
}

void CatalogFilesTest::ExpectGeneration(int nGeneration, const std::string& strMarker) const
{
    EXPECT_EQ(Marker("archiv" + std::to_string(nGeneration) + ".bck"), strMarker) << "generation " << nGeneration;
    EXPECT_EQ(Marker("winrec" + std::to_string(nGeneration) + ".bck"), strMarker) << "generation " << nGeneration;
}

bool CatalogFilesTest::HoldsSystem(const std::string& strMarker)
{
    auto pMain = OpenCatalog("archiv.cat");
    if (!pMain->IsOpen() || !pMain->IsWritable())
        return false;
    std::unique_ptr<CNodeRec> pSystem(Root(*pMain)->FindChildByName(strMarker.c_str()));
    return pSystem && pSystem->CountDocuments() == 1;
}

CCatalogFiles CatalogFilesTest::Files() const
{
    return CCatalogFiles(ProgramPath("archiv.cat").c_str(), ProgramPath("winrec.cat").c_str());
}

CatalogFilesTest::Snapshot CatalogFilesTest::TakeSnapshot() const
{
    Snapshot snapshot;
    for (const auto& entry : fs::directory_iterator(Home())) {
        if (entry.is_regular_file())
            snapshot[entry.path().filename().string()] = FileBytes(entry.path().filename().string());
    }
    return snapshot;
}

void CatalogFilesTest::RestoreSnapshot(const Snapshot& snapshot) const
{
    for (const auto& entry : fs::directory_iterator(Home())) {
        if (entry.is_regular_file())
            fs::remove(entry.path());
    }
    for (const auto& [strName, bytes] : snapshot)
        WriteFileBytes(bytes, strName);
}
