#include "webaccess/server/CWAListenSocket.h"

#include "platform/framework/CWnd.h"
#include "webaccess/server/CWAClientSocket.h"

#include <algorithm>

namespace {

constexpr UINT_PTR TICK_TIMER = 1;
constexpr UINT WM_CHANNEL_TURN = WM_APP + 0x10; // wParam: the connection
constexpr UINT WM_CHANNEL_REAP = WM_APP + 0x11;

} // namespace

// The listener's hidden window: its tick and its posted turns.
class CWAChannelWnd : public CWnd {
public:
    explicit CWAChannelWnd(CWAListenSocket& listener)
        : m_listener(listener)
    {
    }

protected:
    void OnTimer(UINT_PTR nIDEvent) { m_listener.OnWindowMessage(WM_TIMER, nIDEvent); }
    LRESULT OnTurn(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    CWAListenSocket& m_listener;
};

BEGIN_MESSAGE_MAP(CWAChannelWnd, CWnd)
    ON_WM_TIMER()
    ON_MESSAGE(WM_CHANNEL_TURN, &CWAChannelWnd::OnTurn)
    ON_MESSAGE(WM_CHANNEL_REAP, &CWAChannelWnd::OnTurn)
END_MESSAGE_MAP()

LRESULT CWAChannelWnd::OnTurn(WPARAM wParam, LPARAM /*lParam*/)
{
    m_listener.OnWindowMessage(GetCurrentMessage()->message, wParam);
    return 0;
}

namespace {

CString NameKey(const CString& strPath)
{
    CString strKey(strPath);
    strKey.MakeLower();
    return strKey;
}

} // namespace

CWAListenSocket::CWAListenSocket(LPCTSTR pszCommFolder)
{
    SetCommFolder(pszCommFolder);
    m_pWnd = std::make_unique<CWAChannelWnd>(*this);
    if (m_pWnd->CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr))
        m_pWnd->SetTimer(TICK_TIMER, TICK, nullptr);
    else
        m_pWnd.reset();
}

CWAListenSocket::~CWAListenSocket()
{
    if (m_pWnd) {
        m_pWnd->DestroyWindow(); // messages still queued find no window
        m_pWnd.reset();
    }
    for (auto& pConnection : m_connections)
        pConnection->ShutDown();
    m_connections.clear();
    Close();
}

void CWAListenSocket::SetCommFolder(LPCTSTR pszCommFolder)
{
    m_strCommFolder = pszCommFolder;
    if (m_strCommFolder.IsEmpty() || m_strCommFolder[m_strCommFolder.GetLength() - 1] != '\\')
        m_strCommFolder += "\\";
}

bool CWAListenSocket::IsCommFolder(LPCTSTR pszFolder) const
{
    CString strFolder(pszFolder);
    if (strFolder.IsEmpty() || strFolder[strFolder.GetLength() - 1] != '\\')
        strFolder += "\\";
    return strFolder.CompareNoCase(m_strCommFolder) == 0;
}

void CWAListenSocket::CheckReplies()
{
    for (auto& pConnection : m_connections)
        pConnection->CheckReply();
    Reap();
}

bool CWAListenSocket::ClaimName(const CString& strPath, const CWAClientSocket* pOwner)
{
    return m_claimedNames.try_emplace(NameKey(strPath), pOwner).second;
}

void CWAListenSocket::ReleaseName(const CString& strPath)
{
    m_claimedNames.erase(NameKey(strPath));
}

void CWAListenSocket::PostTurn(CWAClientSocket* pConnection)
{
    if (m_pWnd)
        m_pWnd->PostMessage(WM_CHANNEL_TURN, reinterpret_cast<WPARAM>(pConnection), 0);
}

void CWAListenSocket::PostReap()
{
    if (m_pWnd && !m_bReapPosted)
        m_bReapPosted = m_pWnd->PostMessage(WM_CHANNEL_REAP, 0, 0) != FALSE;
}

void CWAListenSocket::OnAccept(int nErrorCode)
{
    if (nErrorCode != 0)
        return;
    auto pConnection = std::make_unique<CWAClientSocket>(this);
    if (!Accept(*pConnection))
        return;
    CWAClientSocket* pNew = pConnection.get();
    size_t nOpen = std::count_if(m_connections.begin(), m_connections.end(),
        [](const std::unique_ptr<CWAClientSocket>& p) { return !p->IsFinished(); });
    m_connections.push_back(std::move(pConnection));
    if (nOpen >= MAX_CONNECTIONS)
        pNew->Refuse();
    else
        pNew->Begin();
}

void CWAListenSocket::OnWindowMessage(UINT uMsg, WPARAM wParam)
{
    if (uMsg == WM_TIMER) {
        for (auto& pConnection : m_connections) {
            pConnection->OnTick();
            pConnection->CheckReply();
        }
    } else if (uMsg == WM_CHANNEL_TURN) {
        for (auto& pConnection : m_connections)
            if (reinterpret_cast<WPARAM>(pConnection.get()) == wParam)
                pConnection->ContinueTurn();
    } else if (uMsg == WM_CHANNEL_REAP) {
        m_bReapPosted = false;
    }
    Reap();
}

void CWAListenSocket::Reap()
{
    std::erase_if(m_connections, [](const std::unique_ptr<CWAClientSocket>& p) { return p->IsFinished(); });
}
