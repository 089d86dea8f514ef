#pragma once

// The local IP address the directory server is told about a dial-up link:
// the first address of the first interface that is a point-to-point link
// (type 23), or an Ethernet-type adapter whose description, upper-cased, is
// "PPP ADAPTER." or "AOL ADAPTER". Loopback interfaces and the address
// 0.0.0.0 are skipped; addresses belong to interfaces by index.

#include "platform/base/CString.h"
#include "platform/net/IpHelper.h"

#include <vector>

// The chosen address as dotted text, walking the interfaces and the addresses
// in the order given; empty when no interface qualifies.
CString ChooseLocalAddress(const std::vector<MIB_IFROW>& interfaces, const std::vector<MIB_IPADDRROW>& addresses);

// Reads the interface, address and route tables (each asked for its size
// first) and chooses the address. A failing table call shows its message
// (the size protocol, one per table, or an empty interface table) with the
// stop icon and gives an empty text.
CString GetIpConfigByIpHelper();
