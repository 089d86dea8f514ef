#include "tests/store/DocumentFilesFixture.h"

#include "platform/base/DriveTable.h"
#include "store/CatalogIo.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string ProgramForm(char chDrive, const std::string& strRelative)
{
    std::string strPath = std::string(1, chDrive) + ":\\" + strRelative;
    std::replace(strPath.begin(), strPath.end(), '/', '\\');
    return strPath;
}

}

void DocumentFilesTest::SetUp()
{
    CatalogTest::SetUp();
    ASSERT_TRUE(SetDriveOverride('T', m_fixed.Path().c_str(), DRIVE_FIXED));
    ASSERT_TRUE(SetDriveOverride('R', m_removable.Path().c_str(), DRIVE_REMOVABLE));
    m_pCatalog = NewMainCatalog();
    ASSERT_TRUE(m_pCatalog->IsOpen());
}

void DocumentFilesTest::TearDown()
{
    SetCatalogWriteFailure(0);
    m_pCatalog.reset();
    ResetDriveTable();
    CatalogTest::TearDown();
}

std::string DocumentFilesTest::WriteOnT(const std::string& strRelative, std::string_view strContents) const
{
    m_fixed.WriteFile(strRelative, strContents);
    return OnT(strRelative);
}

std::string DocumentFilesTest::WriteOnR(const std::string& strRelative, std::string_view strContents) const
{
    m_removable.WriteFile(strRelative, strContents);
    return OnR(strRelative);
}

std::string DocumentFilesTest::OnT(const std::string& strRelative)
{
    return ProgramForm('T', strRelative);
}

std::string DocumentFilesTest::OnR(const std::string& strRelative)
{
    return ProgramForm('R', strRelative);
}

bool DocumentFilesTest::ExistsOnT(const std::string& strRelative) const
{
    return std::filesystem::exists(m_fixed / strRelative);
}

bool DocumentFilesTest::ExistsOnR(const std::string& strRelative) const
{
    return std::filesystem::exists(m_removable / strRelative);
}

std::string DocumentFilesTest::ReadOnT(const std::string& strRelative) const
{
    std::ifstream file(m_fixed / strRelative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void DocumentFilesTest::MakeFolderOnT(const std::string& strRelative) const
{
    std::filesystem::create_directories(m_fixed / strRelative);
}

std::vector<std::string> DocumentFilesTest::MakeSpecialFilesOnT() const
{
    return MakeSpecialFiles(m_fixed.Path());
}

std::vector<std::string> DocumentFilesTest::FilesOnT() const
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_fixed.Path())) {
        if (!entry.is_directory())
            files.push_back(std::filesystem::relative(entry.path(), m_fixed.Path()).generic_string());
    }
    std::sort(files.begin(), files.end());
    return files;
}
