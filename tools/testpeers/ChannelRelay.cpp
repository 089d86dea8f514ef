#include "tools/testpeers/ChannelRelay.h"

#include <thread>

std::string ChannelRequest(const std::string& strFolder, const std::string& strId,
    const std::vector<std::string>& lines, const std::string& strKey)
{
    std::string strBytes = "<#INIT |" + strFolder + "| |" + strId + "| |" + strKey + "|\n";
    for (const std::string& strLine : lines)
        strBytes += strLine + "\n";
    return strBytes + "<#END#>\n";
}

std::string ChannelUploadLine(
    const std::string& strFolder, const std::string& strId, long long nRawSize, long long nPackedSize)
{
    return "<#INIT_UPL |" + strFolder + "| |" + strId + "| |x| |y| |" + std::to_string(nRawSize) + "| |"
        + std::to_string(nPackedSize) + "|\n";
}

CChannelExchange RunChannelExchange(int nPort, const std::string& strBytes, std::chrono::milliseconds nByteGap,
    RelayEnding eEnding, std::chrono::milliseconds nLimit)
{
    CChannelExchange exchange;
    CPeerSocket socket = CPeerSocket::Connect(nPort);
    exchange.bConnected = socket.IsValid();
    if (!exchange.bConnected)
        return exchange;
    if (nByteGap.count() == 0) {
        exchange.bSent = socket.Send(strBytes);
    } else {
        exchange.bSent = true;
        for (char ch : strBytes) {
            // A peer the program has cut off stops sending.
            if (!socket.Send(std::string(1, ch))) {
                exchange.bSent = false;
                break;
            }
            std::this_thread::sleep_for(nByteGap);
        }
    }
    if (eEnding == RelayEnding::HalfClose)
        socket.ShutDownSend();
    exchange.strReply = socket.ReceiveAll(nLimit);
    return exchange;
}
