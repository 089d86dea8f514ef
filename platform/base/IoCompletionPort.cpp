#include "platform/base/IoCompletionPort.h"

#include "platform/base/FileHandle.h"
#include "platform/base/Wait.h"
#include "platform/base/WinError.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

// A port: its packets, oldest first.
class CCompletionPort : public CKernelObject {
public:
    struct CPacket {
        DWORD nBytes;
        ULONG_PTR nKey;
        LPOVERLAPPED pOverlapped;
        DWORD dwError; // ERROR_SUCCESS for a success
    };

    void Post(const CPacket& packet)
    {
        {
            std::lock_guard lock(m_mutex);
            m_packets.push_back(packet);
        }
        m_ready.notify_one();
    }

    // The oldest packet, waiting at most dwMilliseconds (real time); false on a time-out.
    bool Take(DWORD dwMilliseconds, CPacket& packet)
    {
        std::unique_lock lock(m_mutex);
        auto ready = [&] { return !m_packets.empty(); };
        if (dwMilliseconds == INFINITE)
            m_ready.wait(lock, ready);
        else if (!m_ready.wait_for(lock, std::chrono::milliseconds(dwMilliseconds), ready))
            return false;
        packet = m_packets.front();
        m_packets.pop_front();
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<CPacket> m_packets;
};

namespace {

// A file handle's tie to its port.
class CPortTie : public CFileAttachment {
public:
    std::mutex mutex;
    CCompletionTarget target;
};

} // namespace

HANDLE CreateIoCompletionPort(HANDLE FileHandle, HANDLE ExistingCompletionPort, ULONG_PTR CompletionKey, DWORD)
{
    std::shared_ptr<CCompletionPort> pPort;
    HANDLE hPort = ExistingCompletionPort;
    if (ExistingCompletionPort) {
        pPort = LookupKernelHandleAs<CCompletionPort>(ExistingCompletionPort);
        if (!pPort)
            return nullptr;
    } else {
        pPort = std::make_shared<CCompletionPort>();
    }
    if (FileHandle != INVALID_HANDLE_VALUE) {
        auto pTie = std::static_pointer_cast<CPortTie>(GetFileAttachment(
            FileHandle, EFileAttachment::CompletionPort, [] { return std::make_shared<CPortTie>(); }));
        if (!pTie)
            return nullptr;
        std::lock_guard lock(pTie->mutex);
        if (pTie->target.pPort) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        pTie->target = CCompletionTarget { pPort, CompletionKey };
    }
    return hPort ? hPort : CreateKernelHandle(std::move(pPort));
}

BOOL GetQueuedCompletionStatus(HANDLE CompletionPort, LPDWORD lpNumberOfBytesTransferred, PULONG_PTR lpCompletionKey,
    LPOVERLAPPED* lpOverlapped, DWORD dwMilliseconds)
{
    auto pPort = LookupKernelHandleAs<CCompletionPort>(CompletionPort);
    if (!pPort || !lpNumberOfBytesTransferred || !lpCompletionKey || !lpOverlapped) {
        if (pPort)
            SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CCompletionPort::CPacket packet {};
    if (!pPort->Take(dwMilliseconds, packet)) {
        *lpOverlapped = nullptr;
        SetLastError(WAIT_TIMEOUT);
        return FALSE;
    }
    *lpNumberOfBytesTransferred = packet.nBytes;
    *lpCompletionKey = packet.nKey;
    *lpOverlapped = packet.pOverlapped;
    if (packet.dwError != ERROR_SUCCESS) {
        SetLastError(packet.dwError);
        return FALSE;
    }
    return TRUE;
}

BOOL PostQueuedCompletionStatus(
    HANDLE CompletionPort, DWORD dwNumberOfBytesTransferred, ULONG_PTR dwCompletionKey, LPOVERLAPPED lpOverlapped)
{
    auto pPort = LookupKernelHandleAs<CCompletionPort>(CompletionPort);
    if (!pPort)
        return FALSE;
    pPort->Post({ dwNumberOfBytesTransferred, dwCompletionKey, lpOverlapped, ERROR_SUCCESS });
    return TRUE;
}

CCompletionTarget CompletionTargetOf(HANDLE hFile)
{
    auto pTie = std::static_pointer_cast<CPortTie>(GetFileAttachment(hFile, EFileAttachment::CompletionPort, {}));
    if (!pTie)
        return {};
    std::lock_guard lock(pTie->mutex);
    return pTie->target;
}

void CompleteOverlapped(const CCompletionTarget& target, LPOVERLAPPED pOverlapped, DWORD dwError, DWORD nBytes)
{
    pOverlapped->Internal = dwError;
    pOverlapped->InternalHigh = nBytes;
    if (target.pPort)
        target.pPort->Post({ nBytes, target.nKey, pOverlapped, dwError });
}
