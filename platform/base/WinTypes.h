#pragma once

// The basic types, structures and macros that the program's code uses as the
// Windows headers define them. Text is UTF-8 (`char`), so TCHAR is `char` and
// the A and T forms of every call are one function.

#include <cstddef>
#include <cstdint>

// Integers.
using BOOL = int;
using BOOLEAN = unsigned char;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using INT = int;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using DWORDLONG = std::uint64_t;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using SIZE_T = std::size_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using ATOM = WORD;
using COLORREF = DWORD;
using HRESULT = LONG;

// Characters and strings. TCHAR is UTF-8 `char`; WCHAR is UTF-16, used only
// where a stored or exchanged layout holds UTF-16.
using CHAR = char;
using TCHAR = char;
using WCHAR = char16_t;
using LPSTR = char*;
using LPCSTR = const char*;
using LPTSTR = char*;
using LPCTSTR = const char*;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;

// Pointers.
using PVOID = void*;
using LPVOID = void*;
using LPCVOID = const void*;
using LPBYTE = BYTE*;
using LPDWORD = DWORD*;
using PDWORD = DWORD*;
using LPLONG = LONG*;
using LPBOOL = BOOL*;
using LPINT = int*;
using LPWORD = WORD*;

#define _T(x) x
#define TEXT(x) x

// Macros, as system headers (glib) guard their own TRUE/FALSE with #ifndef.
#ifndef TRUE
#    define TRUE 1
#endif
#ifndef FALSE
#    define FALSE 0
#endif

// Handles. Each kind is its own opaque pointer type, as with STRICT, so that
// mixing kinds is a compile error.
#define ARCHIVORA_DECLARE_HANDLE(name) \
    struct name##__ {                  \
        int unused;                    \
    };                                 \
    using name = name##__*

using HANDLE = void*;
using LPHANDLE = HANDLE*;
ARCHIVORA_DECLARE_HANDLE(HINSTANCE);
using HMODULE = HINSTANCE;
ARCHIVORA_DECLARE_HANDLE(HKEY);
using PHKEY = HKEY*;
ARCHIVORA_DECLARE_HANDLE(HRSRC);
using HGLOBAL = HANDLE;
ARCHIVORA_DECLARE_HANDLE(HWND);
ARCHIVORA_DECLARE_HANDLE(HMENU);
ARCHIVORA_DECLARE_HANDLE(HICON);
using HCURSOR = HICON;
ARCHIVORA_DECLARE_HANDLE(HBITMAP);
ARCHIVORA_DECLARE_HANDLE(HACCEL);

#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)))

// Word and byte packing.
constexpr WORD LOWORD(DWORD_PTR l)
{
    return static_cast<WORD>(l & 0xFFFF);
}
constexpr WORD HIWORD(DWORD_PTR l)
{
    return static_cast<WORD>((l >> 16) & 0xFFFF);
}
constexpr BYTE LOBYTE(DWORD_PTR w)
{
    return static_cast<BYTE>(w & 0xFF);
}
constexpr BYTE HIBYTE(DWORD_PTR w)
{
    return static_cast<BYTE>((w >> 8) & 0xFF);
}
constexpr LONG MAKELONG(WORD lo, WORD hi)
{
    return static_cast<LONG>(static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16));
}
constexpr WORD MAKEWORD(BYTE lo, BYTE hi)
{
    return static_cast<WORD>(lo | (hi << 8));
}

constexpr UINT MAX_PATH = 260;

// Geometry.
struct POINT {
    LONG x;
    LONG y;
};
using LPPOINT = POINT*;

struct SIZE {
    LONG cx;
    LONG cy;
};
using LPSIZE = SIZE*;

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
using LPRECT = RECT*;
using LPCRECT = const RECT*;

// 64-bit integers split in two halves, as stored in files and structures.
union LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    } u;
    LONGLONG QuadPart;
};

union ULARGE_INTEGER {
    struct {
        DWORD LowPart;
        DWORD HighPart;
    } u;
    ULONGLONG QuadPart;
};

// Time: 100-nanosecond intervals since 1601-01-01 UTC.
struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
using LPFILETIME = FILETIME*;

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;     // 1 = January
    WORD wDayOfWeek; // 0 = Sunday
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};
using LPSYSTEMTIME = SYSTEMTIME*;

// Security attributes are accepted and ignored: the host's permissions apply.
struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
using PSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
