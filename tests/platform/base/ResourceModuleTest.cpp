#include "platform/base/ResourceModule.h"

#include "platform/base/CString.h"
#include "platform/base/WinError.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <thread>

namespace {

namespace fs = std::filesystem;

constexpr std::string_view SAMPLE_SCRIPT = R"(#include "ids.h"
STRINGTABLE
BEGIN
    IDS_HELLO "Hello, wörld"
    IDS_EURO  "€€€"
END
IDD_ABOUT DIALOG 0, 0, 100, 40
BEGIN
    DEFPUSHBUTTON "OK", IDOK, 25, 20, 50, 14
END
"Config" RCDATA BEGIN "ab", 1, 2L END
)";

constexpr std::string_view SAMPLE_HEADER = "#define IDS_HELLO 17\n#define IDS_EURO 18\n#define IDD_ABOUT 100\n";

// Each test compiles its modules with the built resource compiler into its own
// temporary folder, and points ARCHIVORA_MODULE_PATH where it needs.
class ResourceModuleTest : public ::testing::Test {
protected:
    void SetUp() override { unsetenv("ARCHIVORA_MODULE_PATH"); }

    // Compiles `script` (with SAMPLE_HEADER as ids.h) into `<folder>/<name>`.
    fs::path Compile(const fs::path& folder, std::string_view script, const std::string& name = "arching.dll")
    {
        m_temp.WriteFile(folder / "ids.h", SAMPLE_HEADER);
        fs::path scriptPath = m_temp.WriteFile(folder / "test.rc", script);
        fs::path output = m_temp / folder / name;
        std::string strCommand = "'" + (BinaryRoot() / "tools" / "archivora_rc").string() + "' -o '" + output.string()
            + "' '" + scriptPath.string() + "'";
        EXPECT_EQ(std::system(strCommand.c_str()), 0) << strCommand;
        return output;
    }

    HMODULE LoadSample()
    {
        Compile("mods", SAMPLE_SCRIPT);
        setenv("ARCHIVORA_MODULE_PATH", (m_temp / "mods").c_str(), 1);
        return LoadLibrary("arching.dll");
    }

    TempFolder m_temp;
};

std::string LoadText(HINSTANCE hInstance, UINT uID, int nBuffer = 256)
{
    std::vector<char> buffer(static_cast<size_t>(nBuffer) + 1, '?');
    int nCopied = LoadString(hInstance, uID, buffer.data(), nBuffer);
    EXPECT_EQ(static_cast<size_t>(nCopied), std::strlen(buffer.data()));
    return std::string(buffer.data(), static_cast<size_t>(nCopied));
}

}

TEST_F(ResourceModuleTest, TheProgramsModuleHoldsTheStartUpStrings)
{
    setenv("ARCHIVORA_MODULE_PATH", (BinaryRoot() / "app").c_str(), 1);
    HMODULE hModule = LoadLibrary("arching.dll");
    ASSERT_NE(hModule, nullptr) << GetLastError();
    EXPECT_EQ(
        LoadText(hModule, 101), "OLE initialization failed. Make sure that the OLE libraries are the correct version.");
    EXPECT_EQ(LoadText(hModule, 102), "Windows sockets initialization failed.");
    EXPECT_EQ(LoadText(hModule, 127).substr(0, 15), "Archivora Plus\n");
    std::string strFatal = LoadText(hModule, 4453, 1000);
    size_t nFormat = strFatal.find("%s");
    ASSERT_NE(nFormat, std::string::npos);
    EXPECT_EQ(strFatal.find('%', nFormat + 1), std::string::npos) << "exactly one argument, the catalog name";
    EXPECT_TRUE(FreeLibrary(hModule));
}

