#include "frame/CArqListViewCtrl.h"

#include "tests/frame/AppTestFixture.h"

#include "frame/AppGlobals.h"
#include "frame/CArqListView.h"
#include "frame/DesktopLayout.h"
#include "resources/ResourceIds.h"
#include "store/CatalogColumns.h"

#include "platform/base/Registry.h"
#include "platform/controls/HeaderControl.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class ArqListViewTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        WriteCatalog();
    }
    BOOL StartList()
    {
        if (!Start() || !ActiveView())
            return FALSE;
        m_pList = &ActiveView()->GetListView()->GetListCtrl();
        return TRUE;
    }
    // The restart of a program that saved its layout at the exit.
    BOOL Restart()
    {
        Command(ID_APP_EXIT_PROGRAM);
        Stop();
        return StartList();
    }

    static std::vector<BYTE> ReadBinary(LPCTSTR pszKey, LPCTSTR pszName)
    {
        HKEY hKey = nullptr;
        std::vector<BYTE> data(512);
        if (RegOpenKeyEx(HKEY_CURRENT_USER, pszKey, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
            return {};
        DWORD dwType = 0;
        auto cbData = static_cast<DWORD>(data.size());
        const LSTATUS lResult = RegQueryValueEx(hKey, pszName, nullptr, &dwType, data.data(), &cbData);
        RegCloseKey(hKey);
        data.resize(lResult == ERROR_SUCCESS ? cbData : 0);
        return data;
    }
    static void WriteBinary(LPCTSTR pszKey, LPCTSTR pszName, const std::vector<BYTE>& data)
    {
        HKEY hKey = nullptr;
        ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, pszKey, 0, nullptr, 0, KEY_WRITE, nullptr, &hKey, nullptr),
            ERROR_SUCCESS);
        RegSetValueEx(hKey, pszName, 0, REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
        RegCloseKey(hKey);
    }
    static CString PreferencesKey() { return CString(DEFAULT_KEY_PATH) + "\\Preferences"; }
    static CString ListViewKey() { return CString(DESKTOP_KEY_PATH) + "\\" + ChildKeyName(0) + "\\ListView"; }

    // Column indexes by display position.
    std::vector<int> Order()
    {
        std::vector<int> order(CArqListViewCtrl::COLUMN_COUNT);
        m_pList->GetGridHeader().GetOrderArray(order.data(), static_cast<int>(order.size()));
        return order;
    }
    int Width(LONG nColumnId) { return m_pList->GetColumnWidth(m_pList->FindColumn(nColumnId)); }

    CArqListViewCtrl* m_pList { nullptr };
};

TEST_F(ArqListViewTest, AFirstStartShowsTheStateColumnFirstAndWritesTheDefaults)
{
    ASSERT_TRUE(StartList());
    EXPECT_EQ(m_pList->GetViewStyle(), CArqListViewCtrl::STYLE_DETAILS);
    const std::vector<int> order = Order();
    EXPECT_EQ(m_pList->GetColumnId(order[0]), COLUMN_EXPIRY_STATE);
    EXPECT_EQ(m_pList->GetColumnId(order[1]), COLUMN_NAME);
    EXPECT_EQ(ReadBinary(PreferencesKey(), "Columns").size(), CArqListViewCtrl::COLUMN_COUNT * sizeof(CColumnLayout));
    // Widths in characters: the description twice the name's and more.
    EXPECT_GT(Width(COLUMN_DESCRIPTION), 2 * Width(COLUMN_NAME));
    EXPECT_GT(Width(COLUMN_SIZE), 0);
}

TEST_F(ArqListViewTest, TheListStyleShowsNameStateAndAFillingDescription)
{
    ASSERT_TRUE(StartList());
    m_pList->SetViewStyle(CArqListViewCtrl::STYLE_LIST);
    EXPECT_GT(Width(COLUMN_NAME), 0);
    EXPECT_GT(Width(COLUMN_EXPIRY_STATE), 0);
    EXPECT_EQ(Width(COLUMN_SIZE), 0);
    EXPECT_FALSE(m_pList->IsColumnVisible(COLUMN_SIZE));
    CRect rcClient;
    m_pList->GetClientRect(&rcClient);
    EXPECT_EQ(Width(COLUMN_NAME) + Width(COLUMN_EXPIRY_STATE) + Width(COLUMN_DESCRIPTION), rcClient.Width());
    m_pList->SetViewStyle(CArqListViewCtrl::STYLE_DETAILS);
    EXPECT_GT(Width(COLUMN_SIZE), 0);
}

TEST_F(ArqListViewTest, AHiddenColumnComesBackWithItsLastWidthAndANeverShownOneWithItsDefault)
{
    ASSERT_TRUE(StartList());
    const int nDefault = Width(COLUMN_TYPE);
    m_pList->SetColumnWidth(m_pList->FindColumn(COLUMN_TYPE), 77);
    NMHEADER notify {};
    HDITEM item {};
    item.mask = HDI_WIDTH;
    item.cxy = 77;
    notify.hdr = { m_pList->GetGridHeader().GetSafeHwnd(), 0, HDN_ENDTRACK };
    notify.iItem = m_pList->FindColumn(COLUMN_TYPE);
    notify.pitem = &item;
    m_pList->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
    m_pList->SetColumnVisible(COLUMN_TYPE, FALSE);
    EXPECT_EQ(Width(COLUMN_TYPE), 0);
    EXPECT_FALSE(m_pList->IsColumnVisible(COLUMN_TYPE));
    m_pList->SetColumnVisible(COLUMN_TYPE, TRUE);
    EXPECT_EQ(Width(COLUMN_TYPE), 77);
    // A layout kept with the column at 0 (never shown) gives it its default.
    std::vector<BYTE> columns = ReadBinary(PreferencesKey(), "Columns");
    ASSERT_EQ(columns.size(), CArqListViewCtrl::COLUMN_COUNT * sizeof(CColumnLayout));
    reinterpret_cast<CColumnLayout*>(columns.data())[m_pList->FindColumn(COLUMN_TYPE)].nDetailWidth = 0;
    Command(ID_APP_EXIT_PROGRAM);
    Stop();
    WriteBinary(PreferencesKey(), "Columns", columns);
    RegDeleteTree(HKEY_CURRENT_USER, ListViewKey());
    ASSERT_TRUE(StartList());
    EXPECT_EQ(Width(COLUMN_TYPE), 0);
    m_pList->SetColumnVisible(COLUMN_TYPE, TRUE);
    EXPECT_EQ(Width(COLUMN_TYPE), nDefault);
}

