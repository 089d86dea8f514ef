#pragma once

// The relay's side of the request folder, as a relay on the LAN works it: a
// request is written under a temporary name and renamed to <ID>.in, so the
// server never reads half of one; the reply <ID>.out is polled for, read and
// deleted. Plain host files, never the code under test.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

// Writes strBytes as <folder>/<ID>.in through <ID>.~in; false when a write
// or the rename fails.
bool WriteFolderRequest(const std::filesystem::path& folder, const std::string& strId, const std::string& strBytes);
// The bytes of <folder>/<ID>.out once it exists, the file deleted; looked for
// every nPoll, nothing when nLimit passes first.
std::optional<std::string> TakeFolderReply(const std::filesystem::path& folder, const std::string& strId,
    std::chrono::milliseconds nPoll, std::chrono::milliseconds nLimit);
// One exchange: "<ID>\r\n<token>\r\n" written ("<ID>|<key>" on line 1 with
// a session key), then the reply taken; nothing when the request could not
// be written or no reply came.
std::optional<std::string> RunFolderExchange(const std::filesystem::path& folder, const std::string& strId,
    const std::string& strToken, const std::string& strKey = {},
    std::chrono::milliseconds nPoll = std::chrono::milliseconds(1),
    std::chrono::milliseconds nLimit = std::chrono::milliseconds(20000));
