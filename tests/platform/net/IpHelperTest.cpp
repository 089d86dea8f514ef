#include "platform/net/IpHelper.h"

#include "platform/base/WinError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <arpa/inet.h>
#include <net/if.h>

namespace {

// Asks for a table as a caller does: first with 1 byte, then with the size given.
template<typename Table> std::vector<BYTE> TableOf(DWORD (*pfnGet)(Table*, PULONG, BOOL), BOOL bOrder)
{
    std::vector<BYTE> buffer(1);
    ULONG nSize = 1;
    EXPECT_EQ(pfnGet(reinterpret_cast<Table*>(buffer.data()), &nSize, bOrder), ERROR_INSUFFICIENT_BUFFER);
    buffer.resize(nSize);
    EXPECT_EQ(pfnGet(reinterpret_cast<Table*>(buffer.data()), &nSize, bOrder), NO_ERROR);
    return buffer;
}

DWORD Address(const char* pszDotted)
{
    return inet_addr(pszDotted);
}

} // namespace

TEST(IpHelperTest, TheLoopbackInterfaceAndItsAddressAreListed)
{
    std::vector<BYTE> interfaces = TableOf(&GetIfTable, TRUE);
    auto* pInterfaces = reinterpret_cast<MIB_IFTABLE*>(interfaces.data());
    unsigned int nLoopback = if_nametoindex("lo");
    ASSERT_NE(nLoopback, 0u) << "this machine has no loopback interface";
    const MIB_IFROW* pLoopback = nullptr;
    for (DWORD i = 0; i < pInterfaces->dwNumEntries; ++i) {
        if (i > 0) {
            EXPECT_LT(pInterfaces->table[i - 1].dwIndex, pInterfaces->table[i].dwIndex) << "ordered by index";
        }
        if (pInterfaces->table[i].dwIndex == nLoopback)
            pLoopback = &pInterfaces->table[i];
    }
    ASSERT_NE(pLoopback, nullptr);
    EXPECT_EQ(pLoopback->dwType, MIB_IF_TYPE_LOOPBACK);
    EXPECT_EQ(pLoopback->wszName[0], u'l');
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(pLoopback->bDescr)), "lo");
    EXPECT_EQ(pLoopback->dwAdminStatus, MIB_IF_ADMIN_STATUS_UP);

    std::vector<BYTE> addresses = TableOf(&GetIpAddrTable, TRUE);
    auto* pAddresses = reinterpret_cast<MIB_IPADDRTABLE*>(addresses.data());
    bool bFound = false;
    for (DWORD i = 0; i < pAddresses->dwNumEntries; ++i) {
        const MIB_IPADDRROW& row = pAddresses->table[i];
        if (row.dwAddr == Address("127.0.0.1")) {
            bFound = true;
            EXPECT_EQ(row.dwIndex, nLoopback);
            EXPECT_EQ(row.dwMask, Address("255.0.0.0")) << "network byte order";
        }
    }
    EXPECT_TRUE(bFound);
}

TEST(IpHelperTest, SizesAreAskedAndGivenByTheRules)
{
    EXPECT_EQ(GetIfTable(nullptr, nullptr, FALSE), ERROR_INVALID_PARAMETER);
    ULONG nSize = 0;
    EXPECT_EQ(GetIpAddrTable(nullptr, &nSize, FALSE), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_GE(nSize, sizeof(MIB_IPADDRTABLE));
    TableOf(&GetIpForwardTable, TRUE);
}

TEST(IpHelperTest, RouteTablesParseAndDamagedLinesAreSkipped)
{
    std::vector<MIB_IPFORWARDROW> rows
        = ParseRouteTable("Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
                          "lo\t00000000\t0101A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
                          "lo\t0001A8C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n"
                          "lo\tnothex\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n"
                          "lo\t0001A8C0\n"
                          "lo\t123456789\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].dwForwardNextHop, Address("192.168.1.1")) << "the kernel's byte order is the network's here";
    EXPECT_EQ(rows[0].dwForwardType, MIB_IPROUTE_TYPE_INDIRECT);
    EXPECT_EQ(rows[0].dwForwardMetric1, 100u);
    EXPECT_EQ(rows[1].dwForwardDest, Address("192.168.1.0"));
    EXPECT_EQ(rows[1].dwForwardMask, Address("255.255.255.0"));
    EXPECT_EQ(rows[1].dwForwardType, MIB_IPROUTE_TYPE_DIRECT);
    EXPECT_EQ(rows[1].dwForwardIfIndex, if_nametoindex("lo"));
    EXPECT_TRUE(ParseRouteTable("").empty());
}

TEST(IpHelperTest, AnOverrideReplacesTheTablesAndTheirFailures)
{
    CIpTables fixed;
    fixed.interfaces
        = { MakeInterfaceRow(9, MIB_IF_TYPE_PPP, "ppp0"), MakeInterfaceRow(3, MIB_IF_TYPE_LOOPBACK, "lo") };
    MIB_IPADDRROW address {};
    address.dwAddr = Address("10.64.0.7");
    address.dwIndex = 9;
    fixed.addresses = { address };
    {
        CIpTablesOverride override(fixed);
        std::vector<BYTE> interfaces = TableOf(&GetIfTable, TRUE);
        auto* pInterfaces = reinterpret_cast<MIB_IFTABLE*>(interfaces.data());
        ASSERT_EQ(pInterfaces->dwNumEntries, 2u);
        EXPECT_EQ(pInterfaces->table[0].dwIndex, 3u); // sorted by index
        EXPECT_STREQ(reinterpret_cast<const char*>(pInterfaces->table[1].bDescr), "ppp0");
        std::vector<BYTE> addresses = TableOf(&GetIpAddrTable, TRUE);
        auto* pAddresses = reinterpret_cast<MIB_IPADDRTABLE*>(addresses.data());
        ASSERT_EQ(pAddresses->dwNumEntries, 1u);
        EXPECT_EQ(pAddresses->table[0].dwAddr, Address("10.64.0.7"));
        std::vector<BYTE> routes = TableOf(&GetIpForwardTable, TRUE);
        EXPECT_EQ(reinterpret_cast<MIB_IPFORWARDTABLE*>(routes.data())->dwNumEntries, 0u);

        fixed.dwRoutesError = ERROR_NOT_SUPPORTED;
        ULONG nSize = 1;
        EXPECT_EQ(GetIpForwardTable(nullptr, &nSize, TRUE), ERROR_NOT_SUPPORTED);
    }
    std::vector<BYTE> interfaces = TableOf(&GetIfTable, TRUE);
    const auto* pHost = reinterpret_cast<MIB_IFTABLE*>(interfaces.data());
    for (DWORD i = 0; i < pHost->dwNumEntries; ++i)
        EXPECT_NE(std::string(reinterpret_cast<const char*>(pHost->table[i].bDescr)), "ppp0");
}
