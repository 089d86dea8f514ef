#include "platform/net/IpHelper.h"

#include "platform/base/TextFunctions.h"
#include "platform/base/WinError.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <net/if_arp.h>

namespace {

constexpr int ARPHRD_PPP_TYPE = 512;
constexpr int ARPHRD_NONE_TYPE = 0xFFFE; // tun devices

// A value of /sys/class/net/<name>/<file>; empty when it cannot be read.
std::string SysValue(const std::string& strInterface, const char* pszFile)
{
    std::ifstream file("/sys/class/net/" + strInterface + "/" + pszFile);
    std::string strValue;
    std::getline(file, strValue);
    return strValue;
}

DWORD SysNumber(const std::string& strInterface, const char* pszFile)
{
    std::string strValue = SysValue(strInterface, pszFile);
    char* pEnd = nullptr;
    unsigned long long nValue = std::strtoull(strValue.c_str(), &pEnd, 10);
    return strValue.empty() || *pEnd ? 0 : static_cast<DWORD>(nValue);
}

// Copies a table of rows into a caller's buffer by the rules of the header.
template<typename Table, typename Row> DWORD DeliverTable(Table* pTable, PULONG pdwSize, const std::vector<Row>& rows)
{
    size_t cbNeeded = offsetof(Table, table) + std::max<size_t>(rows.size(), 1) * sizeof(Row);
    if (!pTable || *pdwSize < cbNeeded) {
        *pdwSize = static_cast<ULONG>(cbNeeded);
        return ERROR_INSUFFICIENT_BUFFER;
    }
    pTable->dwNumEntries = static_cast<DWORD>(rows.size());
    if (!rows.empty())
        std::memcpy(pTable->table, rows.data(), rows.size() * sizeof(Row));
    return NO_ERROR;
}

DWORD HostOrder(DWORD dwNetwork)
{
    return ntohl(dwNetwork);
}

MIB_IFROW InterfaceRow(const std::string& strName, unsigned int nFlags)
{
    MIB_IFROW row = MakeInterfaceRow(if_nametoindex(strName.c_str()), MIB_IF_TYPE_OTHER, strName.c_str());
    std::u16string wide = Utf16FromUtf8(strName);
    std::copy_n(wide.begin(), std::min(wide.size(), MAX_INTERFACE_NAME_LEN - 1), row.wszName);
    int nType = static_cast<int>(SysNumber(strName, "type"));
    if (nFlags & IFF_LOOPBACK)
        row.dwType = MIB_IF_TYPE_LOOPBACK;
    else if ((nFlags & IFF_POINTOPOINT) || nType == ARPHRD_PPP_TYPE || nType == ARPHRD_NONE_TYPE)
        row.dwType = MIB_IF_TYPE_PPP;
    else if (nType == ARPHRD_ETHER)
        row.dwType = MIB_IF_TYPE_ETHERNET;
    else
        row.dwType = MIB_IF_TYPE_OTHER;
    row.dwMtu = SysNumber(strName, "mtu");
    DWORD nMegabits = SysNumber(strName, "speed");
    row.dwSpeed = nMegabits <= 4294 ? nMegabits * 1'000'000 : 0xFFFFFFFF;
    // "aa:bb:cc:dd:ee:ff"
    std::string strAddress = SysValue(strName, "address");
    for (size_t nPos = 0; nPos + 1 < strAddress.size() && row.dwPhysAddrLen < MAXLEN_PHYSADDR; nPos += 3)
        row.bPhysAddr[row.dwPhysAddrLen++]
            = static_cast<BYTE>(std::strtoul(strAddress.substr(nPos, 2).c_str(), nullptr, 16));
    if (row.dwType == MIB_IF_TYPE_LOOPBACK)
        row.dwPhysAddrLen = 0;
    row.dwAdminStatus = (nFlags & IFF_UP) ? MIB_IF_ADMIN_STATUS_UP : MIB_IF_ADMIN_STATUS_DOWN;
    row.dwOperStatus = (nFlags & IFF_RUNNING) ? MIB_IF_OPER_STATUS_OPERATIONAL : MIB_IF_OPER_STATUS_NON_OPERATIONAL;
    row.dwInOctets = SysNumber(strName, "statistics/rx_bytes");
    row.dwInUcastPkts = SysNumber(strName, "statistics/rx_packets");
    row.dwInDiscards = SysNumber(strName, "statistics/rx_dropped");
    row.dwInErrors = SysNumber(strName, "statistics/rx_errors");
    row.dwOutOctets = SysNumber(strName, "statistics/tx_bytes");
    row.dwOutUcastPkts = SysNumber(strName, "statistics/tx_packets");
    row.dwOutDiscards = SysNumber(strName, "statistics/tx_dropped");
    row.dwOutErrors = SysNumber(strName, "statistics/tx_errors");
    return row;
}

bool ParseHex(const std::string& strText, DWORD& dwValue)
{
    if (strText.empty() || strText.size() > 8)
        return false;
    char* pEnd = nullptr;
    unsigned long nValue = std::strtoul(strText.c_str(), &pEnd, 16);
    if (*pEnd)
        return false;
    dwValue = static_cast<DWORD>(nValue);
    return true;
}

std::vector<MIB_IFROW> HostInterfaces()
{
    std::map<std::string, unsigned int> interfaces; // by name, with their flags
    ifaddrs* pList = nullptr;
    if (getifaddrs(&pList) == 0) {
        for (ifaddrs* p = pList; p; p = p->ifa_next)
            interfaces[p->ifa_name] = p->ifa_flags;
        freeifaddrs(pList);
    }
    std::vector<MIB_IFROW> rows;
    for (const auto& [strName, nFlags] : interfaces)
        rows.push_back(InterfaceRow(strName, nFlags));
    return rows;
}

std::vector<MIB_IPADDRROW> HostAddresses()
{
    std::vector<MIB_IPADDRROW> rows;
    ifaddrs* pList = nullptr;
    if (getifaddrs(&pList) == 0) {
        for (ifaddrs* p = pList; p; p = p->ifa_next) {
            if (!p->ifa_addr || p->ifa_addr->sa_family != AF_INET)
                continue;
            MIB_IPADDRROW row {};
            row.dwAddr = reinterpret_cast<const sockaddr_in*>(p->ifa_addr)->sin_addr.s_addr;
            row.dwMask = p->ifa_netmask ? reinterpret_cast<const sockaddr_in*>(p->ifa_netmask)->sin_addr.s_addr : 0;
            row.dwIndex = if_nametoindex(p->ifa_name);
            row.dwBCastAddr = 1;
            row.dwReasmSize = 0xFFFF;
            row.wType = 1; // a primary address
            rows.push_back(row);
        }
        freeifaddrs(pList);
    }
    return rows;
}

std::vector<MIB_IPFORWARDROW> HostRoutes()
{
    std::ifstream file("/proc/net/route");
    std::string strText((std::istreambuf_iterator<char>(file)), {});
    return ParseRouteTable(strText);
}

std::atomic<const CIpTables*> g_pIpTables { nullptr };

// Answers one of the three table calls: from the tables a test put in place,
// with their error, else from the host; sorted by `less` when asked.
template<typename Table, typename Row, typename Less>
DWORD ServeTable(Table* pTable, PULONG pdwSize, BOOL bOrder, std::vector<Row> CIpTables::*pRows,
    DWORD CIpTables::*pError, std::vector<Row> (*pHostRows)(), Less less)
{
    if (!pdwSize)
        return ERROR_INVALID_PARAMETER;
    const CIpTables* pTables = g_pIpTables.load();
    if (pTables && pTables->*pError != NO_ERROR)
        return pTables->*pError;
    std::vector<Row> rows = pTables ? pTables->*pRows : pHostRows();
    if (bOrder)
        std::sort(rows.begin(), rows.end(), less);
    return DeliverTable(pTable, pdwSize, rows);
}

} // namespace

