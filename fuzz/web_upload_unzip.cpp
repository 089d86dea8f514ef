// Links: webaccess_server
// Unpacks arbitrary bytes as an uploaded zip archive, bounded as an upload
// that announced 1 MB. The output is the one target file or nothing.

#include "platform/base/PathMap.h"
#include "tests/support/ScratchFolder.h"
#include "webaccess/server/CWAUnzipReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static ScratchFolder s_folder("fuzz-unzip");
    const std::filesystem::path archive = s_folder.Path() / "id.$$1";
    const std::filesystem::path target = s_folder.Path() / "id.$$2";
    {
        std::ofstream file(archive, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(pData), static_cast<std::streamsize>(nSize));
    }
    static_cast<void>(UnzipToFile(ProgramPathFromHostPath(archive.string()).c_str(),
        ProgramPathFromHostPath(target.string()).c_str(), 1024 * 1024));
    std::error_code ec;
    if (std::filesystem::exists(target, ec) && std::filesystem::file_size(target, ec) > 1024 * 1024 + 64 * 1024)
        std::abort();
    std::filesystem::remove(target, ec);
    return 0;
}
