#include "frame/ListViewSettings.h"

#include <array>

BOOL ReadColumnLayout(HKEY hKey, std::vector<CColumnLayout>* pLayout)
{
    std::vector<CColumnLayout> records(LIST_COLUMN_COUNT + 1);
    DWORD dwType = REG_NONE;
    auto cbData = static_cast<DWORD>(records.size() * sizeof(CColumnLayout));
    if (RegQueryValueEx(hKey, "Columns", nullptr, &dwType, reinterpret_cast<BYTE*>(records.data()), &cbData)
            != ERROR_SUCCESS
        || dwType != REG_BINARY || cbData != LIST_COLUMN_COUNT * sizeof(CColumnLayout))
        return FALSE;
    records.resize(LIST_COLUMN_COUNT);
    // Positions outside the columns, or twice the same, would leave some column without a place.
    std::array<bool, LIST_COLUMN_COUNT> used {};
    for (const CColumnLayout& record : records) {
        if (record.nOrder < 0 || record.nOrder >= LIST_COLUMN_COUNT || used[static_cast<size_t>(record.nOrder)])
            return FALSE;
        used[static_cast<size_t>(record.nOrder)] = true;
    }
    *pLayout = std::move(records);
    return TRUE;
}

BOOL WriteColumnLayout(HKEY hKey, const std::vector<CColumnLayout>& layout)
{
    return RegSetValueEx(hKey, "Columns", 0, REG_BINARY, reinterpret_cast<const BYTE*>(layout.data()),
               static_cast<DWORD>(layout.size() * sizeof(CColumnLayout)))
        == ERROR_SUCCESS;
}

CListViewKept ReadListViewKept(HKEY hKey)
{
    CListViewKept kept;
    DWORD dwValue = 0;
    DWORD dwType = REG_NONE;
    DWORD cbData = sizeof(dwValue);
    if (RegQueryValueEx(hKey, "ViewStyle", nullptr, &dwType, reinterpret_cast<BYTE*>(&dwValue), &cbData)
            == ERROR_SUCCESS
        && cbData == sizeof(dwValue)
        && (dwValue == LIST_STYLE_ICONS || dwValue == LIST_STYLE_DETAILS || dwValue == LIST_STYLE_LIST))
        kept.nViewStyle = static_cast<int>(dwValue);
    cbData = sizeof(dwValue);
    if (RegQueryValueEx(hKey, "SortColumn", nullptr, &dwType, reinterpret_cast<BYTE*>(&dwValue), &cbData)
            == ERROR_SUCCESS
        && dwType == REG_DWORD && dwValue < LIST_COLUMN_COUNT)
        kept.nSortColumn = static_cast<int>(dwValue);
    cbData = sizeof(dwValue);
    if (RegQueryValueEx(hKey, "SortOrder", nullptr, &dwType, reinterpret_cast<BYTE*>(&dwValue), &cbData)
            == ERROR_SUCCESS
        && dwType == REG_DWORD)
        kept.bAscending = dwValue ? TRUE : FALSE;
    return kept;
}
