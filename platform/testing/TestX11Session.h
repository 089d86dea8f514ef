#pragma once

// The program's windows on an X server of the test's own: the server
// (CTestXServer, with openbox when asked) started, the X11 display opened on
// it and installed for the program's windows. The object's end uninstalls
// the display, closes it and stops the server, so a fixture that holds one
// has the display from before its SetUp to after its TearDown.

#include "platform/display/X11Display.h"
#include "platform/testing/TestXServer.h"

#include <memory>
#include <string>

class CTestX11Session {
public:
    explicit CTestX11Session(CTestXServer::EWindowManager eWindowManager = CTestXServer::EWindowManager::Absent);
    ~CTestX11Session();
    CTestX11Session(const CTestX11Session&) = delete;
    CTestX11Session& operator=(const CTestX11Session&) = delete;

    // Whether the display is installed; when not, Failure() says why.
    bool IsOpen() const { return m_pDisplay != nullptr; }
    const std::string& Failure() const { return m_strFailure; }
    // The server's display name, as ":12".
    const std::string& Name() const { return m_server.Name(); }
    // The installed display; only while IsOpen().
    CX11Display& Display() const { return *m_pDisplay; }

private:
    CTestXServer m_server;
    std::string m_strFailure;
    std::unique_ptr<CX11Display> m_pDisplay;
};
