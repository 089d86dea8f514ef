#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

TempFolder::TempFolder()
{
    std::string strTemplate = (std::filesystem::temp_directory_path() / "archivora-test-XXXXXX").string();
    if (!mkdtemp(strTemplate.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_path = strTemplate;
}

TempFolder::~TempFolder()
{
    if (m_bKeep)
        return;
    std::error_code ec;
    // Make read-only entries removable again before removing the tree.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        std::filesystem::permissions(
            it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::filesystem::path TempFolder::WriteFile(const std::filesystem::path& relative, std::string_view contents) const
{
    std::filesystem::path path = m_path / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    return path;
}

void ProgramFolderTest::SetUp()
{
    m_home = std::make_unique<TempFolder>();
    m_setHome = std::make_unique<ScopedVariable>("ARCHIVORA_HOME", m_home->Path().string());
}

void ProgramFolderTest::TearDown()
{
    m_setHome.reset();
    m_home.reset();
}
