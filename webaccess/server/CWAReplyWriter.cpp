#include "webaccess/server/CWAReplyWriter.h"

#include "platform/base/CFile.h"
#include "platform/base/FileFunctions.h"
#include "platform/window/MessageQueue.h"
#include "store/FileHelpers.h"
#include "webaccess/pages/CWAOutputFile.h"

#include <algorithm>
#include <utility>

/*** Bodies ***/

CWAReplyBody::CWAReplyBody(std::unique_ptr<CFile> pFile, ULONGLONG nCount)
    : m_pFile(std::move(pFile))
    , m_nCount(nCount)
{
}

CWAReplyBody::~CWAReplyBody()
{
    if (m_pFile)
        m_pFile->Abort();
}

BOOL CWAReplyBody::CopyTo(CWAOutputFile& reply, const std::atomic<bool>& bCancel)
{
    std::vector<BYTE> buffer(COPY_BLOCK);
    while (m_nCount > 0 && !bCancel.load(std::memory_order_relaxed)) {
        const UINT nRead = m_pFile->Read(buffer.data(), static_cast<UINT>(std::min<ULONGLONG>(m_nCount, COPY_BLOCK)));
        if (nRead == 0)
            break; // the file became shorter: the reply ends where it does
        if (!reply.Write(buffer.data(), nRead))
            return FALSE;
        m_nCount -= nRead;
    }
    return TRUE;
}

/*** The writer ***/

CWAReplyWriter::CWAReplyWriter(HWND hNotify, UINT nMessage)
    : m_hNotify(hNotify)
    , m_nMessage(nMessage)
    , m_thread([this] { Run(); })
{
}

CWAReplyWriter::~CWAReplyWriter()
{
    Drop();
    {
        std::lock_guard lock(m_mutex);
        m_bStop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void CWAReplyWriter::Add(CWAReplyJob job)
{
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_all();
}

bool CWAReplyWriter::IsWriting(const CString& strOut) const
{
    std::lock_guard lock(m_mutex);
    return m_strCurrent.CompareNoCase(strOut) == 0
        || std::any_of(m_jobs.begin(), m_jobs.end(),
            [&strOut](const CWAReplyJob& job) { return job.strOut.CompareNoCase(strOut) == 0; });
}

std::vector<CWAReplyDone> CWAReplyWriter::Collect()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_done, {});
}

void CWAReplyWriter::Drop()
{
    std::deque<CWAReplyJob> dropped;
    {
        std::unique_lock lock(m_mutex);
        dropped.swap(m_jobs);
        m_bCancel = true;
        m_idle.wait(lock, [this] { return m_strCurrent.IsEmpty(); });
        m_bCancel = false;
    }
    for (CWAReplyJob& job : dropped) {
        job.pReply->Close();
        DeleteFile(job.strWriting);
    }
}

void CWAReplyWriter::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_bStop || !m_jobs.empty(); });
        if (m_jobs.empty())
            return; // stopped
        CWAReplyJob job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_strCurrent = job.strOut;
        lock.unlock();

        CWAReplyDone done { job.strOut, CString(), false };
        const BOOL bCopied = job.pBody->CopyTo(*job.pReply, m_bCancel);
        const bool bCancelled = m_bCancel.load();
        if (!bCopied) {
            job.pReply->WriteText(job.strErrorLine);
            done.strErrorLog = job.strErrorLog;
        }
        job.pReply->WriteText("\r\n<#END#>");
        job.pReply->Close();
        job.pBody.reset();
        if (bCancelled) {
            DeleteFile(job.strWriting); // the service stopped: no one waits for it
        } else {
            DeleteFile(job.strOut); // a stale reply of this ID would block the rename
            done.bRenameFailed = RenameFileSafe(job.strWriting, job.strOut) == FALSE;
        }

        lock.lock();
        m_strCurrent.Empty();
        if (!bCancelled)
            m_done.push_back(std::move(done));
        m_idle.notify_all();
        if (!bCancelled && m_hNotify != nullptr)
            PostMessage(m_hNotify, m_nMessage, 0, 0);
    }
}
