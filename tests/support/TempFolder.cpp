#include "tests/support/TempFolder.h"

#include <fstream>
#include <stdexcept>

TempFolder::TempFolder()
{
    if (!m_folder.IsValid())
        throw std::runtime_error("cannot create a temporary folder");
}

std::filesystem::path TempFolder::WriteFile(const std::filesystem::path& relative, std::string_view contents) const
{
    std::filesystem::path path = Path() / relative;
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

void ProgramFolderTest::MoveProgramFolderApart()
{
    std::filesystem::create_directories(Home() / "program");
    m_setProgramFolder = std::make_unique<ScopedVariable>("ARCHIVORA_HOME", (Home() / "program").string());
}

void ProgramFolderTest::TearDown()
{
    m_setProgramFolder.reset();
    m_setHome.reset();
    m_home.reset();
}