CIpTablesOverride::CIpTablesOverride(const CIpTables& tables)
    : m_pPrevious(g_pIpTables.exchange(&tables))
{
}

CIpTablesOverride::~CIpTablesOverride()
{
    g_pIpTables.store(m_pPrevious);
}

MIB_IFROW MakeInterfaceRow(DWORD dwIndex, DWORD dwType, const char* pszDescription)
{
    MIB_IFROW row {};
    row.dwIndex = dwIndex;
    row.dwType = dwType;
    row.dwAdminStatus = MIB_IF_ADMIN_STATUS_UP;
    row.dwOperStatus = MIB_IF_OPER_STATUS_OPERATIONAL;
    size_t nDescr = std::min(std::strlen(pszDescription), MAXLEN_IFDESCR - 1);
    std::memcpy(row.bDescr, pszDescription, nDescr);
    row.dwDescrLen = static_cast<DWORD>(nDescr + 1);
    return row;
}

DWORD GetIfTable(PMIB_IFTABLE pIfTable, PULONG pdwSize, BOOL bOrder)
{
    return ServeTable(pIfTable, pdwSize, bOrder, &CIpTables::interfaces, &CIpTables::dwInterfacesError, HostInterfaces,
        [](const MIB_IFROW& a, const MIB_IFROW& b) { return a.dwIndex < b.dwIndex; });
}

