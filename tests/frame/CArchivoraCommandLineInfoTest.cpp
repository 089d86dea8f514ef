#include "frame/CArchivoraCommandLineInfo.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace {

// Parses the arguments as the application hands them over: a switch without
// its "-" or "/", the last one marked.
struct Parsed {
    DWORD dwStartFlags;
    DWORD dwTraceLetters;
    BOOL bShowSplash;
    int nShellCommand;
    CString strFileName;
};
Parsed Parse(std::initializer_list<std::pair<const char*, bool>> arguments)
{
    CArchivoraCommandLineInfo info;
    size_t nIndex = 0;
    for (auto [pszText, bSwitch] : arguments)
        info.ParseParam(pszText, bSwitch ? TRUE : FALSE, ++nIndex == arguments.size() ? TRUE : FALSE);
    return { info.m_dwStartFlags, info.m_dwTraceLetters, info.m_bShowSplash, info.m_nShellCommand, info.m_strFileName };
}

constexpr DWORD SHOW = CArchivoraCommandLineInfo::START_SHOW;
constexpr DWORD TRAY = CArchivoraCommandLineInfo::START_TRAY;
constexpr DWORD TRACE = CArchivoraCommandLineInfo::START_TRACE;

} // namespace

TEST(CArchivoraCommandLineInfoTest, WithoutArgumentsTheWindowAndTheTrayIconBothShow)
{
    CArchivoraCommandLineInfo info;
    EXPECT_EQ(info.m_dwStartFlags, SHOW | TRAY);
    EXPECT_EQ(info.m_dwTraceLetters, 0U);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileNew);
}

TEST(CArchivoraCommandLineInfoTest, TheStartSwitchesChooseTrayOrWindowInAnyCase)
{
    auto tray = Parse({ { "DS", true } });
    EXPECT_EQ(tray.dwStartFlags, TRAY);
    EXPECT_FALSE(tray.bShowSplash);
    auto window = Parse({ { "ds-", true } });
    EXPECT_EQ(window.dwStartFlags, SHOW);
    EXPECT_TRUE(window.bShowSplash);
    // The last one wins, and a word that only starts like a switch is no switch.
    EXPECT_EQ(Parse({ { "ds", true }, { "Ds-", true } }).dwStartFlags, SHOW);
    EXPECT_EQ(Parse({ { "dsx", true } }).dwStartFlags, SHOW | TRAY);
}

TEST(CArchivoraCommandLineInfoTest, TheTraceSwitchTakesItsLettersOrAllOfThem)
{
    auto all = Parse({ { "l", true } });
    EXPECT_EQ(all.dwStartFlags, SHOW | TRAY | TRACE);
    EXPECT_EQ(all.dwTraceLetters, CArchivoraCommandLineInfo::TRACE_ALL);
    EXPECT_EQ(Parse({ { "lsw", true } }).dwTraceLetters, 5U);
    EXPECT_EQ(Parse({ { "LU", true } }).dwTraceLetters, 2U);
    EXPECT_EQ(Parse({ { "lx", true } }).dwTraceLetters, CArchivoraCommandLineInfo::TRACE_ALL);
    // A second trace switch starts its letters afresh.
    EXPECT_EQ(Parse({ { "lsuw", true }, { "lu", true } }).dwTraceLetters, 2U);
}

TEST(CArchivoraCommandLineInfoTest, FileNamesAndUnknownSwitchesChangeNothing)
{
    auto info = Parse({ { "C:\\docs\\report.odt", false }, { "nologo", true }, { "ds", false } });
    EXPECT_EQ(info.dwStartFlags, SHOW | TRAY);
    EXPECT_EQ(info.nShellCommand, CCommandLineInfo::FileNew);
    EXPECT_TRUE(info.strFileName.IsEmpty());
    EXPECT_TRUE(info.bShowSplash);
}
