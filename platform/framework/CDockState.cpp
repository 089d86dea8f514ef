#include "platform/framework/CDockState.h"

#include "platform/base/Registry.h"
#include "platform/base/TextFunctions.h"
#include "platform/framework/AfxFrameIds.h"
#include "platform/framework/CWinApp.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <string>

namespace {

constexpr int MISSING = INT_MIN;      // what a missing or wrongly typed value reads as
constexpr int MAX_COORDINATE = 32767; // screen positions, offsets and lengths
constexpr int MAX_ROW = 255;

CString SummarySection(LPCTSTR lpszProfileName)
{
    return CString(lpszProfileName) + "-Summary";
}

CString BarSection(LPCTSTR lpszProfileName, int nBar)
{
    return CString(lpszProfileName) + "-Bar" + std::to_string(nBar).c_str();
}

int ReadInt(CWinApp* pApp, const CString& strSection, LPCTSTR lpszEntry)
{
    return static_cast<int>(pApp->GetProfileInt(strSection, lpszEntry, MISSING));
}

// The value when it is present and within [nLow, nHigh].
std::optional<int> ReadInRange(CWinApp* pApp, const CString& strSection, LPCTSTR lpszEntry, int nLow, int nHigh)
{
    const int nValue = ReadInt(pApp, strSection, lpszEntry);
    if (nValue == MISSING || nValue < nLow || nValue > nHigh)
        return std::nullopt;
    return nValue;
}

bool IsDockSide(int nValue)
{
    return nValue == 0 || nValue == static_cast<int>(AFX_IDW_DOCKBAR_TOP)
        || nValue == static_cast<int>(AFX_IDW_DOCKBAR_LEFT) || nValue == static_cast<int>(AFX_IDW_DOCKBAR_RIGHT)
        || nValue == static_cast<int>(AFX_IDW_DOCKBAR_BOTTOM);
}

// The numbers n of the "<profile>-Bar<n>" sections of the application's key.
std::vector<int> SavedBarSections(CWinApp* pApp, LPCTSTR lpszProfileName)
{
    std::vector<int> numbers;
    HKEY hKey = pApp->GetAppRegistryKey();
    if (!hKey)
        return numbers;
    const std::string strPrefix = std::string(lpszProfileName) + "-Bar";
    for (DWORD nIndex = 0;; ++nIndex) {
        char szName[256] {};
        DWORD cchName = sizeof(szName);
        if (RegEnumKeyEx(hKey, nIndex, szName, &cchName, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const std::string strName(szName, cchName);
        if (strName.size() <= strPrefix.size() || strName.size() > strPrefix.size() + 6
            || lstrcmpiA(strName.substr(0, strPrefix.size()).c_str(), strPrefix.c_str()) != 0)
            continue;
        const std::string strDigits = strName.substr(strPrefix.size());
        if (!std::all_of(strDigits.begin(), strDigits.end(), [](char c) { return std::isdigit(c) != 0; }))
            continue;
        numbers.push_back(std::stoi(strDigits));
    }
    RegCloseKey(hKey);
    return numbers;
}

} // namespace

void CDockState::Clear()
{
    m_arrBarInfo.clear();
    m_sizeScreen = CSize();
}

BOOL CDockState::SaveState(LPCTSTR lpszProfileName) const
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !lpszProfileName)
        return FALSE;
    const CString strSummary = SummarySection(lpszProfileName);
    const auto nBars = static_cast<int>(m_arrBarInfo.size());
    BOOL bResult = pApp->WriteProfileInt(strSummary, "Bars", nBars);
    bResult &= pApp->WriteProfileInt(strSummary, "ScreenCX", m_sizeScreen.cx);
    bResult &= pApp->WriteProfileInt(strSummary, "ScreenCY", m_sizeScreen.cy);
    for (int i = 0; i < nBars; ++i) {
        const CControlBarInfo& info = m_arrBarInfo[static_cast<size_t>(i)];
        const CString strSection = BarSection(lpszProfileName, i);
        const CPoint ptFloat = info.m_ptFloat.value_or(CPoint());
        bResult &= pApp->WriteProfileInt(strSection, "BarID", static_cast<int>(info.m_nBarID));
        bResult &= pApp->WriteProfileInt(strSection, "Visible", info.m_bVisible.value_or(TRUE) ? 1 : 0);
        bResult &= pApp->WriteProfileInt(strSection, "Floating", info.m_bFloating.value_or(FALSE) ? 1 : 0);
        bResult &= pApp->WriteProfileInt(strSection, "DockSide", static_cast<int>(info.m_uDockSide.value_or(0)));
        bResult &= pApp->WriteProfileInt(strSection, "Row", info.m_nRow.value_or(0));
        bResult &= pApp->WriteProfileInt(strSection, "Offset", info.m_nOffset.value_or(0));
        bResult &= pApp->WriteProfileInt(strSection, "FloatX", ptFloat.x);
        bResult &= pApp->WriteProfileInt(strSection, "FloatY", ptFloat.y);
        bResult &= pApp->WriteProfileInt(strSection, "FloatLength", info.m_nFloatLength.value_or(-1));
    }
    // Sections of an earlier, longer state go.
    for (int n : SavedBarSections(pApp, lpszProfileName)) {
        if (n >= nBars)
            bResult &= pApp->WriteProfileString(BarSection(lpszProfileName, n), nullptr, nullptr);
    }
    return bResult;
}

