#pragma once

// The error codes of the socket calls (WSAGetLastError, and the high word of
// a notification), apart from the other names so that the host layer, which
// sees the system's own socket names, can share them.

// clang-format off
constexpr int WSAEINTR           = 10004;
constexpr int WSAEACCES          = 10013;
constexpr int WSAEFAULT          = 10014;
constexpr int WSAEINVAL          = 10022;
constexpr int WSAEMFILE          = 10024;
constexpr int WSAEWOULDBLOCK     = 10035;
constexpr int WSAEINPROGRESS     = 10036;
constexpr int WSAEALREADY        = 10037;
constexpr int WSAENOTSOCK        = 10038;
constexpr int WSAEAFNOSUPPORT    = 10047;
constexpr int WSAEADDRINUSE      = 10048;
constexpr int WSAEADDRNOTAVAIL   = 10049;
constexpr int WSAENETDOWN        = 10050;
constexpr int WSAENETUNREACH     = 10051;
constexpr int WSAECONNABORTED    = 10053;
constexpr int WSAECONNRESET      = 10054;
constexpr int WSAENOBUFS         = 10055;
constexpr int WSAEISCONN         = 10056;
constexpr int WSAENOTCONN        = 10057;
constexpr int WSAESHUTDOWN       = 10058;
constexpr int WSAETIMEDOUT       = 10060;
constexpr int WSAECONNREFUSED    = 10061;
constexpr int WSAEHOSTUNREACH    = 10065;
constexpr int WSANOTINITIALISED  = 10093;
constexpr int WSAHOST_NOT_FOUND  = 11001;
// clang-format on