TEST_F(ArqListViewTest, NameAndStateColumnsCannotBeMovedNorHaveOthersDroppedBeforeThem)
{
    ASSERT_TRUE(StartList());
    const std::vector<int> before = Order();
    auto drag = [this](LONG nColumnId, int nPosition) {
        HDITEM item {};
        item.mask = HDI_ORDER;
        item.iOrder = nPosition;
        NMHEADER notify {};
        notify.hdr = { m_pList->GetGridHeader().GetSafeHwnd(), 0, HDN_ENDDRAG };
        notify.iItem = m_pList->FindColumn(nColumnId);
        notify.pitem = &item;
        return m_pList->SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
    };
    EXPECT_EQ(drag(COLUMN_NAME, 5), TRUE);
    EXPECT_EQ(drag(COLUMN_EXPIRY_STATE, 4), TRUE);
    EXPECT_EQ(drag(COLUMN_SIZE, 0), TRUE);
    EXPECT_EQ(drag(COLUMN_SIZE, 1), TRUE);
    EXPECT_EQ(Order(), before);
    drag(COLUMN_SIZE, 2);
    EXPECT_EQ(m_pList->GetColumnId(Order()[2]), COLUMN_SIZE);
    // The new order is kept program-wide at once.
    const std::vector<BYTE> columns = ReadBinary(PreferencesKey(), "Columns");
    ASSERT_EQ(columns.size(), CArqListViewCtrl::COLUMN_COUNT * sizeof(CColumnLayout));
    const auto* pLayout = reinterpret_cast<const CColumnLayout*>(columns.data());
    EXPECT_EQ(pLayout[m_pList->FindColumn(COLUMN_SIZE)].nOrder, 2);
}

TEST_F(ArqListViewTest, AViewsStyleSortAndLayoutComeBackWithIt)
{
    ASSERT_TRUE(StartList());
    m_pList->SetViewStyle(CArqListViewCtrl::STYLE_LIST);
    m_pList->SortByColumn(m_pList->FindColumn(COLUMN_SIZE));
    ASSERT_TRUE(Restart());
    EXPECT_EQ(m_pList->GetViewStyle(), CArqListViewCtrl::STYLE_LIST);
    EXPECT_EQ(m_pList->GetGridHeader().GetSortColumn(), m_pList->FindColumn(COLUMN_SIZE));
    EXPECT_EQ(Width(COLUMN_SIZE), 0);
}

TEST_F(ArqListViewTest, DamagedSettingsGiveTheDefaults)
{
    ASSERT_TRUE(StartList());
    ASSERT_TRUE(Restart()); // the view's "ListView" key exists now
    Command(ID_APP_EXIT_PROGRAM);
    Stop();
    WriteBinary(PreferencesKey(), "Columns", std::vector<BYTE>(100, 0xFF));
    WriteBinary(ListViewKey(), "Columns", std::vector<BYTE>(132, 0xFF)); // orders out of range
    WriteBinary(ListViewKey(), "ViewStyle", { 7, 0 });
    ASSERT_TRUE(StartList());
    EXPECT_EQ(m_pList->GetViewStyle(), CArqListViewCtrl::STYLE_DETAILS);
    EXPECT_EQ(m_pList->GetColumnId(Order()[0]), COLUMN_EXPIRY_STATE);
    EXPECT_GT(Width(COLUMN_NAME), 0);
    // The program-wide defaults were written again.
    EXPECT_EQ(ReadBinary(PreferencesKey(), "Columns").size(), CArqListViewCtrl::COLUMN_COUNT * sizeof(CColumnLayout));
}

TEST_F(ArqListViewTest, ColumnChoicesRoundTripThroughTheActiveView)
{
    ASSERT_TRUE(StartList());
    CListColumnChoices choices {};
    BOOL bListExtension = FALSE;
    ASSERT_TRUE(CArqListView::GetVisibleColumns(&choices, &bListExtension));
    EXPECT_TRUE(choices.bName && choices.bSize && choices.bSizeInKB);
    EXPECT_FALSE(choices.bSizeInBytes);
    choices.bSize = FALSE;
    choices.bSizeInKB = FALSE;
    choices.bSizeInBytes = TRUE;
    ASSERT_TRUE(CArqListView::ApplyColumnChoices(choices, FALSE));
    EXPECT_EQ(Width(COLUMN_SIZE), 0);
    EXPECT_FALSE(m_pList->GetSizeInKB());
    CListColumnChoices again {};
    ASSERT_TRUE(CArqListView::GetVisibleColumns(&again, &bListExtension));
    EXPECT_FALSE(again.bSize);
    EXPECT_FALSE(bListExtension);
    EXPECT_EQ(ProductValue("Default\\Preferences", "KBytes"), 0u);
}

} // namespace