TEST_F(ResourceModuleTest, BareNamesFollowTheModulePathInOrderIgnoringCase)
{
    Compile("first", "STRINGTABLE BEGIN 1 \"from first\" END");
    Compile("second", "STRINGTABLE BEGIN 1 \"from second\" END");
    Compile("second", "STRINGTABLE BEGIN 1 \"only in second\" END", "other.dll");
    std::string strPath
        = (m_temp / "missing").string() + ":" + (m_temp / "first").string() + "::" + (m_temp / "second").string();
    setenv("ARCHIVORA_MODULE_PATH", strPath.c_str(), 1);

    HMODULE hFirst = LoadLibrary("ARCHING.DLL");
    ASSERT_NE(hFirst, nullptr);
    EXPECT_EQ(LoadText(hFirst, 1), "from first");
    HMODULE hOther = LoadLibrary("Other.dll");
    ASSERT_NE(hOther, nullptr);
    EXPECT_EQ(LoadText(hOther, 1), "only in second");
    EXPECT_EQ(GetModuleHandle("arching.DLL"), hFirst);
    EXPECT_EQ(GetModuleHandle("other.dll"), hOther);
}

TEST_F(ResourceModuleTest, ProgramPathsLoadAModuleDirectly)
{
    fs::path module = Compile("x", "STRINGTABLE BEGIN 3 \"direct\" END", "direct.dll");
    std::string strProgramPath = "C:" + module.string();
    std::replace(strProgramPath.begin(), strProgramPath.end(), '/', '\\');
    HMODULE hModule = LoadLibrary(strProgramPath.c_str());
    ASSERT_NE(hModule, nullptr) << GetLastError();
    EXPECT_EQ(LoadText(hModule, 3), "direct");
    EXPECT_EQ(GetModuleHandle(strProgramPath.c_str()), hModule);
}

TEST_F(ResourceModuleTest, LoadingTwiceSharesOneModuleUntilTheLastFree)
{
    HMODULE hModule = LoadSample();
    ASSERT_NE(hModule, nullptr);
    EXPECT_EQ(LoadLibrary("arching.dll"), hModule);
    EXPECT_TRUE(FreeLibrary(hModule));
    EXPECT_EQ(LoadText(hModule, 17), "Hello, wörld");
    EXPECT_TRUE(FreeLibrary(hModule));

    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FindResource(hModule, MAKEINTRESOURCE(100), RT_DIALOG), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(LoadText(hModule, 17), "");
    EXPECT_FALSE(FreeLibrary(hModule));
    EXPECT_EQ(GetModuleHandle("arching.dll"), nullptr);

    // A reload gets a new handle; the old one stays dead.
    HMODULE hAgain = LoadLibrary("arching.dll");
    ASSERT_NE(hAgain, nullptr);
    EXPECT_NE(hAgain, hModule);
}