BOOL CDockState::LoadState(LPCTSTR lpszProfileName)
{
    Clear();
    CWinApp* pApp = AfxGetApp();
    if (!pApp || !lpszProfileName)
        return FALSE;
    const CString strSummary = SummarySection(lpszProfileName);
    const int nBars = ReadInt(pApp, strSummary, "Bars");
    if (nBars < 0 || nBars > MAX_BARS) // MISSING is negative too
        return FALSE;                  // refused as a whole
    std::vector<CControlBarInfo> bars;
    CSize sizeScreen;
    const std::optional<int> cxScreen = ReadInRange(pApp, strSummary, "ScreenCX", 1, MAX_COORDINATE);
    const std::optional<int> cyScreen = ReadInRange(pApp, strSummary, "ScreenCY", 1, MAX_COORDINATE);
    if (cxScreen && cyScreen)
        sizeScreen = CSize(*cxScreen, *cyScreen);
    for (int i = 0; i < nBars; ++i) {
        const CString strSection = BarSection(lpszProfileName, i);
        const std::optional<int> nBarID = ReadInRange(pApp, strSection, "BarID", 1, 0xFFFF);
        if (!nBarID || std::any_of(bars.begin(), bars.end(), [&](const CControlBarInfo& info) {
                return info.m_nBarID == static_cast<UINT>(*nBarID);
            }))
            continue; // missing, or a bar named twice
        CControlBarInfo info;
        info.m_nBarID = static_cast<UINT>(*nBarID);
        if (const auto nVisible = ReadInRange(pApp, strSection, "Visible", 0, 1))
            info.m_bVisible = *nVisible;
        if (const auto nFloating = ReadInRange(pApp, strSection, "Floating", 0, 1))
            info.m_bFloating = *nFloating;
        const int nSide = ReadInt(pApp, strSection, "DockSide");
        if (nSide != MISSING && IsDockSide(nSide))
            info.m_uDockSide = static_cast<UINT>(nSide);
        info.m_nRow = ReadInRange(pApp, strSection, "Row", 0, MAX_ROW);
        info.m_nOffset = ReadInRange(pApp, strSection, "Offset", 0, MAX_COORDINATE);
        const auto x = ReadInRange(pApp, strSection, "FloatX", -MAX_COORDINATE, MAX_COORDINATE);
        const auto y = ReadInRange(pApp, strSection, "FloatY", -MAX_COORDINATE, MAX_COORDINATE);
        if (x && y)
            info.m_ptFloat = CPoint(*x, *y);
        info.m_nFloatLength = ReadInRange(pApp, strSection, "FloatLength", -1, MAX_COORDINATE);
        bars.push_back(info);
    }
    m_arrBarInfo = std::move(bars);
    m_sizeScreen = sizeScreen;
    return TRUE;
}
