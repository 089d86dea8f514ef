#include "tests/support/TestData.h"

std::filesystem::path SourceRoot()
{
    return ARCHIVORA_SOURCE_DIR;
}

std::filesystem::path BinaryRoot()
{
    return ARCHIVORA_BINARY_DIR;
}

std::optional<std::filesystem::path> SharedTestData(const std::filesystem::path& relative)
{
    std::filesystem::path path = SourceRoot().parent_path() / "shared" / "testdata" / relative;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return std::nullopt;
    return path;
}
