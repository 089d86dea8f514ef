#include "webaccess/directory/LocalAddress.h"

#include "platform/base/WinError.h"
#include "platform/framework/AfxMessageBox.h"
#include "resources/ResourceIds.h"

#include <cstring>
#include <optional>

namespace {

bool QualifiesForDialUp(const MIB_IFROW& row)
{
    if (row.dwType == MIB_IF_TYPE_PPP)
        return true;
    if (row.dwType != MIB_IF_TYPE_ETHERNET)
        return false;
    size_t nLength = strnlen(reinterpret_cast<const char*>(row.bDescr), MAXLEN_IFDESCR);
    CString strDescription(reinterpret_cast<const char*>(row.bDescr), static_cast<int>(nLength));
    strDescription.MakeUpper();
    return strDescription == "PPP ADAPTER." || strDescription == "AOL ADAPTER";
}

CString DottedAddress(DWORD dwAddress)
{
    const auto* pBytes = reinterpret_cast<const BYTE*>(&dwAddress); // network order: first byte first
    CString strAddress;
    strAddress.Format("%d.%d.%d.%d", pBytes[0], pBytes[1], pBytes[2], pBytes[3]);
    return strAddress;
}

// One table by the size protocol: a 1-byte call must ask for more room, then
// a sorted call fills it. Empty on failure, after the message box.
template<typename Table, typename Row>
std::optional<std::vector<Row>> ReadTable(DWORD (*pfnGet)(Table*, PULONG, BOOL), UINT nFailure)
{
    std::vector<BYTE> buffer(1);
    ULONG nSize = 1;
    if (pfnGet(reinterpret_cast<Table*>(buffer.data()), &nSize, FALSE) != ERROR_INSUFFICIENT_BUFFER) {
        AfxMessageBox(IDS_WA_IPHLP_SIZE, MB_OK | MB_ICONSTOP);
        return std::nullopt;
    }
    buffer.assign(nSize, 0);
    if (pfnGet(reinterpret_cast<Table*>(buffer.data()), &nSize, TRUE) != NO_ERROR) {
        AfxMessageBox(nFailure, MB_OK | MB_ICONSTOP);
        return std::nullopt;
    }
    const auto* pTable = reinterpret_cast<const Table*>(buffer.data());
    return std::vector<Row>(pTable->table, pTable->table + pTable->dwNumEntries);
}

} // namespace

CString ChooseLocalAddress(const std::vector<MIB_IFROW>& interfaces, const std::vector<MIB_IPADDRROW>& addresses)
{
    for (const MIB_IFROW& row : interfaces) {
        if (row.dwType == MIB_IF_TYPE_LOOPBACK || !QualifiesForDialUp(row))
            continue;
        for (const MIB_IPADDRROW& address : addresses)
            if (address.dwIndex == row.dwIndex && address.dwAddr != 0)
                return DottedAddress(address.dwAddr);
    }
    return CString();
}

CString GetIpConfigByIpHelper()
{
    auto interfaces = ReadTable<MIB_IFTABLE, MIB_IFROW>(&GetIfTable, IDS_WA_IPHLP_INTERFACES);
    if (!interfaces)
        return CString();
    auto addresses = ReadTable<MIB_IPADDRTABLE, MIB_IPADDRROW>(&GetIpAddrTable, IDS_WA_IPHLP_ADDRESSES);
    if (!addresses)
        return CString();
    // The routes are read as the lookup always did, so that a broken table is
    // reported; the choice does not use them.
    if (!ReadTable<MIB_IPFORWARDTABLE, MIB_IPFORWARDROW>(&GetIpForwardTable, IDS_WA_IPHLP_ROUTES))
        return CString();
    if (interfaces->empty()) {
        AfxMessageBox(IDS_WA_IPHLP_NO_INTERFACES, MB_OK | MB_ICONSTOP);
        return CString();
    }
    return ChooseLocalAddress(*interfaces, *addresses);
}
