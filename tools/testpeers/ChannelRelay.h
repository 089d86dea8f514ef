#pragma once

// The relay's side of the program's socket channel: one exchange per
// connection, sent as the relay sends it, and the reply read until the
// program closes the connection. Plain sockets on the loopback address.

#include "tools/testpeers/PeerSocket.h"

#include <chrono>
#include <string>
#include <vector>

// "<#INIT |folder| |id| |key|\n", each line with "\n", then "<#END#>\n".
// The key is the session's, from its LOGIN reply (SessionKeyOf); empty
// before the login.
std::string ChannelRequest(const std::string& strFolder, const std::string& strId,
    const std::vector<std::string>& lines, const std::string& strKey = {});
// "<#INIT_UPL |folder| |id| |x| |y| |raw| |packed|\n" (without the upload's bytes).
std::string ChannelUploadLine(
    const std::string& strFolder, const std::string& strId, long long nRawSize, long long nPackedSize);

// How the relay ends its sending.
enum class RelayEnding {
    KeepOpen, // waits for the reply with its side open, as the relay does
    HalfClose // shuts its sending side after the bytes: a peer that stops early
};

// One exchange: connects to 127.0.0.1:nPort, sends the bytes (all at once, or
// one byte per nByteGap when it is not zero) and reads until the close.
struct CChannelExchange {
    bool bConnected { false };
    bool bSent { false };
    std::string strReply;
};
CChannelExchange RunChannelExchange(int nPort, const std::string& strBytes,
    std::chrono::milliseconds nByteGap = std::chrono::milliseconds(0), RelayEnding eEnding = RelayEnding::KeepOpen,
    std::chrono::milliseconds nLimit = std::chrono::milliseconds(20000));
