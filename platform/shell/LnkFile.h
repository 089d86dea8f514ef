#pragma once

// A reader of Windows shortcut files (".lnk"), in the public shell-link
// format: a 76-byte header (size 0x4C and the shell-link class id), then, by
// the header's flags, an item id list, a LinkInfo structure (the target's
// local base path and/or network share, and the common path suffix), the
// string data (name, relative path, working folder, arguments, icon) and the
// extra data blocks, of which the environment-variable block is read.
//
// Strings are UTF-8: Unicode ones converted (a lone surrogate becomes U+FFFD),
// ANSI ones read as Windows-1252. Every size and offset is checked against the
// data it lies in; damage is refused whole with a reason, never read past.

#include "platform/base/WinTypes.h"

#include <span>
#include <string>

// Files larger than this are not shortcuts.
constexpr size_t LNK_MAX_SIZE = 1024 * 1024;

// clang-format off
constexpr DWORD LNK_HAS_ID_LIST       = 0x00000001;
constexpr DWORD LNK_HAS_LINK_INFO     = 0x00000002;
constexpr DWORD LNK_HAS_NAME          = 0x00000004;
constexpr DWORD LNK_HAS_RELATIVE_PATH = 0x00000008;
constexpr DWORD LNK_HAS_WORKING_DIR   = 0x00000010;
constexpr DWORD LNK_HAS_ARGUMENTS     = 0x00000020;
constexpr DWORD LNK_HAS_ICON_LOCATION = 0x00000040;
constexpr DWORD LNK_IS_UNICODE        = 0x00000080;
constexpr DWORD LNK_FORCE_NO_LINK_INFO = 0x00000100; // the link information is to be ignored
// clang-format on

struct CLnkFile {
    /* From the header. */
    DWORD dwFlags { 0 };
    DWORD dwFileAttributes { 0 };
    FILETIME ftCreationTime {};
    FILETIME ftAccessTime {};
    FILETIME ftWriteTime {};
    DWORD nFileSize { 0 };

    /* From the LinkInfo. */
    bool bHasLocalBasePath { false };
    std::string strLocalBasePath; // "C:\Users\"
    bool bHasNetworkLink { false };
    std::string strNetName;          // "\\server\share"
    std::string strCommonPathSuffix; // "Administrator"

    /* The string data. */
    std::string strName;
    std::string strRelativePath;
    std::string strWorkingDir;
    std::string strArguments;
    std::string strIconLocation;

    /* The environment-variable block: the target as written ("%windir%\x.exe"). */
    std::string strEnvironmentTarget;
};

// Reads a shortcut. False, with a reason, for damaged or foreign data.
[[nodiscard]] bool ReadLnkFile(std::span<const BYTE> data, CLnkFile& link, std::string& strError);
