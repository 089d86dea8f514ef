// Links: webaccess_server archivora_testpeers
// Sends arbitrary bytes to the socket channel over a loopback connection, split
// at arbitrary points: the program reads each chunk before the next is sent.
// Input: a byte of flags (1: answer every request file and upload, 2: shut
// the sending side before the end), then chunks, each a length byte and that
// many bytes (the last may be shorter). The relay then resets the connection.
// Whatever came, the exchange ends once its request is answered, no temporary
// stays in the communication folder, and a first line that is accepted names
// a folder and an ID that are safe parts of a path.

#include "platform/base/PathMap.h"
#include "platform/net/AsyncSocket.h"
#include "platform/window/MessageQueue.h"
#include "store/FileHelpers.h"
#include "tests/support/ScratchFolder.h"
#include "tools/testpeers/PeerSocket.h"
#include "webaccess/profiles/CWASettings.h"
#include "webaccess/server/CWAChannelPolicy.h"
#include "webaccess/server/CWAClientSocket.h"
#include "webaccess/server/CWAListenSocket.h"
#include "webaccess/server/CWASocketMessage.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Every upload is let in, up to 1 MiB, so that inputs reach the receiving
// and unpacking of uploads.
class CAnyUploadPolicy : public CWAChannelPolicy {
public:
    DWORD GetRequestDeadline() const override { return CWAClientSocket::DEFAULT_REQUEST_DEADLINE; }
    ULONGLONG GetUploadLimit() const override { return 1024 * 1024; }
    LPCTSTR CheckUpload(const CString&, ULONGLONG, ULONGLONG) const override { return nullptr; }
};

struct CChannelSetup {
    ScratchFolder folder { "fuzz-channel-" };
    CAnyUploadPolicy policy;
    fs::path commFolder;
    std::unique_ptr<CWAListenSocket> pListener;
    int nPort { 0 };

    CChannelSetup()
    {
        if (!folder.IsValid())
            std::abort();
        ::setenv("ARCHIVORA_HOME", folder.Path().c_str(), 1);
        const CString strFolder = BuildCommFolderPath(GetProgramFolder(), "abcdefgh");
        std::string strHost;
        if (!CreateFolderPath(strFolder) || !HostPathFromProgramPath(strFolder, strHost) || !AfxSocketInit())
            std::abort();
        commFolder = strHost;
        pListener = std::make_unique<CWAListenSocket>(strFolder);
        pListener->SetPolicy(&policy);
        CString strAddress;
        UINT nPort = 0;
        if (!pListener->Create(0, SOCK_STREAM, FD_ALL_EVENTS) || !pListener->Listen(5)
            || !pListener->GetSockName(strAddress, nPort))
            std::abort();
        this->nPort = static_cast<int>(nPort);
    }
};

// The first line's invariant: what is accepted is safe in a path.
void CheckFirstLine(std::string_view bytes)
{
    const size_t nEnd = bytes.find('\n');
    std::string strLine(bytes.substr(0, nEnd));
    if (!strLine.empty() && strLine.back() == '\r')
        strLine.pop_back();
    const CWAInitLine init = ParseInitLine(CString(strLine.data(), static_cast<int>(strLine.size())));
    if (init.nMode == CWAInitLine::REFUSED)
        return;
    for (const CString* pPart : { &init.strFolderName, &init.strId })
        if (pPart->IsEmpty() || std::strpbrk(*pPart, "./\\:") || pPart->GetLength() > 11)
            std::abort();
    if (init.nRawSize < 0 || init.nPackedSize < 0)
        std::abort();
}

// Plays the server: every request file and every upload is answered.
void AnswerRequests(const fs::path& folder)
{
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (entry.path().extension() != ".in" && entry.path().extension() != ".upl")
            continue;
        fs::path reply = entry.path();
        reply.replace_extension(".out");
        std::ofstream(reply, std::ios::binary) << "reply";
        fs::remove(entry.path(), ec);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    static CChannelSetup s_setup;
    if (nSize == 0)
        return 0;
    const uint8_t nFlags = pData[0];
    std::string strStream;
    CPeerSocket peer = CPeerSocket::Connect(s_setup.nPort);
    if (!peer.IsValid())
        std::abort();
    PumpUntilIdle();
    for (size_t nAt = 1; nAt < nSize;) {
        const size_t nLength = std::min<size_t>(pData[nAt], nSize - nAt - 1);
        const std::string_view chunk(reinterpret_cast<const char*>(pData) + nAt + 1, nLength);
        nAt += 1 + nLength;
        strStream += chunk;
        if (!chunk.empty() && !peer.Send(chunk))
            break; // the program ended the exchange
        PumpUntilIdle();
        static_cast<void>(peer.ReceiveSome(64 * 1024, 0ms));
    }
    CheckFirstLine(strStream);
    if (nFlags & 1) {
        AnswerRequests(s_setup.commFolder);
        s_setup.pListener->CheckReplies();
        PumpUntilIdle();
    }
    if (nFlags & 2) {
        peer.ShutDownSend();
        PumpUntilIdle();
    }
    peer.Reset();
    // The exchange ends soon after the reset (an unpacking may take some
    // turns). One that waits for its reply after an orderly half-close hears
    // of the reset only when it sends: the server answers it, as it answers
    // every request in the end.
    for (int nTurn = 0; nTurn < 1000 && s_setup.pListener->GetConnectionCount() > 0; ++nTurn) {
        PumpUntilIdle();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        AnswerRequests(s_setup.commFolder);
        s_setup.pListener->CheckReplies();
    }
    if (s_setup.pListener->GetConnectionCount() > 0)
        std::abort();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(s_setup.commFolder, ec)) {
        const std::string strExtension = entry.path().extension().string();
        if (strExtension == ".$in" || strExtension == ".$$1" || strExtension == ".$$2")
            std::abort();
    }
    for (const auto& entry : fs::directory_iterator(s_setup.commFolder, ec))
        fs::remove_all(entry.path(), ec);
    return 0;
}
