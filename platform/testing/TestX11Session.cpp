#include "platform/testing/TestX11Session.h"

#include "platform/window/DisplayLink.h"

CTestX11Session::CTestX11Session(CTestXServer::EWindowManager eWindowManager)
    : m_server(eWindowManager)
{
    if (!m_server.IsRunning()) {
        m_strFailure = m_server.Failure();
        return;
    }
    m_pDisplay = CX11Display::Open(m_server.Name().c_str(), &m_strFailure);
    if (m_pDisplay)
        SetDisplay(m_pDisplay.get());
}

CTestX11Session::~CTestX11Session()
{
    if (m_pDisplay)
        SetDisplay(nullptr);
}
