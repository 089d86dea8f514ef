#pragma once

// Writes the long part of replies away from the user-interface thread. A
// command that sends a file's bytes (DOWN2) may leave them as a body; the
// writer then copies the body into the reply, ends the reply with
// "\r\n<#END#>" (after the job's error line when the copy could not be
// written), and gives it its ".out" name, one reply after the other on the
// writer's own thread. Each finished reply posts the message given at the
// start to the window given; Collect hands the outcomes over on the
// user-interface thread, which logs them. A reply the writer still holds is
// not answered twice: the server leaves that ID's next request waiting.

#include "platform/base/CString.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class CFile;
class CWAOutputFile;

// The bytes of an open file from its position on.
class CWAReplyBody {
public:
    CWAReplyBody(std::unique_ptr<CFile> pFile, ULONGLONG nCount);
    ~CWAReplyBody();

    // Copies the bytes into reply, stopping early when the file ends sooner
    // or bCancel is set. FALSE when a write to the reply failed.
    BOOL CopyTo(CWAOutputFile& reply, const std::atomic<bool>& bCancel);

    static constexpr UINT COPY_BLOCK = 64 * 1024; // bytes read at a time

private:
    std::unique_ptr<CFile> m_pFile;
    ULONGLONG m_nCount;
};

// One reply handed over, written up to its body.
struct CWAReplyJob {
    std::unique_ptr<CWAOutputFile> pReply;
    std::unique_ptr<CWAReplyBody> pBody;
    CString strWriting;   // the reply's "<ID>.~ou" path
    CString strOut;       // its "<ID>.out" path
    CString strErrorLine; // written in place of the rest when the body cannot be written
    CString strErrorLog;  // logged then
};

// What became of a job.
struct CWAReplyDone {
    CString strOut;
    CString strErrorLog;          // the job's, when its body could not be written; else empty
    bool bRenameFailed { false }; // the reply stayed under its "<ID>.~ou" name
};

class CWAReplyWriter {
public:
    // hNotify gets nMessage after each finished reply.
    CWAReplyWriter(HWND hNotify, UINT nMessage);
    // Drops what is left and waits for the thread.
    ~CWAReplyWriter();
    CWAReplyWriter(const CWAReplyWriter&) = delete;
    CWAReplyWriter& operator=(const CWAReplyWriter&) = delete;

    void Add(CWAReplyJob job);
    // Whether a reply under this ".out" path is queued or being written.
    bool IsWriting(const CString& strOut) const;
    // The outcomes since the last call.
    std::vector<CWAReplyDone> Collect();
    // Ends every reply not yet finished, deleting it, and waits until the
    // thread holds none.
    void Drop();

private:
    void Run();

    HWND m_hNotify;
    UINT m_nMessage;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;   // a job or the stop for the thread
    std::condition_variable m_idle;   // the current job ended
    std::deque<CWAReplyJob> m_jobs;   // waiting, in order
    CString m_strCurrent;             // the ".out" path being written; empty when none
    std::vector<CWAReplyDone> m_done; // finished, not yet collected
    std::atomic<bool> m_bCancel { false };
    bool m_bStop { false };
    std::thread m_thread; // last: starts once the members above exist
};