TEST_F(ResourceModuleTest, MissingAndDamagedModulesAreRefused)
{
    setenv("ARCHIVORA_MODULE_PATH", m_temp.Path().c_str(), 1);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(LoadLibrary("nothere.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(LoadLibrary(""), nullptr);
    EXPECT_EQ(LoadLibrary(nullptr), nullptr);

    m_temp.WriteFile("garbage.dll", "MZ this is not a resource module");
    EXPECT_EQ(LoadLibrary("garbage.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_BAD_FORMAT);

    // A well-formed directory over a damaged string block is refused at load.
    fs::path module = Compile("bad", "STRINGTABLE BEGIN 1 \"abc\" END");
    std::string bytes;
    {
        std::ifstream in(module, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    size_t nAt = bytes.find("abc");
    ASSERT_NE(nAt, std::string::npos);
    bytes[nAt + 1] = '\xC3'; // starts a two-byte character that 'c' cannot continue
    m_temp.WriteFile("bad/arching.dll", bytes);
    setenv("ARCHIVORA_MODULE_PATH", (m_temp / "bad").c_str(), 1);
    EXPECT_EQ(LoadLibrary("arching.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_BAD_FORMAT);
}

TEST_F(ResourceModuleTest, FindsResourcesByNumberNameAndHashNumber)
{
    HMODULE hModule = LoadSample();
    ASSERT_NE(hModule, nullptr);
    EXPECT_NE(FindResource(hModule, MAKEINTRESOURCE(100), RT_DIALOG), nullptr);
    EXPECT_EQ(FindResource(hModule, "#100", RT_DIALOG), FindResource(hModule, MAKEINTRESOURCE(100), RT_DIALOG));
    EXPECT_EQ(FindResource(hModule, MAKEINTRESOURCE(100), "#5"), FindResource(hModule, "#100", RT_DIALOG));

    HRSRC hConfig = FindResource(hModule, "config", RT_RCDATA);
    ASSERT_NE(hConfig, nullptr);
    ASSERT_EQ(SizeofResource(hModule, hConfig), 8u);
    const auto* pData = static_cast<const char*>(LockResource(LoadResource(hModule, hConfig)));
    ASSERT_NE(pData, nullptr);
    EXPECT_EQ(std::string(pData, 8), std::string("ab\x01\x00\x02\x00\x00\x00", 8));
    EXPECT_FALSE(FreeResource(LoadResource(hModule, hConfig)));

    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FindResource(hModule, MAKEINTRESOURCE(101), RT_DIALOG), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(FindResource(hModule, MAKEINTRESOURCE(100), RT_MENU), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
    for (LPCTSTR pszBad : { "#", "#0", "#70000", "#12x", "" })
        EXPECT_EQ(FindResource(hModule, pszBad, RT_DIALOG), nullptr) << pszBad;
    EXPECT_EQ(FindResource(hModule, nullptr, RT_DIALOG), nullptr);
    EXPECT_EQ(FindResource(hModule, MAKEINTRESOURCE(100), nullptr), nullptr);
}

TEST_F(ResourceModuleTest, ResourceHandlesOfOneModuleAreRefusedByAnother)
{
    HMODULE hModule = LoadSample();
    Compile("other", "\"Config\" RCDATA BEGIN 1 END", "other.dll");
    setenv("ARCHIVORA_MODULE_PATH", (m_temp / "other").c_str(), 1);
    HMODULE hOther = LoadLibrary("other.dll");
    ASSERT_NE(hModule, nullptr);
    ASSERT_NE(hOther, nullptr);
    HRSRC hConfig = FindResource(hModule, "CONFIG", RT_RCDATA);
    ASSERT_NE(hConfig, nullptr);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(LoadResource(hOther, hConfig), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SizeofResource(hOther, hConfig), 0u);
    EXPECT_EQ(LoadResource(hModule, nullptr), nullptr);
}

TEST_F(ResourceModuleTest, LoadStringCutsAtCharacterBoundaries)
{
    HMODULE hModule = LoadSample();
    ASSERT_NE(hModule, nullptr);
    const std::string strEuros = "€€€"; // three 3-byte characters
    // Every buffer size gives the longest whole-character prefix that fits with the NUL.
    for (int nBuffer = 1; nBuffer <= 12; ++nBuffer) {
        std::string strText = LoadText(hModule, 18, nBuffer);
        size_t nExpected = std::min<size_t>((static_cast<size_t>(nBuffer) - 1) / 3 * 3, strEuros.size());
        EXPECT_EQ(strText, strEuros.substr(0, nExpected)) << "buffer of " << nBuffer;
    }
    EXPECT_EQ(LoadText(hModule, 17, 9), "Hello, w");
    EXPECT_EQ(LoadText(hModule, 17, 10), "Hello, w"); // "ö" needs two bytes
    EXPECT_EQ(LoadText(hModule, 17, 11), "Hello, wö");
}

TEST_F(ResourceModuleTest, LoadStringReportsMissingStringsAndBadArguments)
{
    HMODULE hModule = LoadSample();
    ASSERT_NE(hModule, nullptr);
    char buffer[16] = "unchanged";
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(LoadString(hModule, 19, buffer, sizeof(buffer)), 0); // same block, empty entry
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_EQ(LoadString(hModule, 5000, buffer, sizeof(buffer)), 0); // no such block
    EXPECT_EQ(LoadString(hModule, 0x7FFFFFFF, buffer, sizeof(buffer)), 0);
    EXPECT_EQ(LoadString(hModule, 17, nullptr, 10), 0);
    EXPECT_EQ(LoadString(hModule, 17, buffer, -1), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    // A zero-sized buffer receives a pointer to the string itself.
    LPCTSTR pszDirect = nullptr;
    int nLength = LoadString(hModule, 17, reinterpret_cast<LPTSTR>(&pszDirect), 0);
    ASSERT_NE(pszDirect, nullptr);
    EXPECT_EQ(std::string(pszDirect, static_cast<size_t>(nLength)), "Hello, wörld");
}

TEST_F(ResourceModuleTest, TheProgramItselfHoldsNoResourcesUntilAModuleIsCurrent)
{
    HINSTANCE hProgram = GetModuleHandle(nullptr);
    ASSERT_NE(hProgram, nullptr);
    EXPECT_EQ(AfxGetResourceHandle(), hProgram);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FindResource(nullptr, MAKEINTRESOURCE(100), RT_DIALOG), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_DATA_NOT_FOUND);
    EXPECT_EQ(LoadText(AfxGetResourceHandle(), 17), "");

    HMODULE hModule = LoadSample();
    ASSERT_NE(hModule, nullptr);
    AfxSetResourceHandle(hModule);
    EXPECT_EQ(LoadText(AfxGetResourceHandle(), 17), "Hello, wörld");
    AfxSetResourceHandle(hProgram);
}

TEST_F(ResourceModuleTest, ThreadsShareAModuleAndTheLastFreeUnloadsIt)
{
    ASSERT_NE(LoadSample(), nullptr);
    HMODULE hFirst = GetModuleHandle("arching.dll");
    ASSERT_TRUE(FreeLibrary(hFirst));
    std::vector<std::thread> threads;
    std::atomic<int> nFailures { 0 };
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                HMODULE hModule = LoadLibrary("arching.dll");
                char buffer[32];
                if (!hModule || LoadString(hModule, 17, buffer, sizeof(buffer)) != 13 || !FreeLibrary(hModule))
                    ++nFailures;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(nFailures, 0);
    EXPECT_EQ(GetModuleHandle("arching.dll"), nullptr);
}

TEST_F(ResourceModuleTest, CStringLoadsFromTheCurrentResourceModule)
{
    setenv("ARCHIVORA_MODULE_PATH", (BinaryRoot() / "app").c_str(), 1);
    HINSTANCE hModule = LoadLibrary("arching.dll");
    ASSERT_NE(hModule, nullptr);
    AfxSetResourceHandle(hModule);

    CString strError;
    strError.Format(4453, CString("archiv.cat"));
    EXPECT_NE(strError.Find("archiv.cat"), -1);
    CString strMissing("stale");
    EXPECT_FALSE(strMissing.LoadString(65000));
    EXPECT_TRUE(strMissing.IsEmpty());

    AfxSetResourceHandle(GetModuleHandle(nullptr));
    FreeLibrary(hModule);
}

TEST_F(ResourceModuleTest, IconGroupsAreFoundAsTheIconTheModuleKeeps)
{
    fs::create_directories(m_temp / "icons");
    fs::copy_file(SourceRoot() / "resources" / "images" / "document.png", m_temp / "icons" / "document.png");
    Compile("icons", "#include \"ids.h\"\n200 ICON \"document.png\"\n");
    setenv("ARCHIVORA_MODULE_PATH", (m_temp / "icons").c_str(), 1);
    HMODULE hModule = LoadLibrary("arching.dll");
    ASSERT_NE(hModule, nullptr) << GetLastError();
    HRSRC hIcon = FindResource(hModule, MAKEINTRESOURCE(200), RT_ICON);
    ASSERT_NE(hIcon, nullptr);
    EXPECT_EQ(FindResource(hModule, MAKEINTRESOURCE(200), RT_GROUP_ICON), hIcon);
    EXPECT_EQ(FindResource(hModule, MAKEINTRESOURCE(201), RT_GROUP_ICON), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_TRUE(FreeLibrary(hModule));
}
