#include "platform/net/ConnectedState.h"

#include "platform/net/IpHelper.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Interface indexes far from any this machine gives its own interfaces.
constexpr DWORD LOOPBACK_INDEX = 901;
constexpr DWORD LINK_INDEX = 902;

MIB_IPFORWARDROW DefaultRoute(DWORD dwIndex)
{
    MIB_IPFORWARDROW row {};
    row.dwForwardIfIndex = dwIndex;
    row.dwForwardNextHop = 0x0100000A;
    return row;
}

class ConnectedStateTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* pszName : { "http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY" })
            unsetenv(pszName);
        m_tables.interfaces.push_back(MakeInterfaceRow(LOOPBACK_INDEX, MIB_IF_TYPE_LOOPBACK, "lo"));
    }

    CIpTables m_tables;
};

} // namespace

TEST_F(ConnectedStateTest, TheDefaultRoutesInterfaceSaysModemOrLan)
{
    m_tables.interfaces.push_back(MakeInterfaceRow(LINK_INDEX, MIB_IF_TYPE_PPP, "ppp0"));
    m_tables.routes.push_back(DefaultRoute(LINK_INDEX));
    CIpTablesOverride tables(m_tables);
    DWORD dwFlags = 0;
    EXPECT_TRUE(InternetGetConnectedState(&dwFlags, 0));
    EXPECT_EQ(dwFlags, INTERNET_CONNECTION_MODEM | INTERNET_CONNECTION_CONFIGURED);

    m_tables.interfaces[1] = MakeInterfaceRow(LINK_INDEX, MIB_IF_TYPE_ETHERNET, "eth0");
    setenv("https_proxy", "http://proxy:3128", 1);
    EXPECT_TRUE(InternetGetConnectedState(&dwFlags, 0));
    EXPECT_EQ(dwFlags, INTERNET_CONNECTION_LAN | INTERNET_CONNECTION_CONFIGURED | INTERNET_CONNECTION_PROXY);
    unsetenv("https_proxy");
}

TEST_F(ConnectedStateTest, NoDefaultRouteOrALinkThatIsDownIsNotConnected)
{
    m_tables.interfaces.push_back(MakeInterfaceRow(LINK_INDEX, MIB_IF_TYPE_ETHERNET, "eth0"));
    MIB_IPFORWARDROW local = DefaultRoute(LINK_INDEX);
    local.dwForwardDest = 0x0000A8C0; // 192.168.0.0/16
    local.dwForwardMask = 0x0000FFFF;
    m_tables.routes.push_back(local);
    CIpTablesOverride tables(m_tables);
    DWORD dwFlags = 0;
    EXPECT_FALSE(InternetGetConnectedState(&dwFlags, 0));
    EXPECT_EQ(dwFlags, INTERNET_CONNECTION_CONFIGURED);

    m_tables.routes.push_back(DefaultRoute(LINK_INDEX));
    m_tables.interfaces[1].dwOperStatus = MIB_IF_OPER_STATUS_NON_OPERATIONAL;
    EXPECT_FALSE(InternetGetConnectedState(&dwFlags, 0));

    m_tables.interfaces.resize(1); // loopback alone
    m_tables.routes = { DefaultRoute(LOOPBACK_INDEX) };
    EXPECT_FALSE(InternetGetConnectedState(nullptr, 0));
    InternetGetConnectedState(&dwFlags, 0);
    EXPECT_EQ(dwFlags, 0u);
}

TEST_F(ConnectedStateTest, AnOverrideAnswersUntilItEnds)
{
    CIpTablesOverride tables(m_tables); // loopback alone: not connected
    {
        CConnectedStateOverride state(TRUE, INTERNET_CONNECTION_MODEM);
        DWORD dwFlags = 0;
        EXPECT_TRUE(InternetGetConnectedState(&dwFlags, 0));
        EXPECT_EQ(dwFlags, INTERNET_CONNECTION_MODEM);
    }
    EXPECT_FALSE(InternetGetConnectedState(nullptr, 0));
}
