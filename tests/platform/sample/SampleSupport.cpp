#include "SampleSupport.h"

#include "platform/base/ResourceModule.h"
#include "tests/support/ReferencePictures.h"
#include "tests/support/TestData.h"

HMODULE LoadSampleModule(const char* pszScript, const TempFolder& folder)
{
    return LoadScriptModule(SourceRoot() / "tests/platform/sample" / pszScript, folder);
}

std::optional<std::string> PictureMismatch(HBITMAP hbmPicture, const char* pszReference, TempFolder& folder)
{
    return PictureMismatch(hbmPicture, SourceRoot() / "tests/platform/sample" / pszReference, folder);
}

void SampleModuleTest::SetUp()
{
    m_hModule = LoadSampleModule(m_pszScript, m_folder);
    ASSERT_NE(m_hModule, nullptr);
    m_hPrevious = AfxGetResourceHandle();
    AfxSetResourceHandle(m_hModule);
}

void SampleModuleTest::TearDown()
{
    if (!m_hModule)
        return;
    AfxSetResourceHandle(m_hPrevious);
    FreeLibrary(m_hModule);
}

void SampleModuleTest::ExpectPictureMatches(HBITMAP hbmPicture, const char* pszReference)
{
    if (std::optional<std::string> mismatch = PictureMismatch(hbmPicture, pszReference, m_folder))
        ADD_FAILURE() << *mismatch;
}
