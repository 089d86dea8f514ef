#include "tests/store/CatalogFixture.h"

#include "platform/base/PathMap.h"

#include <fstream>
#include <iterator>
#include <mutex>

// clang-format off
const std::vector<int> g_testRecordSizes = {
    64, 554, 260, 600, 276, 16, 40, 32, 16, 40, 32, 16, 16, 12, 16, 32, 16, 32, 16, 32, 404,
};
// clang-format on

namespace {

std::mutex g_reportMutex;
std::vector<CatalogErrorRecorder::Report> g_reports;

void RecordReport(LPCTSTR pszFileName, LPCTSTR pszText, LPCTSTR pszTitle, UINT nStyle)
{
    std::lock_guard lock(g_reportMutex);
    g_reports.push_back({ pszFileName, pszText, pszTitle, nStyle });
}

}

CatalogErrorRecorder::CatalogErrorRecorder()
    : m_pfnPrevious(SetCatalogErrorHandler(RecordReport))
{
    std::lock_guard lock(g_reportMutex);
    g_reports.clear();
}

CatalogErrorRecorder::~CatalogErrorRecorder()
{
    SetCatalogErrorHandler(m_pfnPrevious);
}

std::vector<CatalogErrorRecorder::Report> CatalogErrorRecorder::Reports() const
{
    std::lock_guard lock(g_reportMutex);
    return g_reports;
}

void CatalogFileTest::SetUp()
{
    ProgramFolderTest::SetUp();
    SetCatalogWriteFailure(0);
}

std::string CatalogFileTest::ProgramPath(const std::string& strName) const
{
    return ProgramPathFromHostPath(HostPath(strName).string());
}

std::unique_ptr<CCatalogFile> CatalogFileTest::NewCatalog(const std::string& strName, LONG nKind)
{
    auto pFile = OpenObject(strName);
    EXPECT_TRUE(pFile->Create(nKind));
    EXPECT_TRUE(pFile->Acquire());
    return pFile;
}

std::unique_ptr<CCatalogFile> CatalogFileTest::OpenObject(const std::string& strName, int nCacheChunks)
{
    return std::make_unique<CCatalogFile>(ProgramPath(strName).c_str(), g_testRecordSizes, nCacheChunks);
}

CRecordRef CatalogFileTest::AddRecord(
    CCatalogFile& file, LONG nTableType, CATBLOCK nFirst, BYTE bFill, CRecordRef owner)
{
    CRecordRef ref;
    EXPECT_TRUE(file.AllocateRecord(nTableType, nFirst, owner, &ref));
    std::vector<BYTE> data(static_cast<std::size_t>(file.GetRecordSize(nTableType)), bFill);
    EXPECT_TRUE(file.WriteRecord(ref, nTableType, data));
    return ref;
}

SampleCatalog CatalogFileTest::BuildSample(CCatalogFile& file)
{
    SampleCatalog sample;
    EXPECT_TRUE(file.NewChain(TABLE_NODE, {}, &sample.nNodes));
    for (BYTE n = 0; n < 3; ++n)
        AddRecord(file, TABLE_NODE, sample.nNodes, n + 1);
    sample.nDocuments = AddRecord(file, TABLE_DOCUMENT, NO_BLOCK, 1, { sample.nNodes, 1 }).nBlock;
    for (BYTE n = 1; n < 20; ++n)
        AddRecord(file, TABLE_DOCUMENT, sample.nDocuments, n + 1);
    sample.nLinks = AddRecord(file, TABLE_LINK, NO_BLOCK, 1, { sample.nNodes, 2 }).nBlock;
    for (BYTE n = 1; n < 5; ++n)
        AddRecord(file, TABLE_LINK, sample.nLinks, n + 1);
    EXPECT_TRUE(file.NewChain(TABLE_KEYWORD, {}, &sample.nEmpty));
    return sample;
}

// The references of a chain's used records, in chain order.
std::vector<CRecordRef> ChainRefs(CCatalogFile& file, CATBLOCK nFirst)
{
    std::vector<CRecordRef> refs;
    for (CRecordRef cursor { nFirst, NO_SLOT }; file.NextRecord(&cursor);)
        refs.push_back(cursor);
    return refs;
}

std::vector<std::vector<BYTE>> CatalogFileTest::ReadChain(CCatalogFile& file, CATBLOCK nFirst, LONG nTableType)
{
    std::vector<std::vector<BYTE>> records;
    CRecordRef cursor { nFirst, NO_SLOT };
    while (file.NextRecord(&cursor)) {
        std::vector<BYTE> data(static_cast<std::size_t>(file.GetRecordSize(nTableType)));
        if (!file.ReadRecord(cursor, nTableType, data))
            break;
        records.push_back(std::move(data));
    }
    return records;
}

std::vector<std::vector<BYTE>> CatalogFileTest::ReadAll(CCatalogFile& file)
{
    std::vector<std::vector<BYTE>> all;
    for (CATBLOCK nBlock = 0; nBlock <= file.GetLastBlock(); ++nBlock) {
        CCatalogBlock* pBlock = file.GetBlock(nBlock);
        if (!pBlock || pBlock->GetHeader().nPrevBlock != NO_BLOCK)
            continue;
        auto chain = ReadChain(file, nBlock, pBlock->GetTableType());
        all.insert(all.end(), chain.begin(), chain.end());
        all.emplace_back(); // marks the end of a chain
    }
    return all;
}

std::vector<BYTE> CatalogFileTest::FileBytes(const std::string& strName) const
{
    std::ifstream in(HostPath(strName), std::ios::binary);
    return std::vector<BYTE>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void CatalogFileTest::WriteFileBytes(const std::vector<BYTE>& bytes, const std::string& strName) const
{
    std::ofstream out(HostPath(strName), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void CatalogFileTest::PokeLong(std::int64_t nOffset, LONG nValue, const std::string& strName) const
{
    std::vector<BYTE> bytes = FileBytes(strName);
    ASSERT_LE(nOffset + 4, static_cast<std::int64_t>(bytes.size()));
    WriteLong(bytes.data() + nOffset, nValue);
    WriteFileBytes(bytes, strName);
}

void CatalogFileTest::PokeByte(std::int64_t nOffset, BYTE bValue, const std::string& strName) const
{
    std::vector<BYTE> bytes = FileBytes(strName);
    ASSERT_LT(nOffset, static_cast<std::int64_t>(bytes.size()));
    bytes[static_cast<std::size_t>(nOffset)] = bValue;
    WriteFileBytes(bytes, strName);
}