DWORD GetIpAddrTable(PMIB_IPADDRTABLE pIpAddrTable, PULONG pdwSize, BOOL bOrder)
{
    return ServeTable(pIpAddrTable, pdwSize, bOrder, &CIpTables::addresses, &CIpTables::dwAddressesError, HostAddresses,
        [](const MIB_IPADDRROW& a, const MIB_IPADDRROW& b) { return HostOrder(a.dwAddr) < HostOrder(b.dwAddr); });
}

std::vector<MIB_IPFORWARDROW> ParseRouteTable(std::string_view text)
{
    std::vector<MIB_IPFORWARDROW> rows;
    std::istringstream lines { std::string(text) };
    std::string strLine;
    bool bHeader = true;
    while (std::getline(lines, strLine)) {
        if (bHeader) { // the first line names the columns
            bHeader = false;
            continue;
        }
        std::istringstream fields(strLine);
        std::string strInterface, strDestination, strGateway, strFlags, strRefs, strUse, strMetric, strMask;
        if (!(fields >> strInterface >> strDestination >> strGateway >> strFlags >> strRefs >> strUse >> strMetric
                >> strMask))
            continue;
        MIB_IPFORWARDROW row {};
        DWORD dwFlags = 0;
        char* pEnd = nullptr;
        unsigned long nMetric = std::strtoul(strMetric.c_str(), &pEnd, 10);
        if (!ParseHex(strDestination, row.dwForwardDest) || !ParseHex(strGateway, row.dwForwardNextHop)
            || !ParseHex(strMask, row.dwForwardMask) || !ParseHex(strFlags, dwFlags) || *pEnd || strMetric.empty()
            || strInterface.size() >= IF_NAMESIZE)
            continue;
        row.dwForwardIfIndex = if_nametoindex(strInterface.c_str());
        row.dwForwardType = row.dwForwardNextHop ? MIB_IPROUTE_TYPE_INDIRECT : MIB_IPROUTE_TYPE_DIRECT;
        row.dwForwardProto = MIB_IPPROTO_NETMGMT;
        row.dwForwardMetric1 = static_cast<DWORD>(nMetric);
        rows.push_back(row);
    }
    return rows;
}

DWORD GetIpForwardTable(PMIB_IPFORWARDTABLE pIpForwardTable, PULONG pdwSize, BOOL bOrder)
{
    return ServeTable(pIpForwardTable, pdwSize, bOrder, &CIpTables::routes, &CIpTables::dwRoutesError, HostRoutes,
        [](const MIB_IPFORWARDROW& a, const MIB_IPFORWARDROW& b) {
            return std::make_tuple(HostOrder(a.dwForwardDest), HostOrder(a.dwForwardMask), a.dwForwardPolicy,
                       HostOrder(a.dwForwardNextHop))
                < std::make_tuple(HostOrder(b.dwForwardDest), HostOrder(b.dwForwardMask), b.dwForwardPolicy,
                    HostOrder(b.dwForwardNextHop));
        });
}
