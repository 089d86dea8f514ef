// Links: store
// Lays arbitrary bytes beside a small catalog as its journal, made to name
// that catalog file (so that the frames get read), and opens the catalog,
// which replays what the journal holds; then runs the whole-file check and
// walks the tree. The files go to a temporary folder of this process.

#include "platform/base/Checksum.h"
#include "platform/base/HostFile.h"
#include "platform/base/PathMap.h"
#include "store/CCatalog.h"
#include "store/CDocumentRec.h"
#include "store/CNodeRec.h"
#include "store/CatalogCheck.h"
#include "tests/support/ScratchFolder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

// Where a journal header names its catalog file, and its checksum of the bytes before it.
constexpr std::size_t JOURNAL_FILE_FIELD = 20;
constexpr std::size_t JOURNAL_CRC_FIELD = 112;

void WriteFile(const std::filesystem::path& file, const std::vector<BYTE>& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    static const ScratchFolder folder("journal-fuzz-");
    static std::vector<BYTE> catalogBytes;
    if (!folder.IsValid())
        std::abort();
    const std::filesystem::path catalogFile = folder.Path() / "fuzz.cat";
    const std::string strPath = ProgramPathFromHostPath(catalogFile.string());
    if (catalogBytes.empty()) {
        // A catalog with a few nodes, made once; each input starts from its bytes.
        if (!CCatalog::CreateFile(FALSE, strPath.c_str(), BLOCK_SIZE))
            std::abort();
        {
            CCatalog catalog(strPath.c_str(), 0);
            std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
            CNodeInfo info {};
            std::strcpy(info.szName, "Group");
            std::unique_ptr<CNodeRec> pGroup(pRoot->AddChild(info));
            std::unique_ptr<CDocumentRec> pDocument(catalog.FindOrAddPath(pGroup.get(), "c:\\fuzz\\a.txt"));
        }
        std::ifstream in(catalogFile, std::ios::binary);
        catalogBytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    WriteFile(catalogFile, catalogBytes);
    std::vector<BYTE> journal(pData, pData + nSize);
    if (journal.size() >= JOURNAL_CRC_FIELD + 4) {
        CHostFile host;
        if (!host.Open(strPath.c_str(), CHostFile::Access::Read))
            std::abort();
        std::uint64_t nIdentity = host.GetIdentity();
        for (std::size_t n = 0; n < 8; ++n)
            journal[JOURNAL_FILE_FIELD + n] = static_cast<BYTE>(nIdentity >> (8 * n));
        DWORD dwCrc = Crc32(std::span<const BYTE>(journal.data(), JOURNAL_CRC_FIELD));
        for (std::size_t n = 0; n < 4; ++n)
            journal[JOURNAL_CRC_FIELD + n] = static_cast<BYTE>(dwCrc >> (8 * n));
    }
    WriteFile(folder.Path() / "fuzz.cat.jnl", journal);
    {
        CCatalog catalog(strPath.c_str(), 0);
        if (catalog.IsOpen()) {
            std::unique_ptr<CNodeRec> pRoot(CNodeRec::NewRootNodeRec(&catalog));
            for (auto& pChild : pRoot ? pRoot->GetChildren() : CNodeRecArray())
                (void)pChild->GetDocuments(); // only crashes and hangs matter here
        }
    }
    (void)CheckCatalogFile(strPath.c_str(), CATALOG_KIND_MAIN);
    std::error_code ec;
    std::filesystem::remove(folder.Path() / "fuzz.cat.jnl", ec);
    return 0;
}
