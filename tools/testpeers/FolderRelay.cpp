#include "tools/testpeers/FolderRelay.h"

#include "tools/testpeers/RelaySession.h"

#include <fstream>
#include <iterator>
#include <thread>

namespace fs = std::filesystem;

bool WriteFolderRequest(const fs::path& folder, const std::string& strId, const std::string& strBytes)
{
    const fs::path temporary = folder / (strId + ".~in");
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file.write(strBytes.data(), static_cast<std::streamsize>(strBytes.size())) || !file.flush())
            return false;
    }
    std::error_code ec;
    fs::rename(temporary, folder / (strId + ".in"), ec);
    if (ec)
        fs::remove(temporary, ec);
    return !ec;
}

std::optional<std::string> TakeFolderReply(
    const fs::path& folder, const std::string& strId, std::chrono::milliseconds nPoll, std::chrono::milliseconds nLimit)
{
    const fs::path reply = folder / (strId + ".out");
    const auto deadline = std::chrono::steady_clock::now() + nLimit;
    std::error_code ec;
    while (!fs::exists(reply, ec)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(nPoll);
    }
    // The server renames a complete reply into place: what exists is whole.
    std::ifstream file(reply, std::ios::binary);
    std::string strBytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    file.close();
    fs::remove(reply, ec);
    return strBytes;
}

std::optional<std::string> RunFolderExchange(const fs::path& folder, const std::string& strId,
    const std::string& strToken, const std::string& strKey, std::chrono::milliseconds nPoll,
    std::chrono::milliseconds nLimit)
{
    if (!WriteFolderRequest(folder, strId, UserLine(strId, strKey) + "\r\n" + strToken + "\r\n"))
        return std::nullopt;
    return TakeFolderReply(folder, strId, nPoll, nLimit);
}
