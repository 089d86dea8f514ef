#include "platform/net/ConnectedState.h"

#include "platform/base/WinError.h"
#include "platform/net/IpHelper.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <net/if.h>

namespace {

std::atomic<const void*> g_pConnectedState { nullptr };

// A table as the IP helper calls give it: asked for its size, then filled.
template<typename Table> std::vector<BYTE> ReadTable(DWORD (*pfnGet)(Table*, PULONG, BOOL))
{
    ULONG nSize = 0;
    std::vector<BYTE> buffer;
    for (int nTry = 0; nTry < 3; ++nTry) { // the table may grow between the calls
        DWORD dwResult = pfnGet(buffer.empty() ? nullptr : reinterpret_cast<Table*>(buffer.data()), &nSize, FALSE);
        if (dwResult == NO_ERROR)
            return buffer;
        if (dwResult != ERROR_INSUFFICIENT_BUFFER)
            break;
        buffer.assign(nSize, 0);
    }
    return {};
}

// The interface indexes of IPv6 default routes (::/0) in /proc/net/ipv6_route.
std::vector<DWORD> Ipv6DefaultRouteInterfaces()
{
    std::vector<DWORD> indexes;
    std::ifstream file("/proc/net/ipv6_route");
    std::string strLine;
    while (std::getline(file, strLine)) {
        std::istringstream fields(strLine);
        std::string strDestination, strPrefix, strSource, strSourcePrefix, strNextHop, strMetric, strRefs, strUse,
            strFlags, strName;
        if (!(fields >> strDestination >> strPrefix >> strSource >> strSourcePrefix >> strNextHop >> strMetric
                >> strRefs >> strUse >> strFlags >> strName))
            continue;
        if (strDestination == std::string(32, '0') && strPrefix == "00" && strName != "lo")
            indexes.push_back(if_nametoindex(strName.c_str()));
    }
    return indexes;
}

BOOL HostConnectedState(DWORD& dwFlags)
{
    dwFlags = 0;
    std::vector<BYTE> interfaces = ReadTable(&GetIfTable);
    std::vector<BYTE> routes = ReadTable(&GetIpForwardTable);
    const auto* pInterfaces = interfaces.empty() ? nullptr : reinterpret_cast<const MIB_IFTABLE*>(interfaces.data());
    const auto* pRoutes = routes.empty() ? nullptr : reinterpret_cast<const MIB_IPFORWARDTABLE*>(routes.data());

    std::vector<DWORD> defaultInterfaces = Ipv6DefaultRouteInterfaces();
    for (DWORD i = 0; pRoutes && i < pRoutes->dwNumEntries; ++i)
        if (pRoutes->table[i].dwForwardDest == 0 && pRoutes->table[i].dwForwardMask == 0)
            defaultInterfaces.push_back(pRoutes->table[i].dwForwardIfIndex);

    BOOL bConnected = FALSE;
    for (DWORD i = 0; pInterfaces && i < pInterfaces->dwNumEntries; ++i) {
        const MIB_IFROW& row = pInterfaces->table[i];
        if (row.dwType == MIB_IF_TYPE_LOOPBACK)
            continue; // reaches nothing but this machine
        dwFlags |= INTERNET_CONNECTION_CONFIGURED;
        if (bConnected || row.dwOperStatus != MIB_IF_OPER_STATUS_OPERATIONAL)
            continue;
        for (DWORD dwIndex : defaultInterfaces) {
            if (dwIndex == row.dwIndex) {
                bConnected = TRUE;
                dwFlags |= row.dwType == MIB_IF_TYPE_PPP ? INTERNET_CONNECTION_MODEM : INTERNET_CONNECTION_LAN;
                break;
            }
        }
    }
    for (const char* pszName : { "http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY" }) {
        const char* pszValue = std::getenv(pszName);
        if (pszValue && *pszValue)
            dwFlags |= INTERNET_CONNECTION_PROXY;
    }
    return bConnected;
}

} // namespace

BOOL InternetGetConnectedState(LPDWORD lpdwFlags, DWORD /*dwReserved*/)
{
    DWORD dwFlags = 0;
    BOOL bConnected = FALSE;
    if (const auto* pState = static_cast<const CConnectedStateOverride::State*>(g_pConnectedState.load())) {
        bConnected = pState->bConnected;
        dwFlags = pState->dwFlags;
    } else {
        bConnected = HostConnectedState(dwFlags);
    }
    if (lpdwFlags)
        *lpdwFlags = dwFlags;
    return bConnected;
}

CConnectedStateOverride::CConnectedStateOverride(BOOL bConnected, DWORD dwFlags)
    : m_state { bConnected, dwFlags }
    , m_pPrevious(static_cast<const State*>(g_pConnectedState.exchange(&m_state)))
{
}

CConnectedStateOverride::~CConnectedStateOverride()
{
    g_pConnectedState.store(m_pPrevious);
}
