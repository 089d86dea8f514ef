#include "tests/support/TestData.h"

#include <cstdlib>

std::filesystem::path SourceRoot()
{
    const char* pszRoot = std::getenv("ARCHIVORA_SOURCE_DIR");
    return pszRoot ? std::filesystem::path(pszRoot) : std::filesystem::current_path();
}

std::optional<std::filesystem::path> SharedTestData(const std::filesystem::path& relative)
{
    std::filesystem::path path = SourceRoot().parent_path() / "shared" / "testdata" / relative;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return std::nullopt;
    return path;
}
