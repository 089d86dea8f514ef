// Links: store
// Reads arbitrary bytes as a document file: the protected-file header, the
// unprotecting of its content with the password it holds and with a wrong
// one, and the content reader with a small and a large buffer. The file goes
// to a temporary folder of this process.

#include "platform/base/CFileException.h"
#include "platform/base/PathMap.h"
#include "store/ContentReader.h"
#include "store/ProtectedFile.h"
#include "tests/support/ScratchFolder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pData, std::size_t nSize)
{
    static const ScratchFolder folder("document-fuzz-");
    if (!folder.IsValid())
        std::abort();
    const std::filesystem::path file = folder.Path() / "document.txt";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(pData), static_cast<std::streamsize>(nSize));
    }
    std::string strPath = ProgramPathFromHostPath(file.string());
    std::vector<char> small(7), large(32000);
    // Only crashes, hangs and overruns matter here; the results are not checked.
    (void)ReadFileContent(strPath.c_str(), small.data(), static_cast<int>(small.size()));
    (void)ReadFileContent(strPath.c_str(), large.data(), static_cast<int>(large.size()));
    CString strPassword;
    try {
        ReadProtectedFileHeader(strPath.c_str(), strPassword);
    } catch (CFileException* pException) {
        pException->Delete();
    }
    (void)ProtectFile(strPath.c_str(), "", "not the password");
    (void)ProtectFile(strPath.c_str(), "changed", strPassword);
    (void)ProtectFile(strPath.c_str(), "", "changed");
    return 0;
}
