#pragma once

// I/O completion ports: queues of finished operations that worker threads
// wait on. A file handle tied to a port (CreateIoCompletionPort) reports each
// overlapped operation that finishes on it to the port, with the key given
// when it was tied; PostQueuedCompletionStatus queues a packet of one's own
// (a stop signal). The operations that complete through ports here are the
// overlapped reads of ReadDirectoryChangesW (ChangeNotify.h).

#include "platform/base/KernelObject.h"
#include "platform/base/WinTypes.h"

#include <memory>

// An overlapped operation's state: Internal holds its status (a Win32 error;
// ERROR_IO_PENDING while it runs), InternalHigh the bytes transferred.
struct OVERLAPPED {
    ULONG_PTR Internal;
    ULONG_PTR InternalHigh;
    union {
        struct {
            DWORD Offset;
            DWORD OffsetHigh;
        } s;
        PVOID Pointer;
    };
    HANDLE hEvent;
};
using LPOVERLAPPED = OVERLAPPED*;
using LPOVERLAPPED_COMPLETION_ROUTINE = void (*)(DWORD dwErrorCode, DWORD dwBytes, LPOVERLAPPED lpOverlapped);
using PULONG_PTR = ULONG_PTR*;

// Makes a port (FileHandle INVALID_HANDLE_VALUE, ExistingCompletionPort NULL),
// or ties a file handle to a port with a key and returns the port. A handle
// is tied to one port for its life (ERROR_INVALID_PARAMETER for a second).
HANDLE CreateIoCompletionPort(
    HANDLE FileHandle, HANDLE ExistingCompletionPort, ULONG_PTR CompletionKey, DWORD NumberOfConcurrentThreads);

// Takes the oldest packet: TRUE for a completed operation or a posted packet;
// FALSE with *lpOverlapped set and the operation's error as the last error for
// a failed one; FALSE with *lpOverlapped NULL and WAIT_TIMEOUT on a time-out.
BOOL GetQueuedCompletionStatus(HANDLE CompletionPort, LPDWORD lpNumberOfBytesTransferred, PULONG_PTR lpCompletionKey,
    LPOVERLAPPED* lpOverlapped, DWORD dwMilliseconds);

// Queues a packet of one's own, taken back as a success.
BOOL PostQueuedCompletionStatus(
    HANDLE CompletionPort, DWORD dwNumberOfBytesTransferred, ULONG_PTR dwCompletionKey, LPOVERLAPPED lpOverlapped);

/* For the operations that complete through a port. */

class CCompletionPort;

// Where an overlapped operation on a file handle reports: the port it is tied
// to and its key; a null port when it is tied to none.
struct CCompletionTarget {
    std::shared_ptr<CCompletionPort> pPort;
    ULONG_PTR nKey { 0 };
};
CCompletionTarget CompletionTargetOf(HANDLE hFile);

// Finishes an overlapped operation: fills its status and byte count and
// queues it on the port.
void CompleteOverlapped(const CCompletionTarget& target, LPOVERLAPPED pOverlapped, DWORD dwError, DWORD nBytes);
