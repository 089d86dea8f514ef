#pragma once

// The local network interfaces, their IPv4 addresses and the routes, in the
// tables of the IP helper calls, from getifaddrs, /sys/class/net/<name>/ and
// /proc/net/route. Interface types: 24 loopback, 23 point-to-point (ppp,
// tun), 6 Ethernet, else 1; addresses and masks are in network byte order.
//
// Each call fills a caller's buffer: ERROR_INVALID_PARAMETER for a null size
// pointer, ERROR_INSUFFICIENT_BUFFER with the size needed in *pdwSize when the
// buffer is missing or too small, else NO_ERROR. With bOrder the rows are
// sorted: interfaces by index, addresses by address, routes by destination,
// mask, policy and next hop.

#include "platform/base/WinTypes.h"

#include <string_view>
#include <vector>

// clang-format off
constexpr DWORD MIB_IF_TYPE_OTHER    = 1;
constexpr DWORD MIB_IF_TYPE_ETHERNET = 6;
constexpr DWORD MIB_IF_TYPE_PPP      = 23;
constexpr DWORD MIB_IF_TYPE_LOOPBACK = 24;

constexpr DWORD MIB_IF_ADMIN_STATUS_UP   = 1;
constexpr DWORD MIB_IF_ADMIN_STATUS_DOWN = 2;
constexpr DWORD MIB_IF_OPER_STATUS_NON_OPERATIONAL = 0;
constexpr DWORD MIB_IF_OPER_STATUS_OPERATIONAL     = 5;

constexpr DWORD MIB_IPROUTE_TYPE_DIRECT   = 3;
constexpr DWORD MIB_IPROUTE_TYPE_INDIRECT = 4;
constexpr DWORD MIB_IPPROTO_NETMGMT       = 3;

constexpr size_t MAX_INTERFACE_NAME_LEN = 256;
constexpr size_t MAXLEN_PHYSADDR        = 8;
constexpr size_t MAXLEN_IFDESCR         = 256;
// clang-format on

struct MIB_IFROW {
    WCHAR wszName[MAX_INTERFACE_NAME_LEN];
    DWORD dwIndex;
    DWORD dwType;
    DWORD dwMtu;
    DWORD dwSpeed;
    DWORD dwPhysAddrLen;
    BYTE bPhysAddr[MAXLEN_PHYSADDR];
    DWORD dwAdminStatus;
    DWORD dwOperStatus;
    DWORD dwLastChange;
    DWORD dwInOctets;
    DWORD dwInUcastPkts;
    DWORD dwInNUcastPkts;
    DWORD dwInDiscards;
    DWORD dwInErrors;
    DWORD dwInUnknownProtos;
    DWORD dwOutOctets;
    DWORD dwOutUcastPkts;
    DWORD dwOutNUcastPkts;
    DWORD dwOutDiscards;
    DWORD dwOutErrors;
    DWORD dwOutQLen;
    DWORD dwDescrLen;
    BYTE bDescr[MAXLEN_IFDESCR];
};
struct MIB_IFTABLE {
    DWORD dwNumEntries;
    MIB_IFROW table[1];
};
using PMIB_IFTABLE = MIB_IFTABLE*;

struct MIB_IPADDRROW {
    DWORD dwAddr;
    DWORD dwIndex;
    DWORD dwMask;
    DWORD dwBCastAddr; // 1: the broadcast address has its host bits set
    DWORD dwReasmSize;
    unsigned short unused1;
    unsigned short wType;
};
struct MIB_IPADDRTABLE {
    DWORD dwNumEntries;
    MIB_IPADDRROW table[1];
};
using PMIB_IPADDRTABLE = MIB_IPADDRTABLE*;

struct MIB_IPFORWARDROW {
    DWORD dwForwardDest;
    DWORD dwForwardMask;
    DWORD dwForwardPolicy;
    DWORD dwForwardNextHop;
    DWORD dwForwardIfIndex;
    DWORD dwForwardType;
    DWORD dwForwardProto;
    DWORD dwForwardAge;
    DWORD dwForwardNextHopAS;
    DWORD dwForwardMetric1;
    DWORD dwForwardMetric2;
    DWORD dwForwardMetric3;
    DWORD dwForwardMetric4;
    DWORD dwForwardMetric5;
};
struct MIB_IPFORWARDTABLE {
    DWORD dwNumEntries;
    MIB_IPFORWARDROW table[1];
};
using PMIB_IPFORWARDTABLE = MIB_IPFORWARDTABLE*;
using PULONG = ULONG*;

DWORD GetIfTable(PMIB_IFTABLE pIfTable, PULONG pdwSize, BOOL bOrder);
DWORD GetIpAddrTable(PMIB_IPADDRTABLE pIpAddrTable, PULONG pdwSize, BOOL bOrder);
DWORD GetIpForwardTable(PMIB_IPFORWARDTABLE pIpForwardTable, PULONG pdwSize, BOOL bOrder);

// A fixed set of tables that stands in for the host's, for tests that need
// interfaces this machine does not have (a dial-up link, no network). A
// table's error, when not NO_ERROR, is what every call for that table gives.
struct CIpTables {
    std::vector<MIB_IFROW> interfaces;
    std::vector<MIB_IPADDRROW> addresses;
    std::vector<MIB_IPFORWARDROW> routes;
    DWORD dwInterfacesError { 0 };
    DWORD dwAddressesError { 0 };
    DWORD dwRoutesError { 0 };
};

// Makes the three calls answer from `tables` (kept by the caller) for the
// lifetime of the guard, in every thread; restores the previous answer after.
class CIpTablesOverride {
public:
    explicit CIpTablesOverride(const CIpTables& tables);
    ~CIpTablesOverride();
    CIpTablesOverride(const CIpTablesOverride&) = delete;
    CIpTablesOverride& operator=(const CIpTablesOverride&) = delete;

private:
    const CIpTables* m_pPrevious;
};

// An interface row with the name as its description; the rest zero but the
// status, which is up and operational.
MIB_IFROW MakeInterfaceRow(DWORD dwIndex, DWORD dwType, const char* pszDescription);

// The routes of /proc/net/route text (hexadecimal, in the kernel's byte
// order); malformed lines are skipped. Interface indexes come from the names.
std::vector<MIB_IPFORWARDROW> ParseRouteTable(std::string_view text);
