#pragma once

// Whether this machine is connected to a network, in the terms of the
// connection-state call: connected when a default route (IPv4 or IPv6) goes
// through an interface that is up; MODEM when that interface is a
// point-to-point link, LAN otherwise; PROXY when the environment names an
// HTTP proxy; CONFIGURED when an interface other than loopback exists.
// Tests set the answer with CConnectedStateOverride.

#include "platform/base/WinTypes.h"

// clang-format off
constexpr DWORD INTERNET_CONNECTION_MODEM      = 0x01;
constexpr DWORD INTERNET_CONNECTION_LAN        = 0x02;
constexpr DWORD INTERNET_CONNECTION_PROXY      = 0x04;
constexpr DWORD INTERNET_CONNECTION_OFFLINE    = 0x20; // the user chose to work offline; never set here
constexpr DWORD INTERNET_CONNECTION_CONFIGURED = 0x40;
// clang-format on

// TRUE when connected; the flags go to *lpdwFlags when given. dwReserved is 0.
BOOL InternetGetConnectedState(LPDWORD lpdwFlags, DWORD dwReserved);

// Makes InternetGetConnectedState answer bConnected and dwFlags, in every
// thread, for the lifetime of the guard; restores the previous answer after.
class CConnectedStateOverride {
public:
    CConnectedStateOverride(BOOL bConnected, DWORD dwFlags);
    ~CConnectedStateOverride();
    CConnectedStateOverride(const CConnectedStateOverride&) = delete;
    CConnectedStateOverride& operator=(const CConnectedStateOverride&) = delete;

private:
    struct State {
        BOOL bConnected;
        DWORD dwFlags;
    };
    State m_state;
    const State* m_pPrevious;

    friend BOOL InternetGetConnectedState(LPDWORD lpdwFlags, DWORD dwReserved);
};
