#include "webaccess/directory/LocalAddress.h"

#include "platform/base/WinError.h"
#include "platform/testing/TestDriver.h"
#include "platform/window/MessageBox.h"
#include "resources/ResourceIds.h"
#include "tests/ui/ProgramModule.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>

#include <string>

namespace {

MIB_IPADDRROW AddressRow(const char* pszDotted, DWORD dwIndex)
{
    MIB_IPADDRROW row {};
    row.dwAddr = inet_addr(pszDotted);
    row.dwIndex = dwIndex;
    return row;
}

std::string Choose(const CIpTables& tables)
{
    return static_cast<LPCTSTR>(ChooseLocalAddress(tables.interfaces, tables.addresses));
}

} // namespace

TEST(LocalAddressTest, TheFirstAddressOfTheFirstDialUpInterfaceWins)
{
    CIpTables tables;
    tables.interfaces
        = { MakeInterfaceRow(1, MIB_IF_TYPE_LOOPBACK, "lo"), MakeInterfaceRow(2, MIB_IF_TYPE_ETHERNET, "eth0"),
              MakeInterfaceRow(5, MIB_IF_TYPE_PPP, "ppp0"), MakeInterfaceRow(6, MIB_IF_TYPE_PPP, "ppp1") };
    tables.addresses = { AddressRow("127.0.0.1", 1), AddressRow("192.168.1.4", 2), AddressRow("0.0.0.0", 5),
        AddressRow("10.64.0.7", 5), AddressRow("10.64.0.8", 5), AddressRow("10.99.0.1", 6) };
    EXPECT_EQ(Choose(tables), "10.64.0.7");

    tables.interfaces.erase(tables.interfaces.begin() + 2); // ppp0 gone
    EXPECT_EQ(Choose(tables), "10.99.0.1");
    tables.interfaces.pop_back();
    EXPECT_EQ(Choose(tables), ""); // plain Ethernet and loopback never qualify
}

TEST(LocalAddressTest, AdaptersNamedAsDialUpQualifyInAnyCase)
{
    CIpTables tables;
    tables.addresses = { AddressRow("172.16.0.9", 3) };
    for (const char* pszName : { "PPP ADAPTER.", "ppp adapter.", "Ppp Adapter.", "AOL Adapter" }) {
        tables.interfaces = { MakeInterfaceRow(3, MIB_IF_TYPE_ETHERNET, pszName) };
        EXPECT_EQ(Choose(tables), "172.16.0.9") << pszName;
    }
    for (const char* pszName : { "PPP ADAPTER", "AOL ADAPTER.", "eth0" }) {
        tables.interfaces = { MakeInterfaceRow(3, MIB_IF_TYPE_ETHERNET, pszName) };
        EXPECT_EQ(Choose(tables), "") << pszName;
    }
    tables.interfaces = { MakeInterfaceRow(3, MIB_IF_TYPE_OTHER, "PPP ADAPTER.") };
    EXPECT_EQ(Choose(tables), "");
}

TEST(LocalAddressTest, AFailingTableShowsItsMessageAndGivesNoAddress)
{
    CTestDriver driver;
    ProgramModule module;
    ASSERT_NE(module.Handle(), nullptr);
    auto shown = [&driver](const CIpTables& tables) {
        CIpTablesOverride override(tables);
        std::string strText;
        driver.OnNextDialog([&strText](HWND hDlg) {
            char szText[512] = "";
            GetDlgItemText(hDlg, MESSAGEBOX_TEXT_ID, szText, sizeof szText);
            strText = szText;
            EndDialog(hDlg, IDOK);
        });
        EXPECT_EQ(std::string(GetIpConfigByIpHelper()), "");
        return strText;
    };
    auto loaded = [](UINT nId) {
        CString strText;
        strText.LoadString(nId);
        return std::string(strText);
    };
    CIpTables tables;
    EXPECT_EQ(shown(tables), loaded(IDS_WA_IPHLP_NO_INTERFACES));
    tables.interfaces = { MakeInterfaceRow(5, MIB_IF_TYPE_PPP, "ppp0") };
    tables.dwAddressesError = ERROR_NOT_SUPPORTED;
    EXPECT_EQ(shown(tables), loaded(IDS_WA_IPHLP_SIZE));

    tables.dwAddressesError = NO_ERROR;
    tables.addresses = { AddressRow("10.64.0.7", 5) };
    CIpTablesOverride override(tables);
    EXPECT_EQ(std::string(GetIpConfigByIpHelper()), "10.64.0.7");
}
